// Killing processes: the selected row's, and the first running process of
// every Favorite.
#include "Favorites.h"
#include "MainFrm.h"
#include "QuellonApp.h"
#include "QuellonView.h"
#include "afxhandle.h"

BOOL CQuellonView::RunsExecutable(HANDLE hProcess, DWORD dwPID, LPCSTR lpszProcess,
                                  LPCSTR lpszFullPath)
{
    const ProcessPlatform& platform = g_processPlatform;
    CString strWanted = ExecutableKey(lpszProcess, lpszFullPath);
    // The system that can tell a process's executable from a handle to it
    // tells it at once.
    MODULEENTRY32 me;
    if (platform.QueryImage(hProcess, &me))
        return ExecutableKey(me.szModule, me.szExePath) == strWanted;
    if (!platform.HasToolHelp())
        return FALSE;
    // Where process entries name their executable's module (the Windows 95
    // family), the process's entry gives that module's id; elsewhere the
    // executable is the process's first module, and the module snapshot of
    // the identifier alone tells it.
    DWORD dwModuleID = 0;
    if (m_bModuleIDsInProcessEntries) {
        CFileHandle snapshot(platform.pfnCreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot.IsValid())
            return FALSE;
        PROCESSENTRY32 pe;
        pe.dwSize = sizeof pe;
        BOOL bMore = platform.pfnProcess32First(snapshot, &pe);
        while (bMore && pe.th32ProcessID != dwPID)
            bMore = platform.pfnProcess32Next(snapshot, &pe);
        if (!bMore)
            return FALSE;
        dwModuleID = pe.th32ModuleID;
    }
    if (!GetProcessModule(dwPID, dwModuleID, &me, sizeof me))
        return FALSE;
    return ExecutableKey(me.szModule, me.szExePath) == strWanted;
}

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
    if (dwPID == ::GetCurrentProcessId())
        return FALSE;
    // The right to wait is asked for too: without it the wait below would
    // return at once on the NT family instead of waiting for the end. The
    // right to ask for the executable exists only where the system can
    // answer (and where it is asked for elsewhere, the open would fail).
    const ProcessPlatform& platform = g_processPlatform;
    DWORD dwAccess = PROCESS_TERMINATE | SYNCHRONIZE;
    if (platform.pfnQueryFullProcessImageNameA != nullptr)
        dwAccess |= kProcessQueryLimitedInformation;
    CKernelHandle process(::OpenProcess(dwAccess, FALSE, dwPID));
    if (!process.IsValid())
        return FALSE;
    // A process that has ended can still be opened while handles to it are
    // open elsewhere; it is not killed again.
    if (platform.pfnWaitForSingleObject(process, 0) != WAIT_TIMEOUT)
        return FALSE;
    // While the handle is open the identifier cannot pass to another process.
    if (lpszExpectedProcess != nullptr && lpszExpectedPath != nullptr &&
        !RunsExecutable(process, dwPID, lpszExpectedProcess, lpszExpectedPath))
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
