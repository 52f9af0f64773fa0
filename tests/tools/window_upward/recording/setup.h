// Including a data class further down the order is allowed.
#include "types/unit.h"
