// The process snapshot with real processes: copies of the helper program
// under several names and folders, started, listed and ended by the tests.
#include "TestSupport.h"

#include "ExecutableKey.h"
#include "RowTexts.h"
#include "afxhandle.h"
#include "resource.h"

#include <algorithm>
#include <tlhelp32.h>

namespace {

class ProcessTest : public QuellonTest
{
protected:
    HelperProcesses helpers;
};

// The rows whose Process text equals the name, ignoring case.
std::vector<int> RowsNamed(QuellonWindow& w, const std::string& name)
{
    std::vector<int> rows;
    std::vector<std::string> names = w.Column(0);
    for (size_t i = 0; i < names.size(); ++i) {
        if (lstrcmpiA(names[i].c_str(), name.c_str()) == 0)
            rows.push_back(static_cast<int>(i));
    }
    return rows;
}

// The process entry of a PID, from a snapshot of our own.
bool ProcessEntry(DWORD dwPID, PROCESSENTRY32* pe)
{
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    pe->dwSize = sizeof *pe;
    bool bFound = false;
    for (BOOL b = ::Process32First(hSnapshot, pe); b; b = ::Process32Next(hSnapshot, pe)) {
        if (pe->th32ProcessID == dwPID) {
            bFound = true;
            break;
        }
    }
    ::CloseHandle(hSnapshot);
    return bFound;
}

// Which of two PIDs a process snapshot enumerates first.
DWORD FirstEnumerated(DWORD a, DWORD b)
{
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 pe;
    pe.dwSize = sizeof pe;
    DWORD dwFirst = 0;
    for (BOOL bMore = ::Process32First(hSnapshot, &pe); bMore && dwFirst == 0;
         bMore = ::Process32Next(hSnapshot, &pe)) {
        if (pe.th32ProcessID == a || pe.th32ProcessID == b)
            dwFirst = pe.th32ProcessID;
    }
    ::CloseHandle(hSnapshot);
    return dwFirst;
}

bool HandleOpen(HANDLE h)
{
    DWORD dwFlags;
    return ::GetHandleInformation(h, &dwFlags) != FALSE;
}

TEST(Handles, OwnersReleaseWhatTheyHoldAndScopesPutStateBack)
{
    HANDLE hProcess = ::OpenProcess(SYNCHRONIZE, FALSE, ::GetCurrentProcessId());
    ASSERT_NE(hProcess, nullptr);
    {
        CKernelHandle owner(hProcess);
        CKernelHandle moved(static_cast<CKernelHandle&&>(owner));
        EXPECT_FALSE(owner.IsValid());
        EXPECT_EQ(moved.Get(), hProcess);
        EXPECT_TRUE(HandleOpen(hProcess));
    }
    EXPECT_FALSE(HandleOpen(hProcess)) << "the last owner closed it";

    CFileHandle snapshot;
    EXPECT_EQ(snapshot.Get(), INVALID_HANDLE_VALUE);
    snapshot.Attach(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    ASSERT_TRUE(snapshot.IsValid());
    HANDLE hSnapshot = snapshot.Get();
    snapshot.Close();
    EXPECT_FALSE(HandleOpen(hSnapshot));

    CRegKey key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, key.Receive()),
              ERROR_SUCCESS);
    HKEY hKey = key.Detach();
    EXPECT_FALSE(key.IsValid());
    EXPECT_EQ(::RegCloseKey(hKey), ERROR_SUCCESS) << "detached, not closed";

    HDC hdc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hBefore = ::GetCurrentObject(hdc, OBJ_FONT);
    HGDIOBJ hFont = ::GetStockObject(ANSI_FIXED_FONT);
    ASSERT_NE(hBefore, hFont);
    {
        CSelectScope select(hdc, hFont);
        EXPECT_EQ(::GetCurrentObject(hdc, OBJ_FONT), hFont);
    }
    EXPECT_EQ(::GetCurrentObject(hdc, OBJ_FONT), hBefore);
    ::DeleteDC(hdc);
}

TEST(ProcessTexts, ColumnTextsAndPidParsing)
{
    EXPECT_EQ(FormatPidText(255), "FF");
    EXPECT_EQ(FormatPidText(0xFFF4A3C1), "FFF4A3C1"); // top bit set: no sign
    EXPECT_EQ(FormatPriorityText(NORMAL_PRIORITY_CLASS, 8), "8  (Normal)");
    EXPECT_EQ(FormatPriorityText(IDLE_PRIORITY_CLASS, 4), "4  (Idle)");
    EXPECT_EQ(FormatPriorityText(HIGH_PRIORITY_CLASS, 13), "13  (High)");
    EXPECT_EQ(FormatPriorityText(REALTIME_PRIORITY_CLASS, 24), "24  (Real Time)");
    EXPECT_EQ(FormatPriorityText(0, 8), "8");      // class unreadable
    EXPECT_EQ(FormatPriorityText(0x4000, 6), "6"); // a class without a name here
    EXPECT_EQ(FormatPriorityText(NORMAL_PRIORITY_CLASS, -2), "-2  (Normal)");
    EXPECT_EQ(FormatThreadsText(17), "17");
    DWORD dwPID = 0;
    ASSERT_TRUE(ParsePidText("FFF4A3C1", &dwPID));
    EXPECT_EQ(dwPID, 0xFFF4A3C1u);
    ASSERT_TRUE(ParsePidText("1a", &dwPID));
    EXPECT_EQ(dwPID, 0x1Au);
    EXPECT_FALSE(ParsePidText("", &dwPID));
    EXPECT_FALSE(ParsePidText("x1", &dwPID));
}

TEST(ProcessTexts, AnExecutableIsItsNameAndPathInUpperCase)
{
    EXPECT_EQ(ExecutableKey("a.exe", "C:\\Dir\\a.exe"), ExecutableKey("A.EXE", "c:\\dir\\A.exe"));
    EXPECT_NE(ExecutableKey("a.exe", "C:\\Dir\\a.exe"), ExecutableKey("a.exe", "C:\\Other\\a.exe"));
    EXPECT_NE(ExecutableKey("a.exe", "C:\\x"), ExecutableKey("b.exe", "C:\\x"));
    // The set of one refresh keeps each executable once, past its growth.
    CExecutableSet set;
    for (int i = 0; i < 500; ++i) {
        std::string name = "p" + std::to_string(i) + ".exe";
        ASSERT_TRUE(set.Add(ExecutableKey(name.c_str(), ("C:\\" + name).c_str())));
    }
    EXPECT_EQ(set.GetCount(), 500);
    for (int i = 0; i < 500; ++i) {
        std::string name = "P" + std::to_string(i) + ".EXE";
        ASSERT_FALSE(set.Add(ExecutableKey(name.c_str(), ("c:\\" + name).c_str())));
    }
    EXPECT_TRUE(set.Contains(ExecutableKey("p499.exe", "C:\\p499.exe")));
    EXPECT_FALSE(set.Contains(ExecutableKey("p500.exe", "C:\\p500.exe")));
    EXPECT_EQ(set.GetCount(), 500);
}

TEST_F(ProcessTest, EachRowShowsItsProcessAndTheListIsSortedByName)
{
    std::string path = PlaceHelper("plain", "plain.exe");
    HelperProcess& helper = helpers.StartPath(path);
    QuellonWindow w;
    ASSERT_TRUE(w.view->RefreshProcessList());
    std::vector<int> rows = RowsNamed(w, "plain.exe");
    ASSERT_EQ(rows.size(), 1u);
    CListCtrl& list = w.view->GetListCtrl();
    PROCESSENTRY32 pe;
    ASSERT_TRUE(ProcessEntry(helper.Pid(), &pe));
    EXPECT_EQ(std::string(list.GetItemText(rows[0], 0)), "plain.exe");
    EXPECT_EQ(std::string(list.GetItemText(rows[0], 1)), std::string(FormatPidText(helper.Pid())));
    EXPECT_EQ(std::string(list.GetItemText(rows[0], 3)), std::to_string(pe.cntThreads));
    EXPECT_EQ(lstrcmpiA(list.GetItemText(rows[0], 4), path.c_str()), 0);

    std::vector<std::string> names = w.Column(0);
    ASSERT_GE(names.size(), 3u);
    for (size_t i = 1; i < names.size(); ++i)
        EXPECT_LE(lstrcmpiA(names[i - 1].c_str(), names[i].c_str()), 0)
            << names[i - 1] << " before " << names[i];
    // Our own process is listed like any other.
    EXPECT_EQ(RowsNamed(w, "process_tests.exe").size(), 1u);
}

TEST_F(ProcessTest, OneExecutableAtOnePathGivesOneRowWithTheFirstEnumeratedPid)
{
    std::string path = PlaceHelper("same", "twin.exe");
    HelperProcess& a = helpers.StartPath(path);
    HelperProcess& b = helpers.StartPath(path);
    QuellonWindow w;
    w.view->RefreshProcessList();
    std::vector<int> rows = RowsNamed(w, "twin.exe");
    ASSERT_EQ(rows.size(), 1u);
    DWORD dwFirst = FirstEnumerated(a.Pid(), b.Pid());
    ASSERT_NE(dwFirst, 0u);
    EXPECT_EQ(std::string(w.view->GetListCtrl().GetItemText(rows[0], 1)),
              std::string(FormatPidText(dwFirst)));
}

TEST_F(ProcessTest, OneNameAtTwoPathsGivesTwoRowsAndLookupFindsTheLowerIndex)
{
    helpers.Start("left", "dup.exe");
    helpers.Start("right", "dup.exe");
    QuellonWindow w;
    w.view->RefreshProcessList();
    std::vector<int> rows = RowsNamed(w, "dup.exe");
    ASSERT_EQ(rows.size(), 2u);
    std::vector<std::string> paths = w.Column(4);
    EXPECT_NE(lstrcmpiA(paths[static_cast<size_t>(rows[0])].c_str(),
                        paths[static_cast<size_t>(rows[1])].c_str()),
              0);
    EXPECT_EQ(w.view->FindRowByName("DUP.EXE"), rows[0]);
    EXPECT_EQ(w.view->FindRowByName("dup.exe"), rows[0]);
    EXPECT_EQ(w.view->FindRowByName("Dup.Exe"), rows[0]);
    EXPECT_EQ(w.view->FindRowByName("dup"), -1);
    EXPECT_EQ(w.view->FindRowByName("nothing-like-it.exe"), -1);
}

TEST_F(ProcessTest, NamesAndPathsDifferingOnlyInCaseGiveOneRow)
{
    // One file, started by two spellings of its path.
    std::string path = PlaceHelper("casing", "casey.exe");
    helpers.StartPath(path);
    std::string upper = path;
    CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
    helpers.StartPath(upper);
    QuellonWindow w;
    w.view->RefreshProcessList();
    EXPECT_EQ(RowsNamed(w, "casey.exe").size(), 1u);

    // Rows handed over in different cases are kept out the same way.
    int nBefore = w.RowCount();
    ProcessRow row = {};
    lstrcpyA(row.szProcess, "MixedCase.exe");
    lstrcpyA(row.szFullPath, "C:\\Some\\Where\\MixedCase.exe");
    row.dwPID = 0x1234;
    EXPECT_TRUE(w.view->AddProcessRow(row));
    lstrcpyA(row.szProcess, "MIXEDCASE.EXE");
    lstrcpyA(row.szFullPath, "c:\\some\\where\\mixedcase.exe");
    row.dwPID = 0x5678;
    EXPECT_TRUE(w.view->AddProcessRow(row));
    EXPECT_EQ(w.RowCount(), nBefore + 1);
    EXPECT_TRUE(w.view->FindProcessRow("mixedcase.EXE", "C:\\SOME\\WHERE\\MIXEDCASE.EXE"));
    EXPECT_FALSE(w.view->FindProcessRow("mixedcase.exe", "C:\\Elsewhere\\mixedcase.exe"));
}

TEST_F(ProcessTest, PriorityColumnNamesTheProcessesClass)
{
    struct Case
    {
        const char* name;
        DWORD dwClass;
        const char* text;
    };
    const Case cases[] = {
        {"prio_idle.exe", IDLE_PRIORITY_CLASS, "(Idle)"},
        {"prio_normal.exe", NORMAL_PRIORITY_CLASS, "(Normal)"},
        {"prio_high.exe", HIGH_PRIORITY_CLASS, "(High)"},
        {"prio_realtime.exe", REALTIME_PRIORITY_CLASS, "(Real Time)"},
    };
    std::vector<HelperProcess*> started;
    for (const Case& c : cases) {
        HelperProcess& helper = helpers.Start("priority", c.name);
        ASSERT_TRUE(::SetPriorityClass(helper.Handle(), c.dwClass)) << c.name;
        ASSERT_EQ(::GetPriorityClass(helper.Handle()), c.dwClass) << c.name;
        started.push_back(&helper);
    }
    QuellonWindow w;
    w.view->RefreshProcessList();
    for (size_t i = 0; i < started.size(); ++i) {
        std::vector<int> rows = RowsNamed(w, cases[i].name);
        ASSERT_EQ(rows.size(), 1u) << cases[i].name;
        PROCESSENTRY32 pe;
        ASSERT_TRUE(ProcessEntry(started[i]->Pid(), &pe));
        EXPECT_EQ(std::string(w.view->GetListCtrl().GetItemText(rows[0], 2)),
                  std::to_string(pe.pcPriClassBase) + "  " + cases[i].text);
    }
}

TEST_F(ProcessTest, RefreshRetakesTheSnapshot)
{
    QuellonWindow w;
    w.Command(ID_VIEW_REFRESH);
    ASSERT_GT(w.RowCount(), 0);
    EXPECT_TRUE(RowsNamed(w, "latecomer.exe").empty());
    {
        HelperProcess& late = helpers.Start("refresh", "latecomer.exe");
        EXPECT_TRUE(RowsNamed(w, "latecomer.exe").empty()) << "no refresh by itself";
        w.Command(ID_VIEW_REFRESH);
        EXPECT_EQ(RowsNamed(w, "latecomer.exe").size(), 1u);
        late.Kill();
    }
    w.Command(ID_VIEW_REFRESH);
    EXPECT_TRUE(RowsNamed(w, "latecomer.exe").empty());
}

// Whether the list will be painted: some part of it waits to be drawn.
bool ListToBePainted(QuellonWindow& w)
{
    return ::GetUpdateRect(w.view->m_hWnd, nullptr, FALSE) != FALSE;
}

TEST_F(ProcessTest, RefreshedListIsPaintedAndDrawsChangesAgain)
{
    QuellonWindow w;
    PumpMessages(50);
    ::ValidateRect(w.view->m_hWnd, nullptr);
    ASSERT_TRUE(w.view->RefreshProcessList());
    ASSERT_GT(w.RowCount(), 0);
    EXPECT_TRUE(w.view->IsWindowVisible());
    EXPECT_TRUE(ListToBePainted(w)) << "the new rows are drawn";
    PumpMessages(50);
    ASSERT_FALSE(ListToBePainted(w));
    // Drawing is on again after the refresh: a changed row is drawn.
    w.view->GetListCtrl().SetItemText(0, 3, "999");
    EXPECT_TRUE(ListToBePainted(w));
}

HANDLE WINAPI FailingSnapshot(DWORD, DWORD)
{
    return INVALID_HANDLE_VALUE;
}

HANDLE WINAPI SnapshotWithoutProcesses(DWORD, DWORD)
{
    // A snapshot of our own modules holds no process entries.
    return ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, ::GetCurrentProcessId());
}

TEST_F(ProcessTest, AFailedSnapshotKeepsTheRowsOneWithoutProcessesEmptiesTheList)
{
    QuellonWindow w;
    ASSERT_TRUE(w.view->RefreshProcessList());
    std::vector<std::string> before = w.Column(0);
    ASSERT_FALSE(before.empty());

    {
        ScopedProcessPlatform platform;
        g_processPlatform.pfnCreateToolhelp32Snapshot = FailingSnapshot;
        EXPECT_FALSE(w.view->RefreshProcessList());
        EXPECT_EQ(w.Column(0), before);
        g_processPlatform.pfnCreateToolhelp32Snapshot = SnapshotWithoutProcesses;
        EXPECT_FALSE(w.view->RefreshProcessList());
    }
    EXPECT_EQ(w.RowCount(), 0);
    EXPECT_TRUE(w.view->IsWindowVisible());
    ::ValidateRect(w.view->m_hWnd, nullptr);
    LVITEMA lvi = {};
    lvi.mask = LVIF_TEXT;
    lvi.pszText = const_cast<char*>("drawn.exe");
    w.view->GetListCtrl().InsertItem(&lvi);
    EXPECT_TRUE(ListToBePainted(w)) << "the emptied list draws changes again";
}

} // namespace
