// Killing processes: the selected row's, and the first running process of
// every Favorite.
#include "Favorites.h"
#include "MainFrm.h"
#include "ProcessExecutable.h"
#include "QuellonApp.h"
#include "QuellonView.h"
#include "afxhandle.h"

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
    // Quellon never ends itself this way; File > Exit is for that.
    const ProcessPlatform& platform = g_processPlatform;
    if (dwPID == platform.pfnGetCurrentProcessId())
        return FALSE;
    // The right to wait is asked for too: without it the wait below would
    // return at once on the NT family instead of waiting for the end.
    CKernelHandle process(platform.pfnOpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, dwPID));
    if (!process.IsValid())
        return FALSE;
    // A process that has ended can still be opened while handles to it are
    // open elsewhere; it is not killed again.
    if (platform.pfnWaitForSingleObject(process, 0) != WAIT_TIMEOUT)
        return FALSE;
    // While the handle is open the identifier cannot pass to another process.
    if (lpszExpectedProcess != nullptr && lpszExpectedPath != nullptr &&
        !ProcessRunsExecutable(platform, dwPID, lpszExpectedProcess, lpszExpectedPath))
        return FALSE;
    BOOL bTerminated = platform.pfnTerminateProcess(process, 0xFFFFFFFF);
    if (bTerminated)
        platform.pfnWaitForSingleObject(process, INFINITE);
    return bTerminated;
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
