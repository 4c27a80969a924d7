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

// Time spent in the process platform's calls while the clock is installed,
// by kind: process snapshots and their walks, module snapshots and their
// walks, opening processes, and terminating and waiting for the end. The
// program's own code runs unchanged between the calls, so what a refresh
// or a pass spends beyond them is the program's own work.
struct PlatformClock
{
    static LONGLONG processes, modules, open, end;
    static ProcessPlatform real;

    static void Reset() { processes = modules = open = end = 0; }
    static void Install()
    {
        real = g_processPlatform;
        g_processPlatform.pfnCreateToolhelp32Snapshot = Create;
        g_processPlatform.pfnProcess32First = ProcessFirst;
        g_processPlatform.pfnProcess32Next = ProcessNext;
        g_processPlatform.pfnModule32First = ModuleFirst;
        g_processPlatform.pfnModule32Next = ModuleNext;
        g_processPlatform.pfnOpenProcess = Open;
        g_processPlatform.pfnTerminateProcess = Terminate;
        g_processPlatform.pfnWaitForSingleObject = Wait;
    }

    template <typename Call> static auto Timed(LONGLONG& total, Call call)
    {
        LONGLONG t = Now();
        auto result = call();
        total += Now() - t;
        return result;
    }
    static HANDLE WINAPI Create(DWORD dwFlags, DWORD dwPID)
    {
        return Timed(dwFlags == TH32CS_SNAPMODULE ? modules : processes,
                     [&] { return real.pfnCreateToolhelp32Snapshot(dwFlags, dwPID); });
    }
    static BOOL WINAPI ProcessFirst(HANDLE h, LPPROCESSENTRY32 pe)
    {
        return Timed(processes, [&] { return real.pfnProcess32First(h, pe); });
    }
    static BOOL WINAPI ProcessNext(HANDLE h, LPPROCESSENTRY32 pe)
    {
        return Timed(processes, [&] { return real.pfnProcess32Next(h, pe); });
    }
    static BOOL WINAPI ModuleFirst(HANDLE h, LPMODULEENTRY32 me)
    {
        return Timed(modules, [&] { return real.pfnModule32First(h, me); });
    }
    static BOOL WINAPI ModuleNext(HANDLE h, LPMODULEENTRY32 me)
    {
        return Timed(modules, [&] { return real.pfnModule32Next(h, me); });
    }
    static HANDLE WINAPI Open(DWORD dwAccess, BOOL bInherit, DWORD dwPID)
    {
        return Timed(open, [&] { return real.pfnOpenProcess(dwAccess, bInherit, dwPID); });
    }
    static BOOL WINAPI Terminate(HANDLE hProcess, UINT uExitCode)
    {
        return Timed(end, [&] { return real.pfnTerminateProcess(hProcess, uExitCode); });
    }
    static DWORD WINAPI Wait(HANDLE hHandle, DWORD dwMilliseconds)
    {
        return Timed(end, [&] { return real.pfnWaitForSingleObject(hHandle, dwMilliseconds); });
    }
};
LONGLONG PlatformClock::processes, PlatformClock::modules, PlatformClock::open, PlatformClock::end;
ProcessPlatform PlatformClock::real;

// Where the time of one refresh goes. The real RefreshProcessList runs with
// the platform's clock installed: the process snapshot and its walk, the
// module snapshots, the opening of each process for its priority class, and
// what the program does beside them. The process core's part
// (TakeProcessSnapshot, which the refresh calls) is timed on its own as
// well; the rest of a refresh is the list's: emptying it, the rows' texts
// and inserts, and handing it back to be drawn. For comparison, the core's
// rows are then put into the list with AddProcessRow, which reads every row
// back before it inserts one (the refresh keeps the executables listed so
// far in a hash set instead), once as the refresh draws, once drawn at
// every insertion.
struct RefreshSplit
{
    double snapshot = 0, modules = 0, open = 0, core = 0, total = 0, scan = 0, drawn = 0;
};

double TimedAdding(CQuellonView* view, const CArray<ProcessRow>& rows, bool bDrawEachRow)
{
    CListCtrl& list = view->GetListCtrl();
    LONGLONG t = Now();
    if (!bDrawEachRow)
        list.SetRedraw(FALSE);
    list.DeleteAllItems();
    for (const ProcessRow& row : rows)
        view->AddProcessRow(row);
    if (!bDrawEachRow) {
        list.SetRedraw(TRUE);
        list.Invalidate();
    }
    return Ms(Now() - t);
}

RefreshSplit TimedRefresh(CQuellonView* view, bool bCompare)
{
    RefreshSplit split;
    ScopedProcessPlatform platform;
    PlatformClock::Install();
    PlatformClock::Reset();
    LONGLONG t = Now();
    view->RefreshProcessList();
    split.total = Ms(Now() - t);
    split.snapshot = Ms(PlatformClock::processes);
    split.modules = Ms(PlatformClock::modules);
    split.open = Ms(PlatformClock::open);
    PumpMessages(20);
    CArray<ProcessRow> rows;
    t = Now();
    TakeProcessSnapshot(g_processPlatform, rows);
    split.core = Ms(Now() - t);
    if (bCompare) {
        split.scan = TimedAdding(view, rows, false);
        PumpMessages(20);
        split.drawn = TimedAdding(view, rows, true);
        PumpMessages(20);
    }
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
        std::vector<double> real, floor, snapshot, modules, open, core, total, scan, drawn;
        int nProcesses = 0;
        for (int i = 0; i < nRepetitions; ++i) {
            LONGLONG t = Now();
            w.view->RefreshProcessList();
            real.push_back(Ms(Now() - t));
            PumpMessages(20); // the list is painted outside the timing
            t = Now();
            nProcesses = PlatformFloor();
            floor.push_back(Ms(Now() - t));
            RefreshSplit split = TimedRefresh(w.view, i < nDrawEachRow);
            snapshot.push_back(split.snapshot);
            modules.push_back(split.modules);
            open.push_back(split.open);
            core.push_back(split.core);
            total.push_back(split.total);
            if (i < nDrawEachRow) {
                scan.push_back(split.scan);
                drawn.push_back(split.drawn);
            }
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
        Report(key + "split.modules", Median(modules));
        Report(key + "split.open", Median(open));
        Report(key + "split.core", Median(core));
        Report(key + "split.own", Median(core) - Median(snapshot) - Median(modules) - Median(open));
        Report(key + "split.list", Median(total) - Median(core));
        Report(key + "split.total", Median(total));
        Report(key + "compare.scan", Median(scan));
        Report(key + "compare.drawn_each_row", Median(drawn));
    }
    Report("refresh.repetitions", nRepetitions);
    Report("refresh.compare.repetitions", nDrawEachRow);
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

// Where the time of a Kill Favorites pass goes: the real KillFavorites runs
// with the platform's clock installed (the snapshots of its opening
// refresh and of the check before each kill, opening the processes,
// terminating them and waiting for their end); the rest is the program's
// own work (the Favorites read from the registry, the status pane, the row
// lookups and deletions, the list drawn after the refresh and after each
// kill). The refresh alone is timed just before.
struct KillSplit
{
    double refresh = 0, snapshots = 0, open = 0, end = 0, total = 0;
};

KillSplit TimedKillPass(QuellonWindow& w)
{
    KillSplit split;
    LONGLONG t = Now();
    w.view->RefreshProcessList();
    split.refresh = Ms(Now() - t);
    PumpMessages(20);
    ScopedProcessPlatform platform;
    PlatformClock::Install();
    PlatformClock::Reset();
    t = Now();
    if (!w.view->KillFavorites())
        Fail("the timed Kill Favorites pass did not run");
    split.total = Ms(Now() - t);
    split.snapshots = Ms(PlatformClock::processes + PlatformClock::modules);
    split.open = Ms(PlatformClock::open);
    split.end = Ms(PlatformClock::end);
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
    std::vector<double> refresh, snapshots, open, end, replica;
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
            ExpectAllEnded(set, "the timed Kill Favorites pass");
            refresh.push_back(split.refresh);
            snapshots.push_back(split.snapshots);
            open.push_back(split.open);
            end.push_back(split.end);
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
    Report("kill.split.snapshots", Median(snapshots));
    Report("kill.split.open", Median(open));
    Report("kill.split.end", Median(end));
    Report("kill.split.own", Median(replica) - Median(snapshots) - Median(open) - Median(end));
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
