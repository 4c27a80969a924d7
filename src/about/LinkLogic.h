// The decisions of the hyperlink control, apart from the window system.
#pragma once

#include "afxwin.h"

// The user part of the maker's contact address and the at sign: a target
// that contains it is an e-mail address.
extern const char kContactMarker[];

const UINT_PTR kLinkTimerId = 102;
const UINT kLinkQuietPeriod = 1000; // milliseconds
const COLORREF kLinkUnvisited = RGB(0, 0, 255);
const COLORREF kLinkVisited = RGB(128, 0, 128);

// A static control of type 0, 1 or 2 (left, centred, right-aligned text).
bool IsTextStatic(DWORD dwStyle);
// The colour to draw the link text in.
COLORREF LinkTextColor(int nVisited, COLORREF crUnvisited, COLORREF crVisited);
// What the shell is given for a target: an e-mail address gets "mailto:"
// in front, exactly once; anything else is handed over unchanged.
CString ShellTarget(const CString& strTarget);

enum LinkPointerAction {
    LinkPointerNone,  // nothing changes
    LinkPointerEnter, // capture the mouse and show the hand
    LinkPointerLeave, // release the mouse and show the arrow
};
// A mouse move over the control; bCaptured is updated. During the quiet
// period after a click nothing happens.
LinkPointerAction LinkPointerMove(BOOL& bCaptured, BOOL bLaunchPending, BOOL bInside);
// Whether a point lies in a client rectangle: the left and top edges
// belong to it, the right and bottom edges do not.
bool IsInsideClient(const RECT& rcClient, POINT pt);
// A click: the capture is given up and the quiet period begins.
void LinkClicked(BOOL& bCaptured, BOOL& bLaunchPending);
// A timer tick; TRUE when it ended the quiet period (the timer is stopped).
bool LinkTimer(UINT_PTR nIDEvent, BOOL& bLaunchPending);
