// Docking and the layout of control bars: the frame's register of its bars,
// showing and hiding them, docking a bar at an edge of the frame or floating
// it in a small window of its own, the drag that moves a bar, and the layout
// of the bars and the view in the frame's client area.
#include "afximpl.h"

#include <cstdlib>

namespace {

// The sides a bar docks at, in the order in which the layout gives them
// room and in which a style that names several sides is read.
struct DockSide
{
    UINT nDockBarID;
    DWORD dwAlign;
    DWORD dwBorder; // the bar's border on the side of the view
};
const DockSide kDockSides[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP, CBRS_BORDER_BOTTOM},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM, CBRS_BORDER_TOP},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT, CBRS_BORDER_RIGHT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT, CBRS_BORDER_LEFT},
};

// The side that nDockBarID names; for any other id, the first side that the
// CBRS_ALIGN_xxx bits of dwStyle name, the top where they name none.
const DockSide& SideToDock(UINT nDockBarID, DWORD dwStyle)
{
    for (const DockSide& side : kDockSides) {
        if (side.nDockBarID == nDockBarID)
            return side;
    }
    for (const DockSide& side : kDockSides) {
        if (dwStyle & side.dwAlign)
            return side;
    }
    return kDockSides[0];
}

// The small window that holds a floating bar. Its caption drags the bar
// back to an edge of the frame; a double click on the caption docks it at
// the top; its close box hides the bar.
class CFloatBarWnd : public CWnd
{
public:
    explicit CFloatBarWnd(CControlBar* pBar) : m_pBar(pBar) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    CControlBar* m_pBar; // NULL once the bar has gone
};

LRESULT CFloatBarWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CFrameWnd* pFrame = m_pBar ? m_pBar->m_pDockSite : nullptr;
    switch (message) {
    case WM_CLOSE:
        if (pFrame != nullptr)
            pFrame->ShowControlBar(m_pBar, FALSE);
        return 0;
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION && pFrame != nullptr) {
            ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            AfxTrackBarDrag(m_pBar, POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
            return 0;
        }
        break;
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION && pFrame != nullptr) {
            pFrame->DockControlBar(m_pBar, AFX_IDW_DOCKBAR_TOP);
            return 0;
        }
        break;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_COMMAND:
    case WM_NOTIFY:
        if (pFrame != nullptr)
            return pFrame->SendMessage(message, wParam, lParam);
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CFloatBarWnd::PostNcDestroy()
{
    if (m_pBar != nullptr && m_pBar->m_pFloatWnd == this)
        m_pBar->m_pFloatWnd = nullptr;
    delete this;
}

} // namespace

UINT AfxDockSideForPoint(const RECT& rcClient, POINT pt, DWORD dwAllowed)
{
    if (!::PtInRect(&rcClient, pt))
        return 0;
    // Distances to the edges, in the order of kDockSides.
    const int distances[] = {pt.y - rcClient.top, rcClient.bottom - 1 - pt.y, pt.x - rcClient.left,
                             rcClient.right - 1 - pt.x};
    UINT nBest = 0;
    int nBestDistance = kDockBand;
    for (int i = 0; i < 4; ++i) {
        if ((dwAllowed & kDockSides[i].dwAlign) && distances[i] < nBestDistance) {
            nBest = kDockSides[i].nDockBarID;
            nBestDistance = distances[i];
        }
    }
    return nBest;
}

void AfxDestroyFloatWnd(CControlBar* pBar)
{
    CFloatBarWnd* pFloat = static_cast<CFloatBarWnd*>(pBar->m_pFloatWnd);
    if (pFloat == nullptr)
        return;
    pBar->m_pFloatWnd = nullptr;
    pFloat->m_pBar = nullptr;
    pFloat->DestroyWindow();
}

void AfxTrackBarDrag(CControlBar* pBar, POINT ptStart)
{
    CFrameWnd* pFrame = pBar->m_pDockSite;
    if (pFrame == nullptr)
        return;
    HWND hWndTrack = pBar->m_pFloatWnd ? pBar->m_pFloatWnd->m_hWnd : pBar->m_hWnd;
    RECT rcStart;
    ::GetWindowRect(hWndTrack, &rcStart);
    POINT offset = {ptStart.x - rcStart.left, ptStart.y - rcStart.top};
    SIZE size = {rcStart.right - rcStart.left, rcStart.bottom - rcStart.top};

    ::SetCapture(hWndTrack);
    POINT pt = ptStart;
    BOOL bDone = FALSE;
    BOOL bCancel = FALSE;
    {
        CWindowDC dcScreen(nullptr); // the outline crosses windows
        RECT rcTrack = rcStart;
        ::DrawFocusRect(dcScreen, &rcTrack);
        MSG msg;
        while (!bDone && ::GetCapture() == hWndTrack) {
            if (!::GetMessageA(&msg, nullptr, 0, 0)) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                bCancel = TRUE;
                break;
            }
            // The pointer's position as the mouse message gives it.
            if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
                pt = POINT{(short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam)};
                ::ClientToScreen(msg.hwnd, &pt);
            }
            switch (msg.message) {
            case WM_MOUSEMOVE:
                ::DrawFocusRect(dcScreen, &rcTrack);
                rcTrack = {pt.x - offset.x, pt.y - offset.y, pt.x - offset.x + size.cx,
                           pt.y - offset.y + size.cy};
                ::DrawFocusRect(dcScreen, &rcTrack);
                break;
            case WM_LBUTTONUP:
                bDone = TRUE;
                break;
            case WM_KEYDOWN:
                if (msg.wParam == VK_ESCAPE)
                    bCancel = bDone = TRUE;
                break;
            case WM_RBUTTONDOWN:
                bCancel = bDone = TRUE;
                break;
            default:
                ::DispatchMessageA(&msg);
                break;
            }
        }
        ::DrawFocusRect(dcScreen, &rcTrack);
    }
    if (::GetCapture() == hWndTrack)
        ::ReleaseCapture();
    if (bCancel || (std::abs(pt.x - ptStart.x) < 4 && std::abs(pt.y - ptStart.y) < 4))
        return; // cancelled, or a click rather than a drag

    RECT rcClient;
    pFrame->GetClientRect(&rcClient);
    ::MapWindowPoints(pFrame->m_hWnd, nullptr, reinterpret_cast<POINT*>(&rcClient), 2);
    UINT nSide = AfxDockSideForPoint(rcClient, pt, pFrame->GetDockingSides() & pBar->m_dwDockStyle);
    if (nSide != 0)
        pFrame->DockControlBar(pBar, nSide);
    else
        pFrame->FloatControlBar(pBar, POINT{pt.x - offset.x, pt.y - offset.y});
}

// ---------------------------------------------------------------------------
// The frame's bars

void CFrameWnd::AddControlBar(CControlBar* pBar)
{
    m_listControlBars.Add(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    for (int i = 0; i < m_listControlBars.GetSize(); ++i) {
        if (m_listControlBars[i] == pBar) {
            m_listControlBars.RemoveAt(i);
            return;
        }
    }
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) const
{
    for (CControlBar* pBar : m_listControlBars) {
        if (pBar->m_hWnd != nullptr && static_cast<UINT>(pBar->GetDlgCtrlID()) == nID)
            return pBar;
    }
    return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL)
{
    if (pBar->m_pFloatWnd != nullptr) {
        pBar->ShowWindow(SW_SHOWNOACTIVATE);
        pBar->m_pFloatWnd->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    } else {
        pBar->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
    RecalcLayout();
}

BOOL CFrameWnd::OnBarCheck(UINT nID)
{
    CControlBar* pBar = GetControlBar(nID);
    if (pBar == nullptr)
        return FALSE;
    ShowControlBar(pBar, !pBar->IsBarVisible());
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    CControlBar* pBar = GetControlBar(pCmdUI->m_nID);
    if (pBar == nullptr) {
        pCmdUI->Enable(FALSE);
        return;
    }
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(pBar->IsBarVisible());
}

// ---------------------------------------------------------------------------
// Docking and floating

void CFrameWnd::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT)
{
    const DockSide& side = SideToDock(nDockBarID, pBar->m_dwStyle);
    if (pBar->m_pFloatWnd != nullptr) {
        BOOL bVisible = pBar->IsBarVisible();
        ::SetParent(pBar->m_hWnd, m_hWnd);
        AfxDestroyFloatWnd(pBar);
        pBar->ShowWindow(bVisible ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
    pBar->SetBarStyle((pBar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_BORDER_ANY | CBRS_FLOATING)) |
                      side.dwAlign | side.dwBorder);
    RecalcLayout();
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, POINT point)
{
    BOOL bVisible = pBar->IsBarVisible();
    if (pBar->m_pFloatWnd == nullptr) {
        CFloatBarWnd* pFloat = new CFloatBarWnd(pBar);
        CString strCaption;
        pBar->GetWindowText(strCaption);
        // A failed creation has deleted the window object.
        if (!pFloat->CreateEx(WS_EX_TOOLWINDOW, nullptr, strCaption,
                              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, point.x,
                              point.y, 10, 10, m_hWnd, nullptr))
            return;
        pBar->m_pFloatWnd = pFloat;
        ::SetParent(pBar->m_hWnd, pFloat->m_hWnd);
    }
    pBar->SetBarStyle((pBar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_BORDER_ANY)) | CBRS_FLOATING);
    SIZE size = pBar->CalcFixedLayout(FALSE, TRUE);
    RECT rc = {0, 0, size.cx, size.cy};
    ::AdjustWindowRectEx(&rc, pBar->m_pFloatWnd->GetStyle(), FALSE,
                         pBar->m_pFloatWnd->GetExStyle());
    ::SetWindowPos(pBar->m_pFloatWnd->m_hWnd, HWND_TOP, point.x, point.y, rc.right - rc.left,
                   rc.bottom - rc.top, SWP_NOACTIVATE);
    ::SetWindowPos(pBar->m_hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    pBar->ShowWindow(SW_SHOWNOACTIVATE);
    if (bVisible)
        pBar->m_pFloatWnd->ShowWindow(SW_SHOWNOACTIVATE);
    RecalcLayout();
}

// ---------------------------------------------------------------------------
// Layout

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_hWnd == nullptr)
        return;
    RECT rc;
    GetClientRect(&rc);

    // Bars that do not dock (the status bar) take the outermost place at
    // their edge; then the docked bars, top and bottom across the whole
    // width, left and right in the height that remains.
    auto place = [&rc](CControlBar* pBar, DWORD dwAlign, BOOL bStretch) {
        BOOL bHorz = (dwAlign & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
        SIZE size = pBar->CalcFixedLayout(bStretch, bHorz);
        RECT r = rc;
        switch (dwAlign) {
        case CBRS_ALIGN_TOP:
            r.bottom = r.top + size.cy;
            rc.top = r.bottom;
            break;
        case CBRS_ALIGN_BOTTOM:
            r.top = r.bottom - size.cy;
            rc.bottom = r.top;
            break;
        case CBRS_ALIGN_LEFT:
            r.right = r.left + size.cx;
            rc.left = r.right;
            break;
        default:
            r.left = r.right - size.cx;
            rc.right = r.left;
            break;
        }
        ::SetWindowPos(pBar->m_hWnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    };
    for (CControlBar* pBar : m_listControlBars) {
        if (pBar->m_hWnd != nullptr && pBar->m_dwDockStyle == 0 && pBar->m_pFloatWnd == nullptr &&
            pBar->IsWindowVisible())
            place(pBar, pBar->m_dwStyle & CBRS_ALIGN_ANY, TRUE);
    }
    for (const DockSide& side : kDockSides) {
        for (CControlBar* pBar : m_listControlBars) {
            if (pBar->m_hWnd != nullptr && pBar->m_dwDockStyle != 0 &&
                pBar->m_pFloatWnd == nullptr &&
                (pBar->m_dwStyle & CBRS_ALIGN_ANY) == side.dwAlign && pBar->IsWindowVisible())
                place(pBar, side.dwAlign, TRUE);
        }
    }
    HWND hView = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
    if (hView != nullptr) {
        if (rc.right < rc.left)
            rc.right = rc.left;
        if (rc.bottom < rc.top)
            rc.bottom = rc.top;
        ::SetWindowPos(hView, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
