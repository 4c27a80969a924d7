// Message maps: the search of a class's maps and its base classes' for the
// handler of a message, a command or a notification; the routing of
// commands through CCmdTarget; and the way of a window's message from the
// window procedure to its handler, with reflection to child controls.
#include "afxwin.h"

namespace {

MSG g_lastSent = {}; // the message being handled, for Default()

bool EntryMatches(const AFX_MSGMAP_ENTRY& e, UINT nMessage, UINT nCode, UINT nID)
{
    return e.nMessage == nMessage && e.nCode == nCode && nID >= e.nID && nID <= e.nLastID;
}

// Offers every entry that matches, the most derived class's map first, to
// fn until fn takes one (returns TRUE); whether one was taken.
template <class Fn>
BOOL ForEachMatchingEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID, Fn fn)
{
    for (; pMap != nullptr; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->pfn != nullptr; ++e) {
            if (EntryMatches(*e, nMessage, nCode, nID) && fn(*e))
                return TRUE;
        }
    }
    return FALSE;
}

} // namespace

// ---------------------------------------------------------------------------
// CCmdTarget

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

BOOL CCmdTarget::DispatchToMap(UINT nMessage, UINT nCode, UINT nID, AFX_CALL& call)
{
    return ForEachMatchingEntry(GetMessageMap(), nMessage, nCode, nID,
                                [&](const AFX_MSGMAP_ENTRY& e) { return e.pfn(this, call); });
}

BOOL CCmdTarget::HasMapEntry(UINT nMessage, UINT nCode, UINT nID) const
{
    return ForEachMatchingEntry(GetMessageMap(), nMessage, nCode, nID,
                                [](const AFX_MSGMAP_ENTRY&) { return TRUE; });
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
// Windows

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);

    MSG previous = g_lastSent;
    g_lastSent.hwnd = hWnd;
    g_lastSent.message = message;
    g_lastSent.wParam = wParam;
    g_lastSent.lParam = lParam;
    LRESULT lResult = 0;
    if (message == WM_NCDESTROY)
        pWnd->OnNcDestroyInternal();
    else
        lResult = pWnd->WindowProc(message, wParam, lParam);
    g_lastSent = previous;
    return lResult;
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
    const MSG& msg = g_lastSent;
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
