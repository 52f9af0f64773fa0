// The map's title helper, over the data classes.
#include "types/unit.h"
