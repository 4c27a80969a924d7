// Command enabling: the request that asks a command target's enabling
// handlers about one menu item or toolbar button, its form for checks that
// need only the answer, and the frame's two occasions to ask: a menu that
// opens, and the message loop that becomes idle (the bars' buttons).
#include "afxext.h"

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
// The frame

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

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    for (CControlBar* pBar : m_listControlBars) {
        if (pBar->m_hWnd != nullptr && pBar->IsBarVisible())
            pBar->OnUpdateCmdUI(this, static_cast<BOOL>(wParam));
    }
    OnUpdateFrameTitle(TRUE);
    return 0;
}
