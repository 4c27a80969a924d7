// The process list view: a report list control that fills the main frame's
// client area, one row per running executable and path. It shows what the
// process core (src/process) finds and hands the commands to it.
#pragma once

#include "ColumnWidths.h"
#include "ProcessSnapshot.h"
#include "afxcmn.h"

#include <tlhelp32.h>

class CMainFrame;

class CQuellonView : public CListView
{
    DECLARE_DYNCREATE(CQuellonView)
public:
    // The list is a report, sorted by its first column, with multiple
    // selection.
    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void OnInitialUpdate() override;

    // Process snapshot. The list control is the only store of the rows.
    BOOL RefreshProcessList();
    // The module entry of a process's executable (FindExecutableModule).
    BOOL GetProcessModule(DWORD dwPID, DWORD dwModuleID, MODULEENTRY32* lpme, DWORD cbme);
    // Inserts a row unless one shows the same executable (FindProcessRow);
    // FALSE when the list control refused the row.
    BOOL AddProcessRow(const ProcessRow& row);
    // Whether a row shows this executable (name and path, upper-cased).
    BOOL FindProcessRow(LPCSTR lpszProcess, LPCSTR lpszFullPath);
    // The first row whose Process text is the name, upper-cased; -1 if none.
    int FindRowByName(LPCSTR lpszProcess);

    // Killing.
    void KillRow(int nIndex, BOOL bRefresh);
    // Terminates the process and waits until it has ended (EndProcess).
    BOOL KillPid(DWORD dwPID, LPCSTR lpszExpectedProcess = nullptr,
                 LPCSTR lpszExpectedPath = nullptr);
    BOOL KillFavorites();

    // Start-up checks, run once by the main frame's start-up timer.
    void RunStartupChecks();
    BOOL IsWindows9x();

    // Command handlers.
    void OnKillSelected();
    void OnKillFavorites();
    void OnKillFavoritesExit();
    void OnEditFavorites();
    void OnRefresh();
    void OnUpdateKillSelected(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

private:
    CMainFrame* GetMainFrame() const;
    // Formats and inserts a row, without looking for one like it.
    BOOL InsertProcessRow(const ProcessRow& row);
    // The executable key (ExecutableKey) of a row, read back from the list.
    CString RowKey(int nIndex) const;
};
