// The process snapshot: the view's rows, taken from Tool Help.
#include "QuellonView.h"

#include "afxhandle.h"

namespace {

const DWORD kProcessAllAccess = 0x1F0FFF;

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
// QueryFullProcessImageNameA, which the Windows 95 family does not have.
BOOL GetImageNameFallback(const ProcessPlatform& platform, DWORD dwPID, MODULEENTRY32* lpme)
{
    if (platform.pfnQueryFullProcessImageNameA == nullptr)
        return FALSE;
    CKernelHandle process(::OpenProcess(kProcessQueryLimitedInformation, FALSE, dwPID));
    if (!process.IsValid() || !platform.QueryImage(process, lpme))
        return FALSE;
    lpme->th32ProcessID = dwPID;
    return TRUE;
}

} // namespace

BOOL CQuellonView::GetProcessModule(DWORD dwPID, DWORD dwModuleID, MODULEENTRY32* lpme, DWORD cbme)
{
    const ProcessPlatform& platform = g_processPlatform;
    if (!platform.HasToolHelp())
        return FALSE;
    CFileHandle snapshot(platform.pfnCreateToolhelp32Snapshot(TH32CS_SNAPMODULE, dwPID));
    if (!snapshot.IsValid()) {
        if (dwModuleID == 0 && cbme >= sizeof(MODULEENTRY32))
            return GetImageNameFallback(platform, dwPID, lpme);
        return FALSE;
    }
    MODULEENTRY32 me;
    me.dwSize = sizeof me;
    bool bFirst = true;
    for (BOOL bMore = platform.pfnModule32First(snapshot, &me); bMore;
         bMore = platform.pfnModule32Next(snapshot, &me)) {
        if (IsExecutableModule(dwModuleID, me, bFirst)) {
            ::CopyMemory(lpme, &me, cbme < sizeof me ? cbme : sizeof me);
            return TRUE;
        }
        bFirst = false;
    }
    return FALSE;
}

BOOL CQuellonView::RefreshProcessList()
{
    const ProcessPlatform& platform = g_processPlatform;
    if (!platform.HasToolHelp())
        return FALSE; // the list keeps its rows
    CFileHandle snapshot(platform.pfnCreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.IsValid())
        return FALSE; // the list keeps its rows

    // The list is drawn once, when it is complete: a visible list control
    // that is drawn on every insertion spends most of a refresh scrolling
    // and painting rows that nobody gets to see.
    CListCtrl& list = GetListCtrl();
    CRedrawScope redraw(list);
    list.DeleteAllItems();

    PROCESSENTRY32 pe;
    pe.dwSize = sizeof pe;
    if (!platform.pfnProcess32First(snapshot, &pe))
        return FALSE;
    // The executables listed so far: the list is empty at the start, so
    // this is what reading the rows back would tell, without reading them.
    CExecutableSet listed;
    BOOL bModuleIDs = FALSE;
    do {
        if (pe.th32ModuleID != 0)
            bModuleIDs = TRUE;
        MODULEENTRY32 me;
        if (!GetProcessModule(pe.th32ProcessID, pe.th32ModuleID, &me, sizeof me))
            continue; // no module, no row
        // One row per executable and path.
        if (!listed.Add(ExecutableKey(me.szModule, me.szExePath)))
            continue;

        DWORD dwPriorityClass = 0;
        CKernelHandle process(::OpenProcess(kProcessAllAccess, FALSE, pe.th32ProcessID));
        if (process.IsValid())
            dwPriorityClass = ::GetPriorityClass(process);

        ProcessRow row;
        lstrcpynA(row.szProcess, me.szModule, sizeof row.szProcess);
        row.dwPID = pe.th32ProcessID;
        row.dwPriorityClass = dwPriorityClass;
        row.lBasePriority = pe.pcPriClassBase;
        row.dwNumThreads = pe.cntThreads;
        lstrcpynA(row.szFullPath, me.szExePath, sizeof row.szFullPath);
        InsertProcessRow(row);
    } while (platform.pfnProcess32Next(snapshot, &pe));
    m_bModuleIDsInProcessEntries = bModuleIDs;
    return TRUE;
}

BOOL CQuellonView::AddProcessRow(const ProcessRow& row)
{
    // One row per executable and path.
    if (FindProcessRow(row.szProcess, row.szFullPath))
        return TRUE;
    return InsertProcessRow(row);
}

BOOL CQuellonView::InsertProcessRow(const ProcessRow& row)
{
    CString strPid = FormatPidText(row.dwPID);
    CString strPriority = FormatPriorityText(row.dwPriorityClass, row.lBasePriority);
    CString strThreads = FormatThreadsText(row.dwNumThreads);

    CListCtrl& list = GetListCtrl();
    LVITEMA lvi = {};
    lvi.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    lvi.iItem = 0;
    lvi.pszText = const_cast<char*>(row.szProcess);
    int nIndex = list.InsertItem(&lvi);
    if (nIndex == -1)
        return FALSE;
    list.SetItemText(nIndex, kColumnPid, strPid);
    list.SetItemText(nIndex, kColumnPriority, strPriority);
    list.SetItemText(nIndex, kColumnThreads, strThreads);
    list.SetItemText(nIndex, kColumnPath, row.szFullPath);
    return TRUE;
}

BOOL CQuellonView::FindProcessRow(LPCSTR lpszProcess, LPCSTR lpszFullPath)
{
    CString strKey = ExecutableKey(lpszProcess, lpszFullPath);
    CListCtrl& list = GetListCtrl();
    for (int i = 0; i < list.GetItemCount(); ++i) {
        if (RowKey(i) == strKey)
            return TRUE;
    }
    return FALSE;
}

CString CQuellonView::RowKey(int nIndex) const
{
    CListCtrl& list = GetListCtrl();
    return ExecutableKey(list.GetItemText(nIndex, kColumnProcess),
                         list.GetItemText(nIndex, kColumnPath));
}

int CQuellonView::FindRowByName(LPCSTR lpszProcess)
{
    CString strProcess(lpszProcess);
    strProcess.MakeUpper();
    CListCtrl& list = GetListCtrl();
    for (int i = 0; i < list.GetItemCount(); ++i) {
        CString strRowProcess = list.GetItemText(i, kColumnProcess);
        strRowProcess.MakeUpper();
        if (strRowProcess == strProcess)
            return i;
    }
    return -1;
}
