// A static text control that acts as a hyperlink: drawn underlined in the
// link colour, a hand pointer while the pointer is over it, and a click
// opens the control's text through the shell. Once opened it is drawn in
// the visited colour, kept in a flag that outlives the control.
#pragma once

#include "afxwin.h"

class CStaticLink : public CStatic
{
    DECLARE_DYNAMIC(CStaticLink)
public:
    CStaticLink();
    ~CStaticLink() override;

    COLORREF m_crUnvisited;
    COLORREF m_crVisited;
    int* m_pVisited; // 0 not yet opened, 1 opened; set by the owner
    BOOL m_bCaptured;
    BOOL m_bLaunchPending;
    CString m_strTarget;
    CFont m_fontUnderline;

    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    void OnClicked();
    void OnMouseMove(UINT nFlags, POINT point);
    void OnTimer(UINT_PTR nIDEvent);

    DECLARE_MESSAGE_MAP()
};
