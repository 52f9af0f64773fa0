// What the main window's sub-windows tell screen readers and any tool that
// reads the screen's structure. Qt calls a sub-window off screen as soon as
// any part of it lies outside the window area, though the area draws it and
// scrolls to the rest: a window larger than the area (the display window at
// the main window's first size) or one placed partly past its edge would be
// reported as not showing. Here a sub-window is off screen only when no part
// of it lies in the area's view; hidden ones stay invisible.
#pragma once

// Installs the interface for every sub-window made from here on (once per
// process; later calls do nothing).
void installSubWindowAccessibility();
