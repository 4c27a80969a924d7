// What the framework's own files share and programs built on it do not
// see. Not for inclusion by the program.
#pragma once

#include "afxext.h"

// The drag of a bar by its gripper, or by its floating window's caption,
// from the screen point where the button went down: a modal loop that
// follows the pointer with an outline and, where the button is released,
// docks the bar at the edge whose band holds the point or floats it there.
// A click without a move, Esc and the right button leave the bar as it was.
void AfxTrackBarDrag(CControlBar* pBar, POINT ptStart);

// Destroys the small window that holds a floating bar, if the bar has one;
// the bar's own window goes with it unless it has been given another
// parent first.
void AfxDestroyFloatWnd(CControlBar* pBar);
