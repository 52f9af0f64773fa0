// A recording set-up that takes its title from the map window's folder above it.
#include "recording/setup.h"
#include "map/title.h"
