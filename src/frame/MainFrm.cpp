// The main frame window.
#include "MainFrm.h"

#include "QuellonApp.h"
#include "QuellonView.h"
#include "WindowRules.h"
#include "afxcmn.h"
#include "afxhandle.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_TIMER()
END_MESSAGE_MAP()

static const UINT indicators[] = {
    ID_SEPARATOR,      // message pane
    ID_INDICATOR_KILL, // progress of Kill Favorites
};

namespace {

// The window's rectangle as section "Screen" keeps it, as "x", "y", "cx"
// and "cy"; a value that cannot be read is 0.
void ReadScreenRect(CSettingsStore& settings, int& x, int& y, int& cx, int& cy)
{
    x = settings.ReadInt("Screen", "x", 0);
    y = settings.ReadInt("Screen", "y", 0);
    cx = settings.ReadInt("Screen", "cx", 0);
    cy = settings.ReadInt("Screen", "cy", 0);
}

void WriteScreenRect(CSettingsStore& settings, int x, int y, int cx, int cy)
{
    settings.WriteInt("Screen", "x", x);
    settings.WriteInt("Screen", "y", y);
    settings.WriteInt("Screen", "cx", cx);
    settings.WriteInt("Screen", "cy", cy);
}

} // namespace

CMainFrame::CMainFrame() : m_bViewReady(0) {}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    // The title stays "Quellon", without the document's name.
    cs.style &= ~FWS_ADDTOTITLE;

    SIZE workArea = GetWorkAreaSize();
    CSettingsStore& settings = GetQuellonApp()->m_settings;
    ReadScreenRect(settings, cs.x, cs.y, cs.cx, cs.cy);
    if (!IsStoredRectValid(cs.x, cs.y, cs.cx, cs.cy, workArea.cx, workArea.cy)) {
        DefaultWindowRect(workArea.cx, workArea.cy, cs.x, cs.y, cs.cx, cs.cy);
        WriteScreenRect(settings, cs.x, cs.y, cs.cx, cs.cy);
    }
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;

    // Flat buttons where the common controls have them; comctl32 4.00 (that
    // of Windows 95) ignores the style and draws the buttons raised.
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                                   CBRS_FLYBY | CBRS_SIZE_DYNAMIC,
                               RECT{0, 0, 0, 0}, AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;

    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(indicators, sizeof indicators / sizeof indicators[0]))
        return -1;

    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    return 0;
}

void CMainFrame::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    CFrameWnd::OnWindowPosChanged(lpwndpos);
    if (!m_bViewReady)
        return;
    // A minimised window's position is never saved.
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    GetWindowPlacement(&wp);
    if (wp.showCmd == SW_SHOWMINIMIZED)
        return;
    if (lpwndpos->hwnd != m_hWnd)
        return;

    // What the flags mark unchanged is taken from the window itself: a
    // message need not fill those fields (the 9x family's window manager is
    // not known to, and any program may send one with zeros there).
    int x = lpwndpos->x;
    int y = lpwndpos->y;
    int cx = lpwndpos->cx;
    int cy = lpwndpos->cy;
    if (lpwndpos->flags & (SWP_NOMOVE | SWP_NOSIZE)) {
        RECT rc;
        GetWindowRect(&rc);
        if (lpwndpos->flags & SWP_NOMOVE) {
            x = rc.left;
            y = rc.top;
        }
        if (lpwndpos->flags & SWP_NOSIZE) {
            cx = rc.right - rc.left;
            cy = rc.bottom - rc.top;
        }
    }
    SIZE workArea = GetWorkAreaSize();
    ClampWindowRect(x, y, cx, cy, workArea.cx, workArea.cy);
    WriteScreenRect(GetQuellonApp()->m_settings, x, y, cx, cy);
}

void CMainFrame::OnClose()
{
    // The column widths as they are now; whether they are usable is decided
    // at the next start.
    CQuellonView* pView = static_cast<CQuellonView*>(GetActiveView());
    if (pView != nullptr) {
        CHeaderCtrl* pHeader = pView->GetListCtrl().GetHeaderCtrl();
        int widths[kColumnCount];
        for (int i = 0; i < kColumnCount; ++i) {
            HDITEMA hdi = {};
            hdi.mask = HDI_WIDTH;
            if (pHeader != nullptr)
                pHeader->GetItem(i, &hdi);
            widths[i] = hdi.cxy;
        }
        WriteColumnWidths(GetQuellonApp()->m_settings, widths);
    }
    CFrameWnd::OnClose();
}

void CMainFrame::StartStartupTimer()
{
    SetTimer(STARTUP_TIMER_ID, 200, nullptr);
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent)
{
    CFrameWnd::OnTimer(nIDEvent);
    if (nIDEvent != STARTUP_TIMER_ID)
        return;
    KillTimer(STARTUP_TIMER_ID); // it fires once
    CQuellonView* pView = static_cast<CQuellonView*>(GetActiveView());
    if (pView != nullptr)
        pView->RunStartupChecks();
}

BOOL CMainFrame::SetStatusPaneText(int nIndex, LPCSTR lpszText)
{
    HFONT hFont = reinterpret_cast<HFONT>(m_wndStatusBar.SendMessage(WM_GETFONT));
    UINT nID, nStyle;
    int cxWidth;
    m_wndStatusBar.GetPaneInfo(nIndex, nID, nStyle, cxWidth);

    SIZE size;
    {
        CClientDC dc(this);
        CSelectScope font(dc.m_hDC, hFont);
        size = dc.GetTextExtent(lpszText, lstrlenA(lpszText));
    }
    m_wndStatusBar.SetPaneInfo(nIndex, nID, nStyle, size.cx + 2);

    return m_wndStatusBar.SetPaneText(nIndex, lpszText, TRUE);
}
