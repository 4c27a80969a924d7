// Rules for the main window's rectangle, kept apart from the window so
// that they can be checked on their own. W and H are the width and height
// of the screen's work area.
#pragma once

#include <windows.h>

// A stored rectangle is usable when its size is positive and its position
// and size lie within the work area, bounds included (x + cx is not checked).
bool IsStoredRectValid(int x, int y, int cx, int cy, int W, int H);

// The rectangle used when the stored one is not: 95 % of the work area's
// width and height, centred, measured from the screen's origin.
void DefaultWindowRect(int W, int H, int& x, int& y, int& cx, int& cy);

// Keeps a saved rectangle within the work area: negative positions become
// 0, sizes larger than the work area become its size.
void ClampWindowRect(int& x, int& y, int& cx, int& cy, int W, int H);

// Width and height of the screen's work area.
SIZE GetWorkAreaSize();
