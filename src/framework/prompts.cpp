// Prompts: the texts of string resources that the frame shows about
// commands, in the status bar's message pane while a menu item is selected
// or the pointer rests on a toolbar button, and in the toolbar's tooltips.
#include "afxext.h"

UINT AfxMenuPromptID(UINT nItemID, UINT nFlags, HMENU hMenu)
{
    if (nFlags == 0xFFFF && hMenu == nullptr)
        return AFX_IDS_IDLEMESSAGE; // the menu has closed
    if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP)))
        return 0;
    if (nItemID >= 0xF000 && nItemID < 0xF1F0)
        return AFX_IDS_SCFIRST + ((nItemID - 0xF000) >> 4); // SC_xxx: 0xF000 + 16 n
    return nItemID;
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    m_nIDTracking = AfxMenuPromptID(nItemID, nFlags, hSysMenu);
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
    // A prompt is the first field of the string resource.
    CString strMessage;
    if (wParam != 0) {
        CString strFull;
        strFull.LoadString(static_cast<UINT>(wParam));
        AfxExtractSubString(strMessage, strFull, 0);
    } else if (lParam != 0) {
        strMessage = reinterpret_cast<LPCSTR>(lParam);
    }
    static_cast<CStatusBar*>(pBar)->SetPaneText(0, strMessage, TRUE);
    return nIDLast;
}

BOOL CFrameWnd::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    // The tooltip of a command is the second field of its string resource.
    UINT_PTR nID = pNMHDR->idFrom;
    BOOL bIdIsHwnd = pNMHDR->code == TTN_NEEDTEXTA
                         ? (reinterpret_cast<TOOLTIPTEXTA*>(pNMHDR)->uFlags & TTF_IDISHWND)
                         : (reinterpret_cast<TOOLTIPTEXTW*>(pNMHDR)->uFlags & TTF_IDISHWND);
    if (bIdIsHwnd)
        nID = static_cast<UINT_PTR>(::GetDlgCtrlID(reinterpret_cast<HWND>(nID)));
    CString strFull, strTip;
    if (nID != 0 && strFull.LoadString(static_cast<UINT>(nID)))
        AfxExtractSubString(strTip, strFull, 1);
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
