// Killing processes: the selected row's, and the first running process of
// every Favorite.
#include "Favorites.h"
#include "MainFrm.h"
#include "QuellonApp.h"
#include "QuellonView.h"

namespace {

// Whether the process with this identifier runs the executable that a row
// shows, compared as the list compares rows (name and path upper-cased).
bool ProcessRunsExecutable(CQuellonView& view, DWORD dwPID, LPCSTR lpszProcess, LPCSTR lpszFullPath)
{
    const ProcessPlatform& platform = g_processPlatform;
    if (!platform.HasToolHelp())
        return false;
    HANDLE hSnapshot = platform.pfnCreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32 pe;
    pe.dwSize = sizeof pe;
    bool bFound = false;
    DWORD dwModuleID = 0;
    for (BOOL bMore = platform.pfnProcess32First(hSnapshot, &pe); bMore;
         bMore = platform.pfnProcess32Next(hSnapshot, &pe)) {
        if (pe.th32ProcessID == dwPID) {
            bFound = true;
            dwModuleID = pe.th32ModuleID;
            break;
        }
    }
    ::CloseHandle(hSnapshot);
    MODULEENTRY32 me;
    if (!bFound || !view.GetProcessModule(dwPID, dwModuleID, &me, sizeof me))
        return false;
    CString strWantedProcess(lpszProcess), strWantedPath(lpszFullPath);
    CString strProcess(me.szModule), strPath(me.szExePath);
    strWantedProcess.MakeUpper();
    strWantedPath.MakeUpper();
    strProcess.MakeUpper();
    strPath.MakeUpper();
    return strProcess == strWantedProcess && strPath == strWantedPath;
}

} // namespace

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
    if (!ParsePidText(list.GetItemText(nIndex, 1), &dwPID))
        return;
    // The list is a snapshot and identifiers are reused: only a process that
    // still runs the row's executable is terminated.
    if (!KillPid(dwPID, list.GetItemText(nIndex, 0), list.GetItemText(nIndex, 4)))
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
    // return at once on the NT family instead of waiting for the end.
    HANDLE hProcess = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, dwPID);
    if (hProcess == nullptr)
        return FALSE;
    // While the handle is open the identifier cannot pass to another process.
    if (lpszExpectedProcess != nullptr && lpszExpectedPath != nullptr &&
        !ProcessRunsExecutable(*this, dwPID, lpszExpectedProcess, lpszExpectedPath)) {
        ::CloseHandle(hProcess);
        return FALSE;
    }
    BOOL bTerminated = ::TerminateProcess(hProcess, 0xFFFFFFFF);
    if (bTerminated)
        ::WaitForSingleObject(hProcess, INFINITE);
    ::CloseHandle(hProcess);
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
