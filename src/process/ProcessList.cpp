// The process snapshot: the view's rows, taken from Tool Help.
#include "QuellonView.h"

#include "ProcessExecutable.h"

#include "afxhandle.h"

namespace {
const DWORD kProcessAllAccess = 0x1F0FFF;
} // namespace

BOOL CQuellonView::GetProcessModule(DWORD dwPID, DWORD dwModuleID, MODULEENTRY32* lpme, DWORD cbme)
{
    return FindExecutableModule(g_processPlatform, dwPID, dwModuleID, lpme, cbme);
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
    do {
        ProcessExecutable exe;
        if (!GetEntryExecutable(platform, pe, &exe))
            continue; // no executable, no row
        // One row per executable and path.
        if (!listed.Add(ExecutableKey(exe.szName, exe.szPath)))
            continue;

        DWORD dwPriorityClass = 0;
        CKernelHandle process(platform.pfnOpenProcess(kProcessAllAccess, FALSE, pe.th32ProcessID));
        if (process.IsValid())
            dwPriorityClass = ::GetPriorityClass(process);

        ProcessRow row;
        lstrcpynA(row.szProcess, exe.szName, sizeof row.szProcess);
        row.dwPID = pe.th32ProcessID;
        row.dwPriorityClass = dwPriorityClass;
        row.lBasePriority = pe.pcPriClassBase;
        row.dwNumThreads = pe.cntThreads;
        lstrcpynA(row.szFullPath, exe.szPath, sizeof row.szFullPath);
        InsertProcessRow(row);
    } while (platform.pfnProcess32Next(snapshot, &pe));
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
