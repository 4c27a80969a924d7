// The process list view: columns, initial update, the commands and the
// start-up checks.
#include "QuellonView.h"

#include "EndProcess.h"
#include "Favorites.h"
#include "FavoritesDlg.h"
#include "MainFrm.h"
#include "QuellonApp.h"
#include "RowTexts.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CQuellonView, CListView)

BEGIN_MESSAGE_MAP(CQuellonView, CListView)
    ON_COMMAND(ID_PROCESS_KILL, &CQuellonView::OnKillSelected)
    ON_UPDATE_COMMAND_UI(ID_PROCESS_KILL, &CQuellonView::OnUpdateKillSelected)
    ON_COMMAND(ID_PROCESS_KILLFAVORITES, &CQuellonView::OnKillFavorites)
    ON_COMMAND(ID_PROCESS_KILLFAVORITESEXIT, &CQuellonView::OnKillFavoritesExit)
    ON_COMMAND(ID_PROCESS_EDITFAVORITES, &CQuellonView::OnEditFavorites)
    ON_COMMAND(ID_VIEW_REFRESH, &CQuellonView::OnRefresh)
END_MESSAGE_MAP()

namespace {
const char* const kColumnHeaders[kColumnCount] = {"Process", "PID", "Base Priority", "Num. Threads",
                                                  "FullPath"};
}

BOOL CQuellonView::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                          const RECT& rect, CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    dwStyle |= LVS_REPORT | LVS_SORTASCENDING | LVS_ALIGNLEFT;
    return CListView::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID,
                             pContext);
}

BOOL CQuellonView::PreCreateWindow(CREATESTRUCTA& cs)
{
    return CListView::PreCreateWindow(cs);
}

CMainFrame* CQuellonView::GetMainFrame() const
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == nullptr || !pFrame->IsKindOf(RUNTIME_CLASS(CMainFrame)))
        return nullptr;
    return static_cast<CMainFrame*>(pFrame);
}

void CQuellonView::OnInitialUpdate()
{
    CListView::OnInitialUpdate();

    CListCtrl& list = GetListCtrl();
    RECT rc;
    list.GetClientRect(&rc);
    int widths[kColumnCount];
    ReadColumnWidths(GetQuellonApp()->m_settings, rc.right - rc.left, widths);
    for (int i = 0; i < kColumnCount; ++i) {
        LVCOLUMNA col = {};
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        col.fmt = LVCFMT_LEFT;
        col.cx = widths[i];
        col.pszText = const_cast<char*>(kColumnHeaders[i]);
        col.iSubItem = i;
        list.InsertColumn(i, &col);
    }

    // From now on the frame saves its placement; the first snapshot comes
    // from the start-up checks when the frame's timer fires.
    CMainFrame* pFrame = GetMainFrame();
    if (pFrame != nullptr) {
        pFrame->m_bViewReady = TRUE;
        pFrame->StartStartupTimer();
    }
}

void CQuellonView::OnUpdateKillSelected(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetListCtrl().GetNextItem(-1, LVNI_SELECTED) != -1);
}

void CQuellonView::OnRefresh()
{
    RefreshProcessList();
}

void CQuellonView::OnEditFavorites()
{
    CFavoritesDlg dlg;
    dlg.DoModal();
}

// ---------------------------------------------------------------------------
// Killing

void CQuellonView::OnKillSelected()
{
    int nIndex = GetListCtrl().GetNextItem(-1, LVNI_SELECTED);
    if (nIndex == -1)
        return;
    KillRow(nIndex, TRUE);
}

void CQuellonView::KillRow(int nIndex, BOOL bRefresh)
{
    CListCtrl& list = GetListCtrl();
    DWORD dwPID;
    if (!ParsePidText(list.GetItemText(nIndex, kColumnPid), &dwPID))
        return;
    // The list is a snapshot and identifiers are reused: only a process that
    // still runs the row's executable is terminated.
    if (!KillPid(dwPID, list.GetItemText(nIndex, kColumnProcess),
                 list.GetItemText(nIndex, kColumnPath)))
        return;
    list.DeleteItem(nIndex);
    if (bRefresh)
        RefreshProcessList();
}

BOOL CQuellonView::KillPid(DWORD dwPID, LPCSTR lpszExpectedProcess, LPCSTR lpszExpectedPath)
{
    return EndProcess(g_processPlatform, dwPID, lpszExpectedProcess, lpszExpectedPath);
}

BOOL CQuellonView::KillFavorites()
{
    RefreshProcessList();
    CArray<CString> favorites = LoadFavorites(GetQuellonApp()->m_settings);
    if (favorites.IsEmpty()) {
        AfxMessageBox("Favorites List has no Contents - hit F2 to Edit", MB_OK);
        return FALSE;
    }
    // The pass handles no other messages until it ends; the list is drawn
    // when it has been refreshed and again after each kill, so that a
    // killed row is gone from the screen before the next name is shown.
    CListCtrl& list = GetListCtrl();
    list.UpdateWindow();
    CMainFrame* pFrame = GetMainFrame();
    for (const CString& strName : favorites) {
        if (pFrame != nullptr)
            pFrame->SetStatusPaneText(STATUS_PANE_KILL, "Killing... " + strName);
        int nIndex = FindRowByName(strName);
        if (nIndex != -1) {
            KillRow(nIndex, FALSE);
            list.UpdateWindow();
        }
    }
    if (pFrame != nullptr)
        pFrame->SetStatusPaneText(STATUS_PANE_KILL, "     ");
    return TRUE;
}

void CQuellonView::OnKillFavorites()
{
    KillFavorites();
}

void CQuellonView::OnKillFavoritesExit()
{
    if (KillFavorites()) {
        CWnd* pMainWnd = AfxGetMainWnd();
        if (pMainWnd != nullptr)
            pMainWnd->PostMessage(WM_CLOSE, 0, 0);
    }
}

// ---------------------------------------------------------------------------
// Start-up checks

void CQuellonView::RunStartupChecks()
{
    // Tool Help is part of every kernel of the Windows 95 family; without it
    // the platform is refused as well.
    if (!IsWindows9x() || !g_processPlatform.HasToolHelp()) {
        AfxMessageBox("Quellon is not designed for NT or Win2K", MB_OK);
        CWnd* pMainWnd = AfxGetMainWnd();
        if (pMainWnd != nullptr)
            pMainWnd->PostMessage(WM_CLOSE, 0, 0);
        return;
    }
    CSettingsStore& settings = GetQuellonApp()->m_settings;
    if (settings.ReadInt("Newbie", "Start", 1) != 0) {
        AfxMessageBox("Quellon is for advanced users.\n\n"
                      "Take care when killing programs that live\n"
                      "in the Windows folder or its sub-folders.",
                      MB_OK);
        settings.WriteInt("Newbie", "Start", 0);
    }
    RefreshProcessList();
}

BOOL CQuellonView::IsWindows9x()
{
    return g_processPlatform.IsWindows95Family();
}
