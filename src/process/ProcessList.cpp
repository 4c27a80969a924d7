// The process snapshot: the view's rows, taken from Tool Help.
#include "QuellonView.h"

namespace {

const DWORD kProcessAllAccess = 0x1F0FFF;
const DWORD kProcessQueryLimitedInformation = 0x1000;

// Whether a module entry is the executable of the process whose entry named
// dwModuleID. The Windows 95 family names the executable's module in the
// process entry (th32ModuleID), and that module is found by its id. The NT
// family (and Wine) leave th32ModuleID 0 in process entries and give the
// modules other ids; there the executable is the first module of the
// process's module snapshot.
bool IsExecutableModule(DWORD dwModuleID, const MODULEENTRY32& me, bool bFirstModule)
{
    if (dwModuleID != 0)
        return me.th32ModuleID == dwModuleID;
    return bFirstModule;
}

// A 32-bit program cannot take a module snapshot of a 64-bit process. The
// NT family then tells the executable's path through
// QueryFullProcessImageNameA, which the Windows 95 family does not have:
// it is looked up at run time so that the program still loads there.
BOOL GetImageNameFallback(DWORD dwPID, MODULEENTRY32* lpme)
{
    typedef BOOL(WINAPI * QueryFullProcessImageNameAFn)(HANDLE, DWORD, LPSTR, PDWORD);
    HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
    QueryFullProcessImageNameAFn pfnQuery =
        hKernel ? reinterpret_cast<QueryFullProcessImageNameAFn>(reinterpret_cast<void*>(
                      ::GetProcAddress(hKernel, "QueryFullProcessImageNameA")))
                : nullptr;
    if (pfnQuery == nullptr)
        return FALSE;
    HANDLE hProcess = ::OpenProcess(kProcessQueryLimitedInformation, FALSE, dwPID);
    if (hProcess == nullptr)
        return FALSE;
    char szPath[MAX_PATH];
    DWORD cch = MAX_PATH;
    BOOL bOk = pfnQuery(hProcess, 0, szPath, &cch);
    ::CloseHandle(hProcess);
    if (!bOk || cch == 0 || cch >= MAX_PATH)
        return FALSE;
    const char* pszName = szPath;
    for (const char* p = szPath; *p != '\0'; ++p) {
        if (*p == '\\')
            pszName = p + 1;
    }
    lstrcpynA(lpme->szExePath, szPath, sizeof lpme->szExePath);
    lstrcpynA(lpme->szModule, pszName, sizeof lpme->szModule);
    lpme->th32ProcessID = dwPID;
    return TRUE;
}

} // namespace

BOOL CQuellonView::GetProcessModule(DWORD dwPID, DWORD dwModuleID, MODULEENTRY32* lpme, DWORD cbme)
{
    const ProcessPlatform& platform = g_processPlatform;
    if (!platform.HasToolHelp())
        return FALSE;
    HANDLE hSnapshot = g_processPlatform.pfnCreateToolhelp32Snapshot(TH32CS_SNAPMODULE, dwPID);
    if (hSnapshot == INVALID_HANDLE_VALUE) {
        if (dwModuleID == 0 && cbme >= sizeof(MODULEENTRY32))
            return GetImageNameFallback(dwPID, lpme);
        return FALSE;
    }
    MODULEENTRY32 me;
    me.dwSize = sizeof me;
    BOOL bFound = FALSE;
    bool bFirst = true;
    for (BOOL bMore = platform.pfnModule32First(hSnapshot, &me); bMore;
         bMore = platform.pfnModule32Next(hSnapshot, &me)) {
        if (IsExecutableModule(dwModuleID, me, bFirst)) {
            ::CopyMemory(lpme, &me, cbme < sizeof me ? cbme : sizeof me);
            bFound = TRUE;
            break;
        }
        bFirst = false;
    }
    ::CloseHandle(hSnapshot);
    return bFound;
}

BOOL CQuellonView::RefreshProcessList()
{
    const ProcessPlatform& platform = g_processPlatform;
    if (!platform.HasToolHelp())
        return FALSE; // the list keeps its rows
    HANDLE hSnapshot = platform.pfnCreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return FALSE; // the list keeps its rows

    // The list is drawn once, when it is complete: a visible list control
    // that is drawn on every insertion spends most of a refresh scrolling
    // and painting rows that nobody gets to see.
    CListCtrl& list = GetListCtrl();
    list.SetRedraw(FALSE);
    list.DeleteAllItems();

    PROCESSENTRY32 pe;
    pe.dwSize = sizeof pe;
    if (!platform.pfnProcess32First(hSnapshot, &pe)) {
        ::CloseHandle(hSnapshot);
        list.SetRedraw(TRUE);
        list.Invalidate();
        return FALSE;
    }
    do {
        MODULEENTRY32 me;
        if (!GetProcessModule(pe.th32ProcessID, pe.th32ModuleID, &me, sizeof me))
            continue; // no module, no row

        DWORD dwPriorityClass = 0;
        HANDLE hProcess = ::OpenProcess(kProcessAllAccess, FALSE, pe.th32ProcessID);
        if (hProcess != nullptr) {
            dwPriorityClass = ::GetPriorityClass(hProcess);
            ::CloseHandle(hProcess);
        }

        ProcessRow row;
        lstrcpynA(row.szProcess, me.szModule, sizeof row.szProcess);
        row.dwPID = pe.th32ProcessID;
        row.dwPriorityClass = dwPriorityClass;
        row.lBasePriority = pe.pcPriClassBase;
        row.dwNumThreads = pe.cntThreads;
        lstrcpynA(row.szFullPath, me.szExePath, sizeof row.szFullPath);
        AddProcessRow(row);
    } while (platform.pfnProcess32Next(hSnapshot, &pe));

    ::CloseHandle(hSnapshot);
    list.SetRedraw(TRUE);
    list.Invalidate();
    return TRUE;
}

BOOL CQuellonView::AddProcessRow(const ProcessRow& row)
{
    CString strPid = FormatPidText(row.dwPID);
    CString strPriority = FormatPriorityText(row.dwPriorityClass, row.lBasePriority);
    CString strThreads = FormatThreadsText(row.dwNumThreads);

    // One row per executable and path.
    if (FindProcessRow(row.szProcess, row.szFullPath))
        return TRUE;

    CListCtrl& list = GetListCtrl();
    LVITEMA lvi = {};
    lvi.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    lvi.iItem = 0;
    lvi.pszText = const_cast<char*>(row.szProcess);
    int nIndex = list.InsertItem(&lvi);
    if (nIndex == -1)
        return FALSE;
    list.SetItemText(nIndex, 1, strPid);
    list.SetItemText(nIndex, 2, strPriority);
    list.SetItemText(nIndex, 3, strThreads);
    list.SetItemText(nIndex, 4, row.szFullPath);
    return TRUE;
}

BOOL CQuellonView::FindProcessRow(LPCSTR lpszProcess, LPCSTR lpszFullPath)
{
    CString strProcess(lpszProcess);
    CString strPath(lpszFullPath);
    strProcess.MakeUpper();
    strPath.MakeUpper();
    CListCtrl& list = GetListCtrl();
    for (int i = 0; i < list.GetItemCount(); ++i) {
        CString strRowProcess = list.GetItemText(i, 0);
        CString strRowPath = list.GetItemText(i, 4);
        strRowProcess.MakeUpper();
        strRowPath.MakeUpper();
        if (strRowPath == strPath && strRowProcess == strProcess)
            return TRUE;
    }
    return FALSE;
}

int CQuellonView::FindRowByName(LPCSTR lpszProcess)
{
    CString strProcess(lpszProcess);
    strProcess.MakeUpper();
    CListCtrl& list = GetListCtrl();
    for (int i = 0; i < list.GetItemCount(); ++i) {
        CString strRowProcess = list.GetItemText(i, 0);
        strRowProcess.MakeUpper();
        if (strRowProcess == strProcess)
            return i;
    }
    return -1;
}
