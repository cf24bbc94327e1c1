#pragma once
// The cursor of the whole program, over every one of its windows, while it is set: the
// hourglass during a long call, the hand over text that acts as a link. nullptr gives
// every window its own cursor back.
#include <windows.h>

HCURSOR ScreenCursor();
void SetScreenCursor(HCURSOR cursor);
