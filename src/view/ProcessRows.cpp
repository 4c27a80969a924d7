// The list's rows: the process core's snapshot shown, and rows found again
// by their texts.
#include "QuellonView.h"

#include "ExecutableKey.h"
#include "ProcessExecutable.h"
#include "RowTexts.h"

BOOL CQuellonView::RefreshProcessList()
{
    CArray<ProcessRow> rows;
    SnapshotResult result = TakeProcessSnapshot(g_processPlatform, rows);
    if (result == SnapshotNone)
        return FALSE; // the list keeps its rows
    // The list is drawn once, when it is complete: a visible list control
    // that is drawn on every insertion spends most of a refresh scrolling
    // and painting rows that nobody gets to see.
    CListCtrl& list = GetListCtrl();
    CRedrawScope redraw(list);
    list.DeleteAllItems();
    // The snapshot holds one row per executable already.
    for (const ProcessRow& row : rows)
        InsertProcessRow(row);
    return result == SnapshotTaken;
}

BOOL CQuellonView::GetProcessModule(DWORD dwPID, DWORD dwModuleID, MODULEENTRY32* lpme, DWORD cbme)
{
    return FindExecutableModule(g_processPlatform, dwPID, dwModuleID, lpme, cbme);
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
    CListCtrl& list = GetListCtrl();
    return FindFirstProcessName(
        list.GetItemCount(), [&list](int i) { return list.GetItemText(i, kColumnProcess); },
        lpszProcess);
}
