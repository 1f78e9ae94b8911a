// The helpers are defined in the header; this file gives them a place in the build.
#include "support/test_support.h"
