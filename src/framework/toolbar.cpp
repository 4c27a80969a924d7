// The toolbar: buttons from a toolbar resource, their enabling, fly-by
// prompts in the frame's message pane, and the gripper by which the bar is
// dragged to another edge of its frame.
#include "afximpl.h"

#ifndef _WIN64
static_assert(sizeof(TBBUTTON) == 20, "the TBBUTTON of comctl32 4.00");
#endif

namespace {

const UINT_PTR kFlyByTimer = 0xE000;
const int kBarBorder = 2;

// The gripper's band: docked bars with the gripper style have one, floating
// bars are dragged by their window's caption instead.
int GripperSize(const CToolBar* pBar)
{
    return (pBar->m_dwStyle & CBRS_GRIPPER) && pBar->m_pFloatWnd == nullptr ? CToolBar::kGripperSize
                                                                            : 0;
}

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

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

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
    int nGripper = GripperSize(this);
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
    if (GripperSize(this) == 0)
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
        int nGripper = GripperSize(this);
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
        CWindowDC dc(this);
        RECT rcClient;
        GetClientRect(&rcClient);
        POINT ptClient = {0, 0};
        ::ClientToScreen(m_hWnd, &ptClient);
        int dx = ptClient.x - rcWindow.left;
        int dy = ptClient.y - rcWindow.top;
        ::ExcludeClipRect(dc, dx, dy, dx + rcClient.right, dy + rcClient.bottom);
        DrawGripper(dc, rcWindow);
        return 0;
    }
    case WM_NCHITTEST: {
        LRESULT lHit = CControlBar::WindowProc(message, wParam, lParam);
        if (lHit == HTCLIENT || m_pDockSite == nullptr || GripperSize(this) == 0)
            return lHit;
        return HTCAPTION; // the gripper and borders drag the bar
    }
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION && m_pDockSite != nullptr) {
            POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
            AfxTrackBarDrag(this, pt);
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
