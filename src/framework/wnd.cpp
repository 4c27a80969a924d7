// Command targets, message maps, the window class and the GDI and control
// wrappers.
#include "afxcmn.h"
#include "afxext.h"

// ---------------------------------------------------------------------------
// Per-thread window state. The framework runs on one user-interface thread.

namespace {

// The windows of the thread and the objects that stand for them, sorted by
// window handle.
class CHandleMap
{
public:
    CWnd* Lookup(HWND hWnd) const
    {
        int nIndex;
        return Find(hWnd, &nIndex) ? m_entries[nIndex].pWnd : nullptr;
    }
    void SetAt(HWND hWnd, CWnd* pWnd)
    {
        int nIndex;
        if (Find(hWnd, &nIndex))
            m_entries[nIndex].pWnd = pWnd;
        else
            m_entries.InsertAt(nIndex, Entry{hWnd, pWnd});
    }
    void RemoveKey(HWND hWnd)
    {
        int nIndex;
        if (Find(hWnd, &nIndex))
            m_entries.RemoveAt(nIndex);
    }
    // Deletes every object of the map (temporary objects only).
    void DeleteAll()
    {
        for (Entry& entry : m_entries) {
            entry.pWnd->m_hWnd = nullptr;
            delete entry.pWnd;
        }
        m_entries.RemoveAll();
    }

private:
    struct Entry
    {
        HWND hWnd;
        CWnd* pWnd;
    };
    // Whether the handle is in the map; *pnIndex is its place, or the place
    // where it would go.
    bool Find(HWND hWnd, int* pnIndex) const
    {
        int nLow = 0, nHigh = m_entries.GetSize();
        while (nLow < nHigh) {
            int nMid = (nLow + nHigh) / 2;
            if (m_entries[nMid].hWnd < hWnd)
                nLow = nMid + 1;
            else
                nHigh = nMid;
        }
        *pnIndex = nLow;
        return nLow < m_entries.GetSize() && m_entries[nLow].hWnd == hWnd;
    }
    CArray<Entry> m_entries;
};

struct WindowState
{
    CHandleMap permanent;     // windows attached to objects
    CHandleMap temporary;     // wrappers made by FromHandle, owned here
    CWnd* pWndInit = nullptr; // object of the window being created
    HHOOK hHookCbt = nullptr;
    MSG lastSent = {}; // message being handled, for Default()
    ~WindowState() { temporary.DeleteAll(); }
};

WindowState& State()
{
    static WindowState state;
    return state;
}

} // namespace

// ---------------------------------------------------------------------------
// CCmdTarget and message maps

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

static bool EntryMatches(const AFX_MSGMAP_ENTRY& e, UINT nMessage, UINT nCode, UINT nID)
{
    return e.nMessage == nMessage && e.nCode == nCode && nID >= e.nID && nID <= e.nLastID;
}

BOOL CCmdTarget::DispatchToMap(UINT nMessage, UINT nCode, UINT nID, AFX_CALL& call)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn != nullptr; ++e) {
            if (EntryMatches(*e, nMessage, nCode, nID) && e->pfn(this, call))
                return TRUE;
        }
    }
    return FALSE;
}

BOOL CCmdTarget::HasMapEntry(UINT nMessage, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn != nullptr; ++e) {
            if (EntryMatches(*e, nMessage, nCode, nID))
                return TRUE;
        }
    }
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, UINT nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (pHandlerInfo != nullptr) {
        if (!HasMapEntry(WM_COMMAND, nCode, nID))
            return FALSE;
        pHandlerInfo->pTarget = this;
        return TRUE;
    }
    AFX_CALL call = {WM_COMMAND, 0, 0, 0, pExtra, nID};
    return DispatchToMap(WM_COMMAND, nCode, nID, call);
}

// ---------------------------------------------------------------------------
// CCmdUI

void CCmdUI::Enable(BOOL bOn)
{
    if (m_hMenu != nullptr)
        ::EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : MF_GRAYED));
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_hMenu != nullptr)
        ::CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
}

void CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    m_bEnableChanged = FALSE;
    BOOL bHandled = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (!bHandled && bDisableIfNoHndler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info = {nullptr};
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
}

void CTestCmdUI::Enable(BOOL bOn)
{
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
}

void CTestCmdUI::SetCheck(int nCheck)
{
    m_nCheck = nCheck;
}

// ---------------------------------------------------------------------------
// Window creation hook and window procedure

static LRESULT CALLBACK AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    WindowState& st = State();
    if (code == HCBT_CREATEWND && st.pWndInit != nullptr) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        CWnd* pWnd = st.pWndInit;
        st.pWndInit = nullptr;
        pWnd->Attach(hWnd);
        WNDPROC old = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
        if (old != AfxWndProc)
            pWnd->m_pfnSuper = old;
    }
    return ::CallNextHookEx(st.hHookCbt, code, wParam, lParam);
}

void AfxHookWindowCreate(CWnd* pWnd)
{
    WindowState& st = State();
    if (st.hHookCbt == nullptr)
        st.hHookCbt =
            ::SetWindowsHookExA(WH_CBT, AfxCbtFilterHook, nullptr, ::GetCurrentThreadId());
    st.pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate()
{
    WindowState& st = State();
    if (st.hHookCbt != nullptr) {
        ::UnhookWindowsHookEx(st.hHookCbt);
        st.hHookCbt = nullptr;
    }
    BOOL bAttached = st.pWndInit == nullptr;
    st.pWndInit = nullptr;
    return bAttached;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);

    WindowState& st = State();
    MSG previous = st.lastSent;
    st.lastSent.hwnd = hWnd;
    st.lastSent.message = message;
    st.lastSent.wParam = wParam;
    st.lastSent.lParam = lParam;
    LRESULT lResult = 0;
    if (message == WM_NCDESTROY)
        pWnd->OnNcDestroyInternal();
    else
        lResult = pWnd->WindowProc(message, wParam, lParam);
    st.lastSent = previous;
    return lResult;
}

void AfxUnlockTempMaps()
{
    State().temporary.DeleteAll();
}

// ---------------------------------------------------------------------------
// CWnd

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd()
{
    // Only a window that this object owns is destroyed with it; wrappers
    // that merely hold a handle leave the window alone.
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) {
        ::DestroyWindow(m_hWnd);
        if (m_hWnd != nullptr)
            Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    return State().permanent.Lookup(hWnd);
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    CHandleMap& temporary = State().temporary;
    CWnd* pTemp = temporary.Lookup(hWnd);
    if (pTemp == nullptr) {
        pTemp = new CWnd;
        pTemp->m_hWnd = hWnd;
        temporary.SetAt(hWnd, pTemp);
    }
    return pTemp;
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (hWnd == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWnd) != nullptr)
        return FALSE;
    m_hWnd = hWnd;
    State().permanent.SetAt(hWnd, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr) {
        CHandleMap& permanent = State().permanent;
        if (permanent.Lookup(hWnd) == this)
            permanent.RemoveKey(hWnd);
    }
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam)
{
    CREATESTRUCTA cs;
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;

    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName,
                                  static_cast<DWORD>(cs.style), cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    BOOL bAttached = AfxUnhookWindowCreate();
    if (hWnd == nullptr) {
        // A window that got as far as its first message has been through
        // WM_NCDESTROY, and with it PostNcDestroy; one that never existed
        // is cleaned up here, so a failed creation always ends the same way.
        if (!bAttached)
            PostNcDestroy();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr) {
        static const char kClass[] = "AfxWnd";
        WNDCLASSA wc;
        if (!::GetClassInfoA(AfxGetInstanceHandle(), kClass, &wc)) {
            wc = WNDCLASSA();
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = ::DefWindowProcA;
            wc.hInstance = AfxGetInstanceHandle();
            wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            wc.lpszClassName = kClass;
            if (!::RegisterClassA(&wc))
                return FALSE;
        }
        cs.lpszClass = kClass;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    WNDPROC old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    if (old != AfxWndProc)
        m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    return hWndControl != nullptr && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper != nullptr) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = nullptr;
    }
    return Detach();
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = GetExStyle();
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(dwNewStyle));
    if (nFlags != 0)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       nFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

void CWnd::GetWindowText(CString& rString) const
{
    int nLen = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, rString.GetBuffer(nLen), nLen + 1);
    rString.ReleaseBuffer();
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (HWND h = ::GetParent(m_hWnd); h != nullptr; h = ::GetParent(h)) {
        CWnd* pWnd = FromHandlePermanent(h);
        if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            return static_cast<CFrameWnd*>(pWnd);
    }
    return nullptr;
}

static void SendToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep)
{
    for (HWND h = ::GetTopWindow(hWnd); h != nullptr; h = ::GetNextWindow(h, GW_HWNDNEXT)) {
        ::SendMessageA(h, message, wParam, lParam);
        if (bDeep && ::GetTopWindow(h) != nullptr)
            SendToDescendants(h, message, wParam, lParam, bDeep);
    }
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep)
{
    SendToDescendants(m_hWnd, message, wParam, lParam, bDeep);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        const NMHDR* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
        return pNMHDR != nullptr && OnNotify(wParam, lParam, pResult);
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC &&
        ReflectMessage(reinterpret_cast<HWND>(lParam), message, wParam, lParam, pResult))
        return TRUE;

    AFX_CALL call = {message, wParam, lParam, 0, nullptr, 0};
    if (!DispatchToMap(message, 0, 0, call))
        return FALSE;
    *pResult = call.lResult;
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& msg = State().lastSent;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    UINT nCode = HIWORD(wParam);

    if (hWndCtrl == nullptr) {
        // A menu item or an accelerator key: a command that is disabled, or
        // that nothing handles, is ignored.
        CTestCmdUI state;
        state.m_nID = nID;
        state.DoUpdate(this, TRUE);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    } else if (ReflectMessage(hWndCtrl, WM_COMMAND, wParam, lParam, nullptr)) {
        return TRUE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (ReflectMessage(pNMHDR->hwndFrom, WM_NOTIFY, wParam, lParam, pResult))
        return TRUE;
    AFX_CALL call = {WM_NOTIFY, wParam, lParam, 0, pNMHDR, static_cast<UINT>(pNMHDR->idFrom)};
    if (!DispatchToMap(WM_NOTIFY, pNMHDR->code, static_cast<UINT>(pNMHDR->idFrom), call))
        return FALSE;
    *pResult = call.lResult;
    return TRUE;
}

BOOL CWnd::ReflectMessage(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT* pResult)
{
    CWnd* pChild = FromHandlePermanent(hWndChild);
    return pChild != nullptr && pChild->OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    AFX_CALL call = {message, wParam, lParam, 0, nullptr, 0};
    UINT nReflect = 0;
    UINT nCode = 0;
    if (message == WM_COMMAND) {
        nReflect = WM_REFLECT_BASE + WM_COMMAND;
        nCode = HIWORD(wParam);
    } else if (message == WM_NOTIFY) {
        NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        nReflect = WM_REFLECT_BASE + WM_NOTIFY;
        nCode = pNMHDR->code;
        call.pExtra = pNMHDR;
    } else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        // The control gets the device context and the CTLCOLOR_xxx kind.
        nReflect = WM_REFLECT_BASE + WM_CTLCOLOR;
        call.lParam = static_cast<LPARAM>(message - WM_CTLCOLORMSGBOX);
    } else {
        return FALSE;
    }
    if (!DispatchToMap(nReflect, nCode, 0, call))
        return FALSE;
    if (pResult != nullptr)
        *pResult = call.lResult;
    return TRUE;
}

void CWnd::PostNcDestroy() {}

int CWnd::OnCreate(LPCREATESTRUCTA)
{
    return static_cast<int>(Default());
}

void CWnd::OnNcDestroyInternal()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
        pApp->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    Default();
    WNDPROC current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC));
    if (m_pfnSuper != nullptr && current == AfxWndProc)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    Detach();
    PostNcDestroy();
}

// ---------------------------------------------------------------------------
// Controls

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

void CListBox::GetText(int nIndex, CString& rString) const
{
    int nLen = GetTextLen(nIndex);
    if (nLen == LB_ERR) {
        rString.Empty();
        return;
    }
    SendMessage(LB_GETTEXT, static_cast<WPARAM>(nIndex),
                reinterpret_cast<LPARAM>(rString.GetBuffer(nLen)));
    rString.ReleaseBuffer();
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCSTR lpszText)
{
    LVITEMA lvi = {};
    lvi.iSubItem = nSubItem;
    lvi.pszText = const_cast<LPSTR>(lpszText);
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&lvi)));
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    // The control copies at most the buffer's size; grow it until the text
    // fits with room to spare.
    CString str;
    for (int nLen = 256;; nLen *= 2) {
        LVITEMA lvi = {};
        lvi.iSubItem = nSubItem;
        lvi.cchTextMax = nLen;
        lvi.pszText = str.GetBuffer(nLen);
        int nRes = static_cast<int>(SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(nItem),
                                                reinterpret_cast<LPARAM>(&lvi)));
        str.ReleaseBuffer();
        if (nRes < nLen - 1)
            break;
    }
    return str;
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEMA lvi = {};
    lvi.state = nState;
    lvi.stateMask = nMask;
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&lvi)));
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl()
{
    m_header.m_hWnd = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    return m_header.m_hWnd != nullptr ? &m_header : nullptr;
}

// ---------------------------------------------------------------------------
// GDI

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (hObject == nullptr || m_hObject != nullptr)
        return FALSE;
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (m_hObject == nullptr)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CFont::CreateFontIndirect(const LOGFONTA* lpLogFont)
{
    // The new font first: where it cannot be made, the object keeps its font.
    HFONT hFont = ::CreateFontIndirectA(lpLogFont);
    if (hFont == nullptr)
        return FALSE;
    DeleteObject();
    m_hObject = hFont;
    return TRUE;
}

SIZE CDC::GetTextExtent(const char* psz, int nCount) const
{
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(m_hDC, psz, nCount, &size);
    return size;
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    m_hDC = ::GetDC(m_hWnd);
}

CClientDC::~CClientDC()
{
    if (m_hDC != nullptr)
        ::ReleaseDC(m_hWnd, m_hDC);
}
