// A window that includes the frame module back: a circle.
#include "frame/start.h"
