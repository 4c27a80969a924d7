// Timings of Quellon under Wine, taken with QueryPerformanceCounter:
//
//   quellon_bench refresh   RefreshProcessList of the real view with 50, 100
//                           and 200 extra processes, beside the platform's
//                           floor for the same work, and where its time goes
//   quellon_bench kill      a Kill Favorites pass over 20 processes, beside
//                           taskkill /F and plain TerminateProcess
//   quellon_bench startup   Quellon.exe from its start to the first filled
//                           list, and its peak working set then
//
// Each result is printed as one line "<key> <value>"; times are in
// milliseconds, medians of the repetitions. The helper processes are copies
// of qhelper.exe, which lies beside this program.
#include "TestSupport.h"

#include "Favorites.h"
#include "ProcessExecutable.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

LARGE_INTEGER g_frequency;

LONGLONG Now()
{
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return t.QuadPart;
}

double Ms(LONGLONG ticks)
{
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(g_frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

void Report(const std::string& key, double value)
{
    std::printf("%s %.3f\n", key.c_str(), value);
    std::fflush(stdout);
}

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "quellon_bench: %s\n", what.c_str());
    std::exit(1);
}

std::string Numbered(const char* format, int n)
{
    char sz[64];
    std::snprintf(sz, sizeof sz, format, n);
    return sz;
}

HelperProcess& StartHelper(HelperProcesses& helpers, const std::string& folder,
                           const std::string& name)
{
    HelperProcess& helper = helpers.Start(folder, name);
    if (!helper.Running())
        Fail("the helper " + name + " did not start");
    return helper;
}

// ---------------------------------------------------------------------------
// Refresh

// The least work that a refresh asks of the platform: one process snapshot
// walked and one module snapshot per process, whose first module is read.
// Returns the number of processes.
int PlatformFloor()
{
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        Fail("no process snapshot");
    int nProcesses = 0;
    PROCESSENTRY32 pe;
    pe.dwSize = sizeof pe;
    for (BOOL bMore = ::Process32First(hSnapshot, &pe); bMore;
         bMore = ::Process32Next(hSnapshot, &pe)) {
        ++nProcesses;
        HANDLE hModules = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pe.th32ProcessID);
        if (hModules != INVALID_HANDLE_VALUE) {
            MODULEENTRY32 me;
            me.dwSize = sizeof me;
            ::Module32First(hModules, &me);
            ::CloseHandle(hModules);
        }
    }
    ::CloseHandle(hSnapshot);
    return nProcesses;
}

// Where the time of one refresh goes. The refresh's steps are taken one by
// one with the view's own operations, each step timed: the process snapshot
// and its walk, emptying the list, the module lookup, the check against the
// executables listed so far (ExecutableKey and CExecutableSet), the
// priority class, and the row's texts and the list control's inserts
// (AddProcessRow less its own scan of the rows, FindProcessRow). That scan,
// which reads every row back, is what the check replaced; it is timed too,
// for comparison, and not counted in the refresh. As the refresh does, the
// list is drawn once at the end; with bDrawEachRow it is drawn on every
// insertion instead, for comparison.
struct RefreshSplit
{
    double snapshot = 0, clear = 0, modules = 0, check = 0, priority = 0, scan = 0, insert = 0,
           total = 0;
};

RefreshSplit TimedRefresh(CQuellonView* view, bool bDrawEachRow)
{
    RefreshSplit split;
    LONGLONG snapshot = 0, modules = 0, check = 0, priority = 0, scan = 0, add = 0;
    LONGLONG tStart = Now();
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    LONGLONG t = Now();
    snapshot += t - tStart;
    if (hSnapshot == INVALID_HANDLE_VALUE)
        Fail("no process snapshot");
    CListCtrl& list = view->GetListCtrl();
    if (!bDrawEachRow)
        list.SetRedraw(FALSE);
    list.DeleteAllItems();
    LONGLONG tClear = Now() - t;
    PROCESSENTRY32 pe;
    pe.dwSize = sizeof pe;
    t = Now();
    BOOL bMore = ::Process32First(hSnapshot, &pe);
    snapshot += Now() - t;
    CExecutableSet listed;
    while (bMore) {
        ProcessExecutable exe;
        t = Now();
        BOOL bFound = GetEntryExecutable(g_processPlatform, pe, &exe);
        modules += Now() - t;
        t = Now();
        bFound = bFound && listed.Add(ExecutableKey(exe.szName, exe.szPath));
        check += Now() - t;
        if (bFound) {
            t = Now();
            DWORD dwPriorityClass = 0;
            HANDLE hProcess = ::OpenProcess(0x1F0FFF, FALSE, pe.th32ProcessID);
            if (hProcess != nullptr) {
                dwPriorityClass = ::GetPriorityClass(hProcess);
                ::CloseHandle(hProcess);
            }
            priority += Now() - t;
            ProcessRow row;
            lstrcpynA(row.szProcess, exe.szName, sizeof row.szProcess);
            row.dwPID = pe.th32ProcessID;
            row.dwPriorityClass = dwPriorityClass;
            row.lBasePriority = pe.pcPriClassBase;
            row.dwNumThreads = pe.cntThreads;
            lstrcpynA(row.szFullPath, exe.szPath, sizeof row.szFullPath);
            // AddProcessRow scans the rows before it inserts.
            t = Now();
            view->FindProcessRow(row.szProcess, row.szFullPath);
            scan += Now() - t;
            t = Now();
            view->AddProcessRow(row);
            add += Now() - t;
        }
        t = Now();
        bMore = ::Process32Next(hSnapshot, &pe);
        snapshot += Now() - t;
    }
    t = Now();
    ::CloseHandle(hSnapshot);
    snapshot += Now() - t;
    t = Now();
    if (!bDrawEachRow) {
        list.SetRedraw(TRUE);
        list.Invalidate();
    }
    tClear += Now() - t;
    LONGLONG total = Now() - tStart - scan; // without the extra scan
    split.snapshot = Ms(snapshot);
    split.clear = Ms(tClear);
    split.modules = Ms(modules);
    split.check = Ms(check);
    split.priority = Ms(priority);
    split.scan = Ms(scan);
    split.insert = Ms(add - scan);
    split.total = Ms(total);
    return split;
}

void BenchRefresh(int nRepetitions)
{
    const int nDrawEachRow = std::min(nRepetitions, 5);
    ResetQuellonSettings();
    HelperProcesses helpers;
    QuellonWindow w;
    if (w.view == nullptr)
        Fail("no main window");
    PumpMessages(500); // the start-up timer's first refresh
    int nStarted = 0;
    for (int n : {50, 100, 200}) {
        for (; nStarted < n; ++nStarted)
            StartHelper(helpers, "bench-refresh", Numbered("rf%03d.exe", nStarted));
        PumpMessages(200);
        for (int i = 0; i < 2; ++i) { // warming up
            w.view->RefreshProcessList();
            PlatformFloor();
            PumpMessages(20);
        }
        std::vector<double> real, floor, snapshot, clear, modules, check, priority, scan, insert;
        std::vector<double> replica;
        std::vector<double> eachRowInsert, eachRowTotal;
        int nProcesses = 0;
        for (int i = 0; i < nRepetitions; ++i) {
            LONGLONG t = Now();
            w.view->RefreshProcessList();
            real.push_back(Ms(Now() - t));
            PumpMessages(20); // the list is painted outside the timing
            t = Now();
            nProcesses = PlatformFloor();
            floor.push_back(Ms(Now() - t));
            RefreshSplit split = TimedRefresh(w.view, false);
            PumpMessages(20);
            if (i < nDrawEachRow) {
                RefreshSplit drawn = TimedRefresh(w.view, true);
                PumpMessages(20);
                eachRowInsert.push_back(drawn.insert);
                eachRowTotal.push_back(drawn.total);
            }
            snapshot.push_back(split.snapshot);
            clear.push_back(split.clear);
            modules.push_back(split.modules);
            check.push_back(split.check);
            priority.push_back(split.priority);
            scan.push_back(split.scan);
            insert.push_back(split.insert);
            replica.push_back(split.total);
        }
        w.view->RefreshProcessList();
        int nRows = w.RowCount();
        if (nRows < n || w.view->FindRowByName("rf000.exe") == -1 ||
            w.view->FindRowByName(Numbered("rf%03d.exe", n - 1).c_str()) == -1)
            Fail("the list does not show every helper");
        std::string key = "refresh." + std::to_string(n) + ".";
        Report(key + "processes", nProcesses);
        Report(key + "rows", nRows);
        Report(key + "median", Median(real));
        Report(key + "floor", Median(floor));
        Report(key + "ratio", Median(real) / Median(floor));
        Report(key + "split.snapshot", Median(snapshot));
        Report(key + "split.clear", Median(clear));
        Report(key + "split.modules", Median(modules));
        Report(key + "split.check", Median(check));
        Report(key + "split.priority", Median(priority));
        Report(key + "split.scan", Median(scan));
        Report(key + "split.insert", Median(insert));
        Report(key + "split.total", Median(replica));
        Report(key + "drawn_each_row.insert", Median(eachRowInsert));
        Report(key + "drawn_each_row.total", Median(eachRowTotal));
    }
    Report("refresh.repetitions", nRepetitions);
    Report("refresh.drawn_each_row.repetitions", nDrawEachRow);
}

// ---------------------------------------------------------------------------
// Kill

const int kKillCount = 20;

std::vector<HelperProcess*> StartKillSet(HelperProcesses& helpers)
{
    std::vector<HelperProcess*> set;
    for (int i = 0; i < kKillCount; ++i)
        set.push_back(&StartHelper(helpers, "bench-kill", Numbered("kl%02d.exe", i)));
    return set;
}

void ExpectAllEnded(const std::vector<HelperProcess*>& set, const char* how)
{
    for (HelperProcess* helper : set) {
        if (!helper->WaitEnded(0))
            Fail(std::string(how) + " left a process running");
    }
}

double KillWithTaskkill(const std::vector<HelperProcess*>& set)
{
    std::string cmd = WindowsDir() + "\\system32\\taskkill.exe /F";
    for (HelperProcess* helper : set)
        cmd += " /PID " + std::to_string(helper->Pid());
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    LONGLONG t = Now();
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                          nullptr, &si, &pi))
        Fail("taskkill did not start");
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    for (HelperProcess* helper : set)
        ::WaitForSingleObject(helper->Handle(), INFINITE);
    double ms = Ms(Now() - t);
    DWORD dwCode = 1;
    ::GetExitCodeProcess(pi.hProcess, &dwCode);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    if (dwCode != 0)
        Fail("taskkill failed");
    return ms;
}

double KillDirectly(const std::vector<HelperProcess*>& set)
{
    LONGLONG t = Now();
    for (HelperProcess* helper : set) {
        HANDLE hProcess = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, helper->Pid());
        if (hProcess == nullptr)
            Fail("a helper could not be opened");
        if (::TerminateProcess(hProcess, 0xFFFFFFFF))
            ::WaitForSingleObject(hProcess, INFINITE);
        ::CloseHandle(hProcess);
    }
    return Ms(Now() - t);
}

// Where the time of a Kill Favorites pass goes: its steps taken one by one
// with the view's and the frame's own operations (the refresh, the
// Favorites read from the registry, the status pane, the row lookup, the
// kill with its wait for the end, the row's deletion, the list drawn after
// the refresh and after each kill).
struct KillSplit
{
    double refresh = 0, favorites = 0, status = 0, lookup = 0, kill = 0, remove = 0, draw = 0,
           total = 0;
};

KillSplit TimedKillPass(QuellonWindow& w)
{
    KillSplit split;
    LONGLONG status = 0, lookup = 0, kill = 0, remove = 0, draw = 0;
    LONGLONG tStart = Now();
    w.view->RefreshProcessList();
    LONGLONG t = Now();
    split.refresh = Ms(t - tStart);
    CArray<CString> favorites = LoadFavorites(GetQuellonApp()->m_settings);
    split.favorites = Ms(Now() - t);
    CListCtrl& list = w.view->GetListCtrl();
    t = Now();
    list.UpdateWindow();
    draw += Now() - t;
    for (const CString& strName : favorites) {
        t = Now();
        w.frame->SetStatusPaneText(STATUS_PANE_KILL, "Killing... " + strName);
        status += Now() - t;
        t = Now();
        int nIndex = w.view->FindRowByName(strName);
        lookup += Now() - t;
        if (nIndex == -1)
            continue;
        t = Now();
        DWORD dwPID = 0;
        BOOL bKilled = ParsePidText(list.GetItemText(nIndex, kColumnPid), &dwPID) &&
                       w.view->KillPid(dwPID, list.GetItemText(nIndex, kColumnProcess),
                                       list.GetItemText(nIndex, kColumnPath));
        kill += Now() - t;
        t = Now();
        if (bKilled)
            list.DeleteItem(nIndex);
        remove += Now() - t;
        t = Now();
        list.UpdateWindow();
        draw += Now() - t;
    }
    t = Now();
    w.frame->SetStatusPaneText(STATUS_PANE_KILL, "     ");
    status += Now() - t;
    split.total = Ms(Now() - tStart);
    split.status = Ms(status);
    split.lookup = Ms(lookup);
    split.kill = Ms(kill);
    split.remove = Ms(remove);
    split.draw = Ms(draw);
    return split;
}

void BenchKill(int nRepetitions)
{
    ResetQuellonSettings();
    const std::string section = std::string(kQuellonKey) + "\\Settings";
    for (int i = 0; i < kKillCount; ++i)
        WriteRegistryText(HKEY_LOCAL_MACHINE, section, Numbered("Fav%d", i),
                          Numbered("kl%02d.exe", i));
    QuellonWindow w;
    if (w.view == nullptr)
        Fail("no main window");
    PumpMessages(500);
    std::vector<double> quellon, taskkill, direct;
    std::vector<double> refresh, favorites, status, lookup, kill, remove, draw, replica;
    int nRows = 0;
    for (int i = 0; i < nRepetitions; ++i) {
        {
            HelperProcesses helpers;
            std::vector<HelperProcess*> set = StartKillSet(helpers);
            PumpMessages(50);
            LONGLONG t = Now();
            BOOL bRan = w.view->KillFavorites();
            quellon.push_back(Ms(Now() - t));
            if (!bRan)
                Fail("the Kill Favorites pass did not run");
            ExpectAllEnded(set, "the Kill Favorites pass");
            nRows = w.RowCount();
            PumpMessages(50);
        }
        {
            HelperProcesses helpers;
            std::vector<HelperProcess*> set = StartKillSet(helpers);
            PumpMessages(50);
            KillSplit split = TimedKillPass(w);
            ExpectAllEnded(set, "the timed Kill Favorites steps");
            refresh.push_back(split.refresh);
            favorites.push_back(split.favorites);
            status.push_back(split.status);
            lookup.push_back(split.lookup);
            kill.push_back(split.kill);
            remove.push_back(split.remove);
            draw.push_back(split.draw);
            replica.push_back(split.total);
            PumpMessages(50);
        }
        {
            HelperProcesses helpers;
            std::vector<HelperProcess*> set = StartKillSet(helpers);
            taskkill.push_back(KillWithTaskkill(set));
            ExpectAllEnded(set, "taskkill");
        }
        {
            HelperProcesses helpers;
            std::vector<HelperProcess*> set = StartKillSet(helpers);
            direct.push_back(KillDirectly(set));
            ExpectAllEnded(set, "TerminateProcess");
        }
    }
    if (!TestApp().m_boxes.empty())
        Fail("a message box was shown");
    Report("kill.count", kKillCount);
    Report("kill.rows_left", nRows);
    Report("kill.quellon", Median(quellon));
    Report("kill.taskkill", Median(taskkill));
    Report("kill.ratio", Median(quellon) / Median(taskkill));
    Report("kill.direct", Median(direct));
    // The pass's own floor: its refresh, and opening, terminating and
    // waiting for each process with nothing else.
    Report("kill.floor", Median(refresh) + Median(direct));
    Report("kill.floor_ratio", Median(quellon) / (Median(refresh) + Median(direct)));
    Report("kill.split.refresh", Median(refresh));
    Report("kill.split.favorites", Median(favorites));
    Report("kill.split.status", Median(status));
    Report("kill.split.lookup", Median(lookup));
    Report("kill.split.kill", Median(kill));
    Report("kill.split.remove", Median(remove));
    Report("kill.split.draw", Median(draw));
    Report("kill.split.total", Median(replica));
    Report("kill.repetitions", nRepetitions);
}

// ---------------------------------------------------------------------------
// Start-up

struct ListSearch
{
    DWORD dwPID;
    HWND hList;
};

BOOL CALLBACK FindListOfProcess(HWND hWnd, LPARAM lParam)
{
    ListSearch* pSearch = reinterpret_cast<ListSearch*>(lParam);
    DWORD dwPID = 0;
    ::GetWindowThreadProcessId(hWnd, &dwPID);
    if (dwPID != pSearch->dwPID || !::IsWindowVisible(hWnd))
        return TRUE;
    HWND hList = ::FindWindowExA(hWnd, nullptr, "SysListView32", nullptr);
    if (hList == nullptr)
        return TRUE;
    pSearch->hList = hList;
    return FALSE;
}

void BenchStartup(int nRepetitions)
{
    std::vector<double> times, peaks;
    int nRows = 0;
    for (int i = 0; i < nRepetitions; ++i) {
        ResetQuellonSettings(); // no first-run warning waits
        std::string path = QuellonExePath();
        std::string cmd = "\"" + path + "\"";
        std::vector<char> line(cmd.begin(), cmd.end());
        line.push_back('\0');
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi;
        LONGLONG tStart = Now();
        if (!::CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &si, &pi))
            Fail("Quellon.exe did not start");
        ListSearch search = {pi.dwProcessId, nullptr};
        int nCount = 0;
        for (;;) {
            if (search.hList == nullptr || !::IsWindow(search.hList)) {
                search.hList = nullptr;
                ::EnumWindows(FindListOfProcess, reinterpret_cast<LPARAM>(&search));
            }
            if (search.hList != nullptr) {
                nCount = static_cast<int>(::SendMessageA(search.hList, LVM_GETITEMCOUNT, 0, 0));
                if (nCount > 0)
                    break;
            }
            if (Ms(Now() - tStart) > 30000.0 || ::WaitForSingleObject(pi.hProcess, 0) == 0)
                Fail("Quellon.exe showed no filled list");
            ::Sleep(1);
        }
        times.push_back(Ms(Now() - tStart));
        PROCESS_MEMORY_COUNTERS pmc = {};
        pmc.cb = sizeof pmc;
        if (!::GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc))
            Fail("no memory counters of Quellon.exe");
        peaks.push_back(static_cast<double>(pmc.PeakWorkingSetSize) / 1024.0);
        nRows = nCount;
        ::PostMessageA(::GetParent(search.hList), WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
            ::TerminateProcess(pi.hProcess, 1);
            Fail("Quellon.exe did not close");
        }
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    ResetQuellonSettings();
    Report("startup.time", Median(times));
    Report("startup.peak_kib", Median(peaks));
    Report("startup.rows", nRows);
    Report("startup.repetitions", nRepetitions);
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::QueryPerformanceFrequency(&g_frequency);
    if (!AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL))
        return 2;
    std::string mode = argc > 1 ? argv[1] : "";
    int nRepetitions = argc > 2 ? std::atoi(argv[2]) : 0;
    if (mode == "refresh")
        BenchRefresh(nRepetitions > 0 ? nRepetitions : 21);
    else if (mode == "kill")
        BenchKill(nRepetitions > 0 ? nRepetitions : 11);
    else if (mode == "startup")
        BenchStartup(nRepetitions > 0 ? nRepetitions : 11);
    else {
        std::fprintf(stderr, "usage: quellon_bench refresh|kill|startup [repetitions]\n");
        return 2;
    }
    return 0;
}
