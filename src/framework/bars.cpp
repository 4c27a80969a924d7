// Control bars: the toolbar (with fly-by prompts, a gripper to drag it by,
// docking at the frame's edges and floating), and the status bar.
#include "afxext.h"

#include <cstdlib>

namespace {

const UINT_PTR kFlyByTimer = 0xE000;
const int kBarBorder = 2;

// The small window that holds a floating bar. Its caption drags the bar
// back to an edge of the frame; a double click on the caption docks it at
// the top; its close box hides the bar.
class CFloatBarWnd : public CWnd
{
public:
    explicit CFloatBarWnd(CControlBar* pBar) : m_pBar(pBar) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    CControlBar* m_pBar;
};

void TrackBarDrag(CControlBar* pBar, POINT ptStart);

} // namespace

UINT AfxDockSideForPoint(const RECT& rcClient, POINT pt, DWORD dwAllowed)
{
    if (pt.x < rcClient.left || pt.x >= rcClient.right || pt.y < rcClient.top ||
        pt.y >= rcClient.bottom)
        return 0;
    struct Side
    {
        DWORD dwAlign;
        UINT nID;
        int nDistance;
    };
    const Side sides[] = {
        {CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_TOP, pt.y - rcClient.top},
        {CBRS_ALIGN_BOTTOM, AFX_IDW_DOCKBAR_BOTTOM, rcClient.bottom - 1 - pt.y},
        {CBRS_ALIGN_LEFT, AFX_IDW_DOCKBAR_LEFT, pt.x - rcClient.left},
        {CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_RIGHT, rcClient.right - 1 - pt.x},
    };
    const Side* pBest = nullptr;
    for (const Side& side : sides) {
        if ((dwAllowed & side.dwAlign) && side.nDistance < kDockBand &&
            (pBest == nullptr || side.nDistance < pBest->nDistance))
            pBest = &side;
    }
    return pBest ? pBest->nID : 0;
}

// ---------------------------------------------------------------------------
// CControlBar

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
END_MESSAGE_MAP()

CControlBar::~CControlBar()
{
    if (m_pDockSite != nullptr)
        m_pDockSite->RemoveControlBar(this);
    if (m_pFloatWnd != nullptr) {
        CWnd* pFloat = m_pFloatWnd;
        m_pFloatWnd = nullptr;
        static_cast<CFloatBarWnd*>(pFloat)->m_pBar = nullptr;
        pFloat->DestroyWindow();
    }
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

// ---------------------------------------------------------------------------
// CToolBar

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

namespace {

class CToolCmdUI : public CCmdUI
{
public:
    CToolBar* m_pToolBar = nullptr;
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        BOOL bNow = static_cast<BOOL>(m_pToolBar->SendMessage(TB_ISBUTTONENABLED, m_nID));
        if ((bNow != 0) != (bOn != 0))
            m_pToolBar->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELPARAM(bOn ? TRUE : FALSE, 0));
    }
    void SetCheck(int nCheck) override
    {
        m_pToolBar->SendMessage(TB_CHECKBUTTON, m_nID, MAKELPARAM(nCheck ? TRUE : FALSE, 0));
    }
};

} // namespace

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, RECT rcBorders,
                        UINT nID)
{
    m_rcBorders = rcBorders;
    DWORD dwCtrl = dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (dwStyle & CBRS_TOOLTIPS)
        dwCtrl |= TBSTYLE_TOOLTIPS;
    if (!CreateBar(TOOLBARCLASSNAMEA, dwCtrl, dwStyle, pParentWnd, nID))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    // Notifications (button clicks, tooltip texts) go to the frame even
    // while the bar floats in a window of its own.
    if (m_pDockSite != nullptr)
        SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(m_pDockSite->m_hWnd));
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource)
{
    // Toolbar resource: version 1, image width and height, item count,
    // then one command id per item (0 for a separator).
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEA(nIDResource), MAKEINTRESOURCEA(241));
    HRSRC hRsrc = ::FindResourceA(hInst, MAKEINTRESOURCEA(nIDResource), MAKEINTRESOURCEA(241));
    if (hRsrc == nullptr)
        return FALSE;
    HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
    const WORD* pData = hGlobal ? static_cast<const WORD*>(::LockResource(hGlobal)) : nullptr;
    DWORD cbData = ::SizeofResource(hInst, hRsrc);
    if (pData == nullptr || cbData < 8 || pData[0] != 1 || cbData < 8u + 2u * pData[3])
        return FALSE;
    int cxImage = pData[1];
    int cyImage = pData[2];
    int nItems = pData[3];
    const WORD* pItems = pData + 4;

    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(cxImage, cyImage));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(cxImage + 7, cyImage + 7));
    int nImages = 0;
    for (int i = 0; i < nItems; ++i) {
        if (pItems[i] != ID_SEPARATOR)
            ++nImages;
    }
    TBADDBITMAP tbab = {hInst, nIDResource};
    if (SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(nImages), reinterpret_cast<LPARAM>(&tbab)) ==
        -1)
        return FALSE;
    CArray<TBBUTTON> buttons;
    buttons.SetSize(nItems);
    int iImage = 0;
    for (int i = 0; i < nItems; ++i) {
        TBBUTTON& b = buttons[i];
        b = TBBUTTON();
        b.idCommand = pItems[i];
        if (pItems[i] == ID_SEPARATOR) {
            b.fsStyle = TBSTYLE_SEP;
            b.iBitmap = 6;
        } else {
            b.fsStyle = TBSTYLE_BUTTON;
            b.fsState = TBSTATE_ENABLED;
            b.iBitmap = iImage++;
        }
    }
    if (!SendMessage(TB_ADDBUTTONSA, static_cast<WPARAM>(nItems),
                     reinterpret_cast<LPARAM>(buttons.GetData())))
        return FALSE;
    LayoutButtons();
    return TRUE;
}

int CToolBar::GetCount() const
{
    return static_cast<int>(SendMessage(TB_BUTTONCOUNT));
}

UINT CToolBar::GetItemID(int nIndex) const
{
    TBBUTTON button = {};
    if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button)))
        return ID_SEPARATOR;
    return (button.fsStyle & TBSTYLE_SEP) ? ID_SEPARATOR : static_cast<UINT>(button.idCommand);
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    int nCount = GetCount();
    for (int i = 0; i < nCount; ++i) {
        if (GetItemID(i) == nIDFind)
            return i;
    }
    return -1;
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect)))
        ::SetRectEmpty(lpRect);
}

void CToolBar::LayoutButtons()
{
    // Vertically docked, every button ends a row of its own.
    BOOL bHorz = IsHorz();
    int nCount = GetCount();
    for (int i = 0; i < nCount; ++i) {
        TBBUTTON button = {};
        SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
        BYTE fsState = button.fsState;
        if (bHorz)
            fsState = static_cast<BYTE>(fsState & ~TBSTATE_WRAP);
        else
            fsState = static_cast<BYTE>(fsState | TBSTATE_WRAP);
        if (fsState != button.fsState)
            SendMessage(TB_SETSTATE, static_cast<WPARAM>(button.idCommand), MAKELPARAM(fsState, 0));
    }
    m_bLaidOutHorz = bHorz;
    SendMessage(TB_AUTOSIZE);
}

void CToolBar::SetBarStyle(DWORD dwStyle)
{
    CControlBar::SetBarStyle(dwStyle);
    if (m_hWnd == nullptr)
        return;
    LayoutButtons();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE CToolBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    if (bHorz != m_bLaidOutHorz)
        LayoutButtons();
    // The extent of the buttons, plus the borders and the gripper.
    SIZE size = {0, 0};
    int nCount = GetCount();
    for (int i = 0; i < nCount; ++i) {
        RECT rc;
        GetItemRect(i, &rc);
        if (rc.right > size.cx)
            size.cx = rc.right;
        if (rc.bottom > size.cy)
            size.cy = rc.bottom;
    }
    int nGripper = (m_dwStyle & CBRS_GRIPPER) && m_pFloatWnd == nullptr ? kGripperSize : 0;
    size.cx += 2 * kBarBorder + (bHorz ? nGripper : 0);
    size.cy += 2 * kBarBorder + (bHorz ? 0 : nGripper);
    return size;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CToolCmdUI state;
    state.m_pToolBar = this;
    int nCount = GetCount();
    for (int i = 0; i < nCount; ++i) {
        UINT nID = GetItemID(i);
        if (nID == ID_SEPARATOR)
            continue;
        state.m_nID = nID;
        state.m_nIndex = static_cast<UINT>(i);
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

int AfxToolBarHitTest(const RECT* prcItems, int nCount, POINT pt)
{
    for (int i = 0; i < nCount; ++i) {
        if (::PtInRect(&prcItems[i], pt))
            return i;
    }
    return -1;
}

void CToolBar::UpdateFlyBy(POINT ptScreen)
{
    UINT nID = 0;
    if (::WindowFromPoint(ptScreen) == m_hWnd) {
        POINT pt = ptScreen;
        ::ScreenToClient(m_hWnd, &pt);
        CArray<RECT> items;
        items.SetSize(GetCount());
        for (int i = 0; i < items.GetSize(); ++i) {
            if (GetItemID(i) == ID_SEPARATOR)
                ::SetRectEmpty(&items[i]);
            else
                GetItemRect(i, &items[i]);
        }
        int nHit = AfxToolBarHitTest(items.GetData(), items.GetSize(), pt);
        if (nHit >= 0)
            nID = GetItemID(nHit);
    }
    if (nID != m_nFlyByID) {
        m_nFlyByID = nID;
        if (m_pDockSite != nullptr)
            m_pDockSite->SetMessageText(nID != 0 ? nID : static_cast<UINT>(AFX_IDS_IDLEMESSAGE));
    }
    // While a prompt shows, a timer notices the pointer leaving the bar.
    if (nID != 0)
        SetTimer(kFlyByTimer, 200, nullptr);
    else
        KillTimer(kFlyByTimer);
}

void CToolBar::DrawGripper(HDC hdc, const RECT& rcWindow)
{
    RECT rc = {0, 0, rcWindow.right - rcWindow.left, rcWindow.bottom - rcWindow.top};
    ::FillRect(hdc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
    if (!(m_dwStyle & CBRS_GRIPPER) || m_pFloatWnd != nullptr)
        return;
    RECT rcGrip;
    if (IsHorz())
        rcGrip = {kBarBorder + 1, kBarBorder + 1, kBarBorder + 4, rc.bottom - kBarBorder - 1};
    else
        rcGrip = {kBarBorder + 1, kBarBorder + 1, rc.right - kBarBorder - 1, kBarBorder + 4};
    ::DrawEdge(hdc, &rcGrip, BDR_RAISEDINNER, BF_RECT);
}

LRESULT CToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCALCSIZE: {
        LRESULT lResult = CControlBar::WindowProc(message, wParam, lParam);
        RECT* prc = reinterpret_cast<RECT*>(lParam);
        int nGripper = (m_dwStyle & CBRS_GRIPPER) && m_pFloatWnd == nullptr ? kGripperSize : 0;
        prc->left += kBarBorder + (IsHorz() ? nGripper : 0);
        prc->top += kBarBorder + (IsHorz() ? 0 : nGripper);
        prc->right -= kBarBorder;
        prc->bottom -= kBarBorder;
        if (prc->right < prc->left)
            prc->right = prc->left;
        if (prc->bottom < prc->top)
            prc->bottom = prc->top;
        return lResult;
    }
    case WM_NCPAINT: {
        RECT rcWindow;
        GetWindowRect(&rcWindow);
        HDC hdc = ::GetWindowDC(m_hWnd);
        RECT rcClient;
        GetClientRect(&rcClient);
        POINT ptClient = {0, 0};
        ::ClientToScreen(m_hWnd, &ptClient);
        int dx = ptClient.x - rcWindow.left;
        int dy = ptClient.y - rcWindow.top;
        ::ExcludeClipRect(hdc, dx, dy, dx + rcClient.right, dy + rcClient.bottom);
        DrawGripper(hdc, rcWindow);
        ::ReleaseDC(m_hWnd, hdc);
        return 0;
    }
    case WM_NCHITTEST: {
        LRESULT lHit = CControlBar::WindowProc(message, wParam, lParam);
        if (lHit == HTCLIENT || m_pFloatWnd != nullptr || m_pDockSite == nullptr ||
            !(m_dwStyle & CBRS_GRIPPER))
            return lHit;
        return HTCAPTION; // the gripper and borders drag the bar
    }
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION && m_pDockSite != nullptr) {
            POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
            TrackBarDrag(this, pt);
            return 0;
        }
        break;
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION)
            return 0;
        break;
    case WM_MOUSEMOVE:
        if (m_dwStyle & CBRS_FLYBY) {
            LRESULT lResult = CControlBar::WindowProc(message, wParam, lParam);
            POINT pt;
            ::GetCursorPos(&pt);
            UpdateFlyBy(pt);
            return lResult;
        }
        break;
    case WM_TIMER:
        if (wParam == kFlyByTimer) {
            POINT pt;
            ::GetCursorPos(&pt);
            UpdateFlyBy(pt);
            return 0;
        }
        break;
    default:
        break;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Floating and dragging

namespace {

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
            TrackBarDrag(m_pBar, POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
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

void TrackBarDrag(CControlBar* pBar, POINT ptStart)
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
    HDC hdc = ::GetDC(nullptr);
    RECT rcTrack = rcStart;
    ::DrawFocusRect(hdc, &rcTrack);
    POINT pt = ptStart;
    BOOL bDone = FALSE;
    BOOL bCancel = FALSE;
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
            ::DrawFocusRect(hdc, &rcTrack);
            rcTrack = {pt.x - offset.x, pt.y - offset.y, pt.x - offset.x + size.cx,
                       pt.y - offset.y + size.cy};
            ::DrawFocusRect(hdc, &rcTrack);
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
    ::DrawFocusRect(hdc, &rcTrack);
    ::ReleaseDC(nullptr, hdc);
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

} // namespace

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
// CStatusBar

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

CStatusBar::~CStatusBar() = default;

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    DWORD dwCtrl = CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (pParentWnd != nullptr && (pParentWnd->GetStyle() & WS_THICKFRAME))
        dwCtrl |= SBARS_SIZEGRIP;
    if (!CreateBar(STATUSCLASSNAMEA, dwCtrl, dwStyle, pParentWnd, nID))
        return FALSE;
    // The status bar shows its text in the system's status font.
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof ncm;
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0) &&
        m_font.CreateFontIndirect(&ncm.lfStatusFont))
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.m_hObject), FALSE);
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    m_panes.RemoveAll();
    HDC hdc = ::GetDC(m_hWnd);
    HGDIOBJ hOldFont = ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    BOOL bOk = TRUE;
    for (int i = 0; i < nIDCount; ++i) {
        Pane pane = {lpIDArray[i], SBPS_NORMAL, 0, CString()};
        if (pane.nID != ID_SEPARATOR) {
            if (!pane.strText.LoadString(pane.nID)) {
                bOk = FALSE;
                break;
            }
            SIZE size = {0, 0};
            ::GetTextExtentPoint32A(hdc, pane.strText, pane.strText.GetLength(), &size);
            pane.cxText = size.cx;
        } else if (i == 0) {
            pane.nStyle = SBPS_NOBORDERS | SBPS_STRETCH;
        }
        m_panes.Add(pane);
    }
    ::SelectObject(hdc, hOldFont);
    ::ReleaseDC(m_hWnd, hdc);
    if (!bOk) {
        m_panes.RemoveAll();
        return FALSE;
    }
    UpdateParts();
    for (int i = 0; i < GetCount(); ++i)
        SetPaneText(i, m_panes[i].strText, FALSE);
    return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    if (nIndex < 0 || nIndex >= GetCount()) {
        nID = ID_SEPARATOR;
        nStyle = 0;
        cxWidth = 0;
        return;
    }
    const Pane& pane = m_panes[nIndex];
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    Pane& pane = m_panes[nIndex];
    bool bStyleChanged = pane.nStyle != nStyle;
    pane.nID = nID;
    pane.nStyle = nStyle;
    pane.cxText = cxWidth;
    UpdateParts();
    // The control keeps the texts across new part sizes; only a new
    // border style needs the text set again.
    if (bStyleChanged)
        SetPaneText(nIndex, pane.strText, TRUE);
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    Pane& pane = m_panes[nIndex];
    pane.strText = lpszNewText;
    UINT nFlags = static_cast<UINT>(nIndex);
    if (pane.nStyle & SBPS_NOBORDERS)
        nFlags |= SBT_NOBORDERS;
    if (pane.nStyle & SBPS_POPOUT)
        nFlags |= SBT_POPOUT;
    BOOL bOk = static_cast<BOOL>(
        SendMessage(SB_SETTEXTA, nFlags, reinterpret_cast<LPARAM>(pane.strText.GetString())));
    if (bOk && bUpdate)
        UpdateWindow();
    return bOk;
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return CString();
    return m_panes[nIndex].strText;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (int i = 0; i < GetCount(); ++i) {
        if (m_panes[i].nID == nIDFind)
            return i;
    }
    return -1;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!SendMessage(SB_GETRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect)))
        ::SetRectEmpty(lpRect);
}

void CStatusBar::UpdateParts()
{
    if (m_hWnd == nullptr || m_panes.IsEmpty())
        return;
    // Every pane but the stretching one is as wide as its text plus its
    // borders; the stretching pane takes what is left. The last part runs
    // to the right edge, over the size grip.
    const int kPaneExtra = 6;
    RECT rc;
    GetClientRect(&rc);
    int cxGrip = 0;
    if ((GetStyle() & SBARS_SIZEGRIP) && m_pDockSite != nullptr && !::IsZoomed(m_pDockSite->m_hWnd))
        cxGrip = ::GetSystemMetrics(SM_CXVSCROLL);
    int nCount = GetCount();
    int cxFixed = 0;
    for (const Pane& pane : m_panes) {
        if (!(pane.nStyle & SBPS_STRETCH))
            cxFixed += pane.cxText + kPaneExtra;
    }
    int cxStretch = rc.right - cxGrip - cxFixed;
    if (cxStretch < 0)
        cxStretch = 0;
    CArray<int> rights;
    rights.SetSize(nCount);
    int x = 0;
    for (int i = 0; i < nCount; ++i) {
        const Pane& pane = m_panes[i];
        x += (pane.nStyle & SBPS_STRETCH) ? cxStretch : pane.cxText + kPaneExtra;
        rights[i] = i == nCount - 1 ? -1 : x;
    }
    SendMessage(SB_SETPARTS, static_cast<WPARAM>(nCount),
                reinterpret_cast<LPARAM>(rights.GetData()));
}

SIZE CStatusBar::CalcFixedLayout(BOOL, BOOL)
{
    HDC hdc = ::GetDC(m_hWnd);
    HGDIOBJ hOldFont = ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(hdc, &tm);
    ::SelectObject(hdc, hOldFont);
    ::ReleaseDC(m_hWnd, hdc);
    int borders[3] = {0, 2, 2};
    SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    SIZE size = {32767, tm.tmHeight + 2 * borders[1] + 4};
    return size;
}

LRESULT CStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = CControlBar::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE)
        UpdateParts();
    return lResult;
}
