// Frame windows: creation from resources, command routing, status prompts,
// menu enabling and the layout of control bars and view.
#include "afxext.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_MESSAGE(WM_SETMESSAGESTRING, &CFrameWnd::OnSetMessageString)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CFrameWnd::OnIdleUpdateCmdUI)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, &CFrameWnd::OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, &CFrameWnd::OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, &CFrameWnd::OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, &CFrameWnd::OnBarCheck)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, &CFrameWnd::OnToolTipText)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, &CFrameWnd::OnToolTipText)
END_MESSAGE_MAP()

CFrameWnd::~CFrameWnd()
{
    for (CControlBar* pBar : m_listControlBars)
        pBar->m_pDockSite = nullptr;
}

// The window class of the frames of resource nIDResource, registered when
// it is first needed; an empty name when it cannot be registered. One class
// per resource, so that a frame shows the icons of its resource. The class
// owns the small icon it was registered with: the class stays registered
// until the program ends, and every later frame of it shows that icon.
static CString RegisterFrameClass(UINT nIDResource)
{
    CString strClass;
    strClass.Format("AfxFrame:%u", nIDResource);
    HINSTANCE hInst = AfxGetResourceHandle();
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExA(hInst, strClass, &wc))
        return strClass;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = hInst;
    wc.hIcon = ::LoadIconA(hInst, MAKEINTRESOURCEA(nIDResource));
    wc.hIconSm = static_cast<HICON>(::LoadImageA(hInst, MAKEINTRESOURCEA(nIDResource), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = strClass;
    if (::RegisterClassExA(&wc))
        return strClass;
    if (wc.hIconSm != nullptr)
        ::DestroyIcon(wc.hIconSm);
    return CString();
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    m_nIDHelp = nIDResource;
    CString strFull;
    strFull.LoadString(nIDResource);
    int nNewline = strFull.Find('\n');
    m_strTitle = nNewline >= 0 ? strFull.Left(nNewline) : strFull;

    CString strClass = RegisterFrameClass(nIDResource);
    if (strClass.IsEmpty()) {
        // Ends as a failed creation does: the frame deletes itself.
        PostNcDestroy();
        return FALSE;
    }
    HMENU hMenu = ::LoadMenuA(hInst, MAKEINTRESOURCEA(nIDResource));
    HACCEL hAccel = ::LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(nIDResource));
    m_pCreateContext = pContext;
    if (!CreateEx(0, strClass, m_strTitle, dwDefaultStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd ? pParentWnd->m_hWnd : nullptr, hMenu,
                  pContext)) {
        // The frame has deleted itself; a menu that no window took is freed.
        if (hMenu != nullptr && ::IsMenu(hMenu))
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    m_pCreateContext = nullptr;
    m_hAccelTable = hAccel;
    if (pContext == nullptr)
        SendMessageToDescendants(WM_INITIALUPDATE);
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CWnd::PreCreateWindow(cs))
        return FALSE;
    if (cs.style & FWS_ADDTOTITLE)
        cs.style |= FWS_PREFIXTITLE;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTA lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    CCreateContext* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (!OnCreateClient(lpcs, pContext))
        return -1;
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTA, CCreateContext* pContext)
{
    if (pContext != nullptr && pContext->m_pNewViewClass != nullptr)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    CWnd* pView = static_cast<CWnd*>(pContext->m_pNewViewClass->CreateObject());
    if (pView == nullptr)
        return nullptr;
    RECT rect = {0, 0, 0, 0};
    // A view that cannot be created deletes itself.
    if (!pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, rect, this, nID, pContext))
        return nullptr;
    if (m_pViewActive == nullptr && pView->IsKindOf(RUNTIME_CLASS(CView)))
        m_pViewActive = static_cast<CView*>(pView);
    // One sunken edge around the client area: a view that draws its own
    // takes the frame's place.
    if (pView->GetExStyle() & WS_EX_CLIENTEDGE)
        ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    return pView;
}

void CFrameWnd::SetActiveView(CView* pViewNew)
{
    m_pViewActive = pViewNew;
    if (pViewNew != nullptr && ::GetFocus() != pViewNew->m_hWnd && ::GetActiveWindow() == m_hWnd)
        pViewNew->SetFocus();
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible)
{
    if (m_pViewActive == nullptr) {
        CWnd* pWnd = CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST));
        if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CView)))
            m_pViewActive = static_cast<CView*>(pWnd);
    }
    if (bMakeVisible)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE);
    OnUpdateFrameTitle(TRUE);
    RecalcLayout();
    SetMessageText(AFX_IDS_IDLEMESSAGE);
    if (bMakeVisible)
        ActivateFrame();
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1) {
        nCmdShow = SW_SHOW;
        CWinApp* pApp = AfxGetApp();
        if (pApp != nullptr && pApp->m_pMainWnd == this && pApp->m_nCmdShow != -1) {
            nCmdShow = pApp->m_nCmdShow;
            pApp->m_nCmdShow = -1; // the start-up show command is used once
        }
    }
    ShowWindow(nCmdShow);
    if (m_pViewActive != nullptr && ::GetActiveWindow() == m_hWnd)
        m_pViewActive->SetFocus();
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CString strTitle = m_strTitle;
    CDocument* pDoc = GetActiveDocument();
    if (bAddToTitle && (GetStyle() & FWS_ADDTOTITLE) && pDoc != nullptr) {
        strTitle += " - ";
        strTitle += pDoc->GetTitle();
    }
    CString strOld;
    GetWindowText(strOld);
    if (strOld != strTitle)
        SetWindowText(strTitle);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable != nullptr &&
        ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg))
        return TRUE;
    return FALSE;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, UINT nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The active view (and through it the document) first, then the frame,
    // then the application.
    if (m_pViewActive != nullptr && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::OnClose()
{
    CDocument* pDoc = GetActiveDocument();
    if (pDoc != nullptr && !pDoc->CanCloseFrame(this))
        return;
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    // Floating bars live in windows of their own, owned by the frame.
    for (CControlBar* pBar : m_listControlBars) {
        if (pBar->m_pFloatWnd != nullptr && pBar->m_hWnd != nullptr)
            ::SetParent(pBar->m_hWnd, m_hWnd);
    }
    m_pViewActive = nullptr;
    Default();
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

void CFrameWnd::OnSize(UINT nType, int, int)
{
    Default();
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(HWND)
{
    if (m_pViewActive != nullptr && m_pViewActive->m_hWnd != nullptr)
        m_pViewActive->SetFocus();
    else
        Default();
}

void CFrameWnd::OnInitMenuPopup(HMENU hPopupMenu, UINT, BOOL bSysMenu)
{
    Default();
    if (bSysMenu)
        return;
    // Every command item asks its enabling handler; an item whose command
    // nothing handles is greyed.
    CCmdUI state;
    state.m_hMenu = hPopupMenu;
    int nCount = ::GetMenuItemCount(hPopupMenu);
    for (int i = 0; i < nCount; ++i) {
        UINT nID = ::GetMenuItemID(hPopupMenu, i);
        if (nID == 0 || nID == UINT(-1))
            continue;
        state.m_nID = nID;
        state.m_nIndex = static_cast<UINT>(i);
        state.DoUpdate(this, TRUE);
    }
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    if (nFlags == 0xFFFF && hSysMenu == nullptr)
        m_nIDTracking = AFX_IDS_IDLEMESSAGE; // the menu has closed
    else if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP)))
        m_nIDTracking = 0;
    else if (nItemID >= 0xF000 && nItemID < 0xF1F0)
        m_nIDTracking = AFX_IDS_SCFIRST + ((nItemID - 0xF000) >> 4); // system menu
    else
        m_nIDTracking = nItemID;
    SetMessageText(m_nIDTracking);
}

void CFrameWnd::SetMessageText(UINT nID)
{
    SendMessage(WM_SETMESSAGESTRING, nID);
}

void CFrameWnd::SetMessageText(LPCSTR lpszText)
{
    SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText));
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    UINT nIDLast = m_nIDLastMessage;
    m_nIDLastMessage = static_cast<UINT>(wParam);
    CWnd* pBar = GetControlBar(AFX_IDW_STATUS_BAR);
    if (pBar == nullptr || !pBar->IsKindOf(RUNTIME_CLASS(CStatusBar)))
        return nIDLast;
    // A prompt is the text of the string resource before its newline.
    CString strMessage;
    if (wParam != 0) {
        if (strMessage.LoadString(static_cast<UINT>(wParam))) {
            int nNewline = strMessage.Find('\n');
            if (nNewline >= 0)
                strMessage = strMessage.Left(nNewline);
        }
    } else if (lParam != 0) {
        strMessage = reinterpret_cast<LPCSTR>(lParam);
    }
    static_cast<CStatusBar*>(pBar)->SetPaneText(0, strMessage, TRUE);
    return nIDLast;
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    for (CControlBar* pBar : m_listControlBars) {
        if (pBar->m_hWnd != nullptr && pBar->IsBarVisible())
            pBar->OnUpdateCmdUI(this, static_cast<BOOL>(wParam));
    }
    OnUpdateFrameTitle(TRUE);
    return 0;
}

BOOL CFrameWnd::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    // The tooltip of a command is the text after the newline of its string.
    UINT_PTR nID = pNMHDR->idFrom;
    BOOL bIdIsHwnd = pNMHDR->code == TTN_NEEDTEXTA
                         ? (reinterpret_cast<TOOLTIPTEXTA*>(pNMHDR)->uFlags & TTF_IDISHWND)
                         : (reinterpret_cast<TOOLTIPTEXTW*>(pNMHDR)->uFlags & TTF_IDISHWND);
    if (bIdIsHwnd)
        nID = static_cast<UINT_PTR>(::GetDlgCtrlID(reinterpret_cast<HWND>(nID)));
    CString strTip;
    if (nID != 0 && strTip.LoadString(static_cast<UINT>(nID))) {
        int nNewline = strTip.Find('\n');
        strTip = nNewline >= 0 ? strTip.Mid(nNewline + 1) : CString();
    }
    if (pNMHDR->code == TTN_NEEDTEXTA) {
        TOOLTIPTEXTA* pTTT = reinterpret_cast<TOOLTIPTEXTA*>(pNMHDR);
        lstrcpynA(pTTT->szText, strTip, sizeof pTTT->szText);
        pTTT->lpszText = pTTT->szText;
    } else {
        TOOLTIPTEXTW* pTTT = reinterpret_cast<TOOLTIPTEXTW*>(pNMHDR);
        int n = ::MultiByteToWideChar(CP_ACP, 0, strTip, -1, pTTT->szText, 80);
        if (n == 0)
            pTTT->szText[0] = 0;
        pTTT->szText[79] = 0;
        pTTT->lpszText = pTTT->szText;
    }
    *pResult = 0;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Control bars

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

void CFrameWnd::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
}

static DWORD AlignForDockBar(UINT nDockBarID)
{
    switch (nDockBarID) {
    case AFX_IDW_DOCKBAR_TOP:
        return CBRS_ALIGN_TOP;
    case AFX_IDW_DOCKBAR_BOTTOM:
        return CBRS_ALIGN_BOTTOM;
    case AFX_IDW_DOCKBAR_LEFT:
        return CBRS_ALIGN_LEFT;
    case AFX_IDW_DOCKBAR_RIGHT:
        return CBRS_ALIGN_RIGHT;
    default:
        return 0;
    }
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT)
{
    DWORD dwAlign = AlignForDockBar(nDockBarID);
    if (dwAlign == 0)
        dwAlign = pBar->m_dwStyle & CBRS_ALIGN_ANY;
    // Only one side: the first allowed one in the order top, bottom, left, right.
    static const DWORD kOrder[] = {CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT,
                                   CBRS_ALIGN_RIGHT};
    for (DWORD side : kOrder) {
        if (dwAlign & side) {
            dwAlign = side;
            break;
        }
    }
    if (pBar->m_pFloatWnd != nullptr) {
        BOOL bVisible = pBar->IsBarVisible();
        CWnd* pFloat = pBar->m_pFloatWnd;
        pBar->m_pFloatWnd = nullptr;
        ::SetParent(pBar->m_hWnd, m_hWnd);
        pFloat->DestroyWindow();
        pBar->ShowWindow(bVisible ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
    DWORD dwBorders = 0;
    switch (dwAlign) {
    case CBRS_ALIGN_TOP:
        dwBorders = CBRS_BORDER_BOTTOM;
        break;
    case CBRS_ALIGN_BOTTOM:
        dwBorders = CBRS_BORDER_TOP;
        break;
    case CBRS_ALIGN_LEFT:
        dwBorders = CBRS_BORDER_RIGHT;
        break;
    default:
        dwBorders = CBRS_BORDER_LEFT;
        break;
    }
    pBar->SetBarStyle((pBar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_BORDER_ANY | CBRS_FLOATING)) |
                      dwAlign | dwBorders);
    RecalcLayout();
}

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
    static const DWORD kSides[] = {CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT,
                                   CBRS_ALIGN_RIGHT};
    for (DWORD side : kSides) {
        for (CControlBar* pBar : m_listControlBars) {
            if (pBar->m_hWnd != nullptr && pBar->m_dwDockStyle != 0 &&
                pBar->m_pFloatWnd == nullptr && (pBar->m_dwStyle & CBRS_ALIGN_ANY) == side &&
                pBar->IsWindowVisible())
                place(pBar, side, TRUE);
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
