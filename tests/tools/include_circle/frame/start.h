// A frame module that reaches a window: the include check must refuse it.
#include "map/window.h"
