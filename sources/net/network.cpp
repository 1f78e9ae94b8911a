// network: multicast channels of the four games.
#include "net/network.h"

int currentChannel = 0;
