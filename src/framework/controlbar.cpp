// The control bar: what toolbars and status bars share, a window of a
// control class that a frame lays out at one of its edges.
#include "afximpl.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
END_MESSAGE_MAP()

CControlBar::~CControlBar()
{
    if (m_pDockSite != nullptr)
        m_pDockSite->RemoveControlBar(this);
    AfxDestroyFloatWnd(this);
}

BOOL CControlBar::CreateBar(LPCSTR lpszClass, DWORD dwCtrlStyle, DWORD dwStyle, CWnd* pParentWnd,
                            UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    if (pParentWnd != nullptr && pParentWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
        m_pDockSite = static_cast<CFrameWnd*>(pParentWnd);
    DWORD dwWndStyle = (dwStyle & ~static_cast<DWORD>(CBRS_ALL)) | dwCtrlStyle;
    if (!CreateEx(0, lpszClass, nullptr, dwWndStyle, 0, 0, 0, 0,
                  pParentWnd ? pParentWnd->m_hWnd : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID))))
        return FALSE;
    if (m_pDockSite != nullptr)
        m_pDockSite->AddControlBar(this);
    return TRUE;
}

void CControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND) {
        RECT rc;
        GetClientRect(&rc);
        ::FillRect(reinterpret_cast<HDC>(wParam), &rc, ::GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CControlBar::IsHorz() const
{
    return m_pFloatWnd != nullptr || (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
}

BOOL CControlBar::IsBarVisible() const
{
    if (m_pFloatWnd != nullptr)
        return (m_pFloatWnd->GetStyle() & WS_VISIBLE) != 0;
    return (GetStyle() & WS_VISIBLE) != 0;
}
