// network: multicast channels of the four games.
#pragma once

// The game channel this copy plays on (0 to 3).
extern int currentChannel;
