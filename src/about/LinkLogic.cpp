#include "LinkLogic.h"

#include "resource.h"

const char kContactMarker[] = QUELLON_CONTACT_MARKER;

bool IsTextStatic(DWORD dwStyle)
{
    return (dwStyle & 0xFF) <= 2;
}

COLORREF LinkTextColor(int nVisited, COLORREF crUnvisited, COLORREF crVisited)
{
    return nVisited == 1 ? crVisited : crUnvisited;
}

CString ShellTarget(const CString& strTarget)
{
    static const char kMailto[] = "mailto:";
    if (strTarget.Find(kContactMarker) < 0 || strTarget.Left(sizeof kMailto - 1) == kMailto)
        return strTarget;
    return kMailto + strTarget;
}

LinkPointerAction LinkPointerMove(BOOL& bCaptured, BOOL bLaunchPending, BOOL bInside)
{
    if (bLaunchPending)
        return LinkPointerNone;
    if (!bCaptured && bInside) {
        bCaptured = TRUE;
        return LinkPointerEnter;
    }
    if (bCaptured && !bInside) {
        bCaptured = FALSE;
        return LinkPointerLeave;
    }
    return LinkPointerNone;
}

bool IsInsideClient(const RECT& rcClient, POINT pt)
{
    return pt.x >= rcClient.left && pt.x < rcClient.right && pt.y >= rcClient.top &&
           pt.y < rcClient.bottom;
}

void LinkClicked(BOOL& bCaptured, BOOL& bLaunchPending)
{
    bCaptured = FALSE;
    bLaunchPending = TRUE;
}

bool LinkTimer(UINT_PTR nIDEvent, BOOL& bLaunchPending)
{
    if (nIDEvent != kLinkTimerId)
        return false;
    bLaunchPending = FALSE;
    return true;
}
