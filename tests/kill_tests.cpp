// Killing with real processes: Kill Selected Process, the stored Favorites
// list, and Kill Favorite Processes (and Exit).
#include "TestSupport.h"

#include "Favorites.h"
#include "NineXToolHelp.h"
#include "RowTexts.h"
#include "afxhandle.h"
#include "resource.h"

#include <tlhelp32.h>

namespace {

const std::string kSettings = std::string(kQuellonKey) + "\\Settings";

class KillTest : public QuellonTest
{
protected:
    static int Row(QuellonWindow& w, const char* name) { return w.view->FindRowByName(name); }
    static std::string Pid(QuellonWindow& w, int row)
    {
        return w.view->GetListCtrl().GetItemText(row, 1).GetString();
    }

    HelperProcesses helpers;
};

// ---------------------------------------------------------------------------
// Kill Selected Process

TEST_F(KillTest, KillSelectedEndsTheProcessRemovesItsRowAndRefreshes)
{
    HelperProcess& victim = helpers.Start("kill", "victim.exe");
    QuellonWindow w;
    w.view->RefreshProcessList();
    int row = Row(w, "victim.exe");
    ASSERT_NE(row, -1);
    HelperProcess& late = helpers.Start("kill", "latecomer.exe"); // only a refresh lists it
    w.Select({row});
    w.Command(ID_PROCESS_KILL);
    // The command waited for the end, so the process is gone already.
    EXPECT_TRUE(victim.WaitEnded(0));
    EXPECT_EQ(victim.ExitCode(), 0xFFFFFFFFu);
    EXPECT_EQ(Row(w, "victim.exe"), -1);
    EXPECT_NE(Row(w, "latecomer.exe"), -1) << "the list was refreshed";
    EXPECT_EQ(w.view->GetListCtrl().GetNextItem(-1, LVNI_SELECTED), -1);
    EXPECT_TRUE(late.Running());
    EXPECT_TRUE(TestApp().m_boxes.empty());
}

// Wine ends a process before TerminateProcess returns, so the wait for the
// end is seen through the platform's calls: in order, with whether the
// killed process's row was still listed at each.
struct KillCalls
{
    static BOOL WINAPI Terminate(HANDLE hProcess, UINT uExitCode)
    {
        s_calls.push_back("terminate" + Listed());
        return ::TerminateProcess(hProcess, uExitCode);
    }
    static DWORD WINAPI Wait(HANDLE hHandle, DWORD dwMilliseconds)
    {
        s_calls.push_back((dwMilliseconds == INFINITE ? "wait for the end"
                                                      : "wait " + std::to_string(dwMilliseconds)) +
                          Listed());
        return ::WaitForSingleObject(hHandle, dwMilliseconds);
    }
    static std::string Listed()
    {
        return s_pView->FindRowByName("awaited.exe") == -1 ? ", row gone" : ", row listed";
    }
    static std::vector<std::string> s_calls;
    static CQuellonView* s_pView;
};
std::vector<std::string> KillCalls::s_calls;
CQuellonView* KillCalls::s_pView = nullptr;

TEST_F(KillTest, TheRowGoesOnlyAfterTheWaitForTheProcesssEnd)
{
    HelperProcess& victim = helpers.Start("kill", "awaited.exe");
    QuellonWindow w;
    w.view->RefreshProcessList();
    ScopedProcessPlatform platform;
    g_processPlatform.pfnTerminateProcess = KillCalls::Terminate;
    g_processPlatform.pfnWaitForSingleObject = KillCalls::Wait;
    KillCalls::s_calls.clear();
    KillCalls::s_pView = w.view;
    w.Select({Row(w, "awaited.exe")});
    w.Command(ID_PROCESS_KILL);
    EXPECT_TRUE(victim.WaitEnded(0));
    EXPECT_EQ(KillCalls::s_calls,
              (std::vector<std::string>{"wait 0, row listed", "terminate, row listed",
                                        "wait for the end, row listed"}));
    EXPECT_EQ(Row(w, "awaited.exe"), -1);
}

TEST_F(KillTest, OnlyTheLowestSelectedRowIsKilled)
{
    HelperProcess& first = helpers.Start("kill", "kilo_a.exe");
    HelperProcess& second = helpers.Start("kill", "kilo_b.exe");
    QuellonWindow w;
    w.view->RefreshProcessList();
    int a = Row(w, "kilo_a.exe"), b = Row(w, "kilo_b.exe");
    ASSERT_LT(a, b);
    w.Select({b, a});
    w.Command(ID_PROCESS_KILL);
    EXPECT_TRUE(first.WaitEnded(0));
    EXPECT_TRUE(second.Running());
    EXPECT_NE(Row(w, "kilo_b.exe"), -1);
    EXPECT_EQ(w.view->GetListCtrl().GetSelectedCount(), 0) << "the refresh cleared the selection";
}

TEST_F(KillTest, WithNothingSelectedNeitherTheCommandNorF8DoesAnything)
{
    HelperProcess& helper = helpers.Start("kill", "bystander.exe");
    QuellonWindow w;
    w.view->RefreshProcessList();
    std::vector<std::string> before = w.Column(1);
    w.Command(ID_PROCESS_KILL);
    ::SetFocus(w.view->m_hWnd);
    MSG msg = {w.view->m_hWnd, WM_KEYDOWN, VK_F8, 1, 0, {0, 0}};
    AfxGetApp()->PreTranslateMessage(&msg);
    w.view->OnKillSelected();
    PumpMessages(100);
    EXPECT_TRUE(helper.Running());
    EXPECT_EQ(w.Column(1), before);
}

TEST_F(KillTest, F8KillsTheSelectedRowThroughTheAcceleratorTable)
{
    HelperProcess& helper = helpers.Start("kill", "keyed.exe");
    QuellonWindow w;
    w.view->RefreshProcessList();
    w.Select({Row(w, "keyed.exe")});
    ::SetFocus(w.view->m_hWnd);
    MSG msg = {w.view->m_hWnd, WM_KEYDOWN, VK_F8, 1, 0, {0, 0}};
    EXPECT_TRUE(AfxGetApp()->PreTranslateMessage(&msg));
    EXPECT_TRUE(helper.WaitEnded(0));
    EXPECT_EQ(Row(w, "keyed.exe"), -1);
}

TEST_F(KillTest, ARowWhoseProcessHasEndedStaysAndTheListIsNotRefreshed)
{
    HelperProcess& gone = helpers.Start("kill", "gone.exe");
    QuellonWindow w;
    w.view->RefreshProcessList();
    gone.Kill();
    helpers.Start("kill", "latecomer.exe");
    w.Select({Row(w, "gone.exe")});
    w.Command(ID_PROCESS_KILL);
    EXPECT_NE(Row(w, "gone.exe"), -1);
    EXPECT_EQ(Row(w, "latecomer.exe"), -1) << "no refresh after a failed kill";
    EXPECT_EQ(w.view->GetListCtrl().GetNextItem(-1, LVNI_SELECTED), Row(w, "gone.exe"));
    EXPECT_TRUE(TestApp().m_boxes.empty());
}

TEST_F(KillTest, OfTwoInstancesAtOnePathTheShownOneDiesAndTheOtherGetsTheRow)
{
    std::string path = PlaceHelper("twins", "twin.exe");
    HelperProcess& a = helpers.StartPath(path);
    HelperProcess& b = helpers.StartPath(path);
    QuellonWindow w;
    w.view->RefreshProcessList();
    int row = Row(w, "twin.exe");
    ASSERT_NE(row, -1);
    std::string shown = Pid(w, row);
    HelperProcess& victim = shown == std::string(FormatPidText(a.Pid())) ? a : b;
    HelperProcess& survivor = &victim == &a ? b : a;
    w.Select({row});
    w.Command(ID_PROCESS_KILL);
    EXPECT_TRUE(victim.WaitEnded(0));
    EXPECT_TRUE(survivor.Running());
    row = Row(w, "twin.exe");
    ASSERT_NE(row, -1);
    EXPECT_EQ(Pid(w, row), std::string(FormatPidText(survivor.Pid())));
}

// The identifier passes to another program: simulated by a row that names
// another executable than the process now holding its PID runs. The check
// asks the process for its executable where the system can tell, and takes
// Tool Help's module snapshot where it cannot (as on the Windows 95 family).
class IdentifierReuseTest : public KillTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(IdentifierReuseTest, ARowWhoseIdentifierNowRunsAnotherExecutableIsNotKilled)
{
    ScopedProcessPlatform platform;
    if (!GetParam())
        g_processPlatform.pfnQueryFullProcessImageNameA = nullptr;
    HelperProcess& holder = helpers.Start("reuse", "holder.exe");
    QuellonWindow w;
    w.view->RefreshProcessList();
    int row = Row(w, "holder.exe");
    ASSERT_NE(row, -1);
    CListCtrl& list = w.view->GetListCtrl();
    CString path = list.GetItemText(row, 4);
    list.SetItemText(row, 0, "other.exe"); // another name at the same path
    w.Select({row});
    w.Command(ID_PROCESS_KILL);
    EXPECT_TRUE(holder.Running());

    row = Row(w, "other.exe");
    ASSERT_NE(row, -1);
    list.SetItemText(row, 0, "holder.exe");
    list.SetItemText(row, 4, "C:\\elsewhere\\holder.exe"); // the same name elsewhere
    w.view->KillRow(row, TRUE);
    EXPECT_TRUE(holder.Running());
    EXPECT_NE(Row(w, "holder.exe"), -1) << "the row stays";

    // The row as it was is killed.
    list.SetItemText(Row(w, "holder.exe"), 4, path);
    w.view->KillRow(Row(w, "holder.exe"), FALSE);
    EXPECT_TRUE(holder.WaitEnded(0));
}

INSTANTIATE_TEST_SUITE_P(ImageQuery, IdentifierReuseTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "AskingTheProcess" : "ByModuleSnapshot";
                         });

// Tool Help as the Windows 95 family gives it (NineXToolHelp.h): a process
// entry names its executable's module by id, and the module snapshot of a
// process lists modules each with an id of its own, the executable not
// first.
TEST_F(KillTest, OnTheWindows95FamilyTheModuleThatTheProcessEntryNamesIsTheExecutable)
{
    HelperProcess& helper = helpers.Start("ninex", "ninex.exe");
    const char* const exe = "C:\\QUELLON-TESTS\\NINEX\\NINEX.EXE";
    ninex::g_table = {
        {0xFFF1234,
         0,
         0x99,
         "",
         {ninex::kKernel, ninex::kUser}}, // names a module it does not have: no row
        ninex::Program32(helper.Pid(), 0x51, exe),
    };
    QuellonWindow w;
    ScopedProcessPlatform platform;
    ninex::Install(g_processPlatform);
    ASSERT_TRUE(w.view->RefreshProcessList());
    EXPECT_EQ(w.Column(0), std::vector<std::string>{"NINEX.EXE"});
    EXPECT_EQ(w.Column(4), std::vector<std::string>{exe});

    // The identifier has passed to another program: its entry names that
    // program's module, and the row's process is not there to kill.
    ninex::g_table[1] = ninex::Program32(helper.Pid(), 0x70, "C:\\OTHER\\OTHER.EXE");
    w.view->KillRow(0, FALSE);
    EXPECT_TRUE(helper.Running());
    EXPECT_EQ(w.RowCount(), 1);

    ninex::g_table[1] = ninex::Program32(helper.Pid(), 0x51, exe);
    w.Select({0});
    w.Command(ID_PROCESS_KILL);
    EXPECT_TRUE(helper.WaitEnded(0));
    EXPECT_EQ(w.RowCount(), 0);
}

// The family names the kernel's module as the executable of a 16-bit
// Windows program and of an MS-DOS session's host; their entries hold their
// own files. They are listed, and killed, under their own names, the
// kernel's own entry in one row that nothing kills, and Quellon itself,
// with an identifier of the family, is not killed either.
TEST_F(KillTest, OnTheWindows95FamilySixteenBitProgramsAreListedAndKilledUnderTheirOwnNames)
{
    HelperProcess& sol = helpers.Start("ninex16", "sol.exe");
    HelperProcess& write = helpers.Start("ninex16", "write.exe");
    HelperProcess& write2 = helpers.Start("ninex16", "write2.exe");
    HelperProcess& dos = helpers.Start("ninex16", "winoa386.exe");
    HelperProcess& app = helpers.Start("ninex", "app32.exe");
    const char* const kSol = "C:\\WINDOWS\\SOL.EXE";
    const char* const kWrite = "C:\\WINDOWS\\WRITE.EXE";
    const char* const kDos = "C:\\WINDOWS\\SYSTEM\\WINOA386.MOD";
    const char* const kApp = "C:\\QUELLON-TESTS\\NINEX\\APP32.EXE";
    const char* const kSelf = "C:\\QUELLON-TESTS\\KILL_TESTS.EXE";
    ninex::g_table = {
        ninex::KernelEntry(),
        ninex::Program16(sol.Pid(), kSol),
        ninex::Program16(write.Pid(), kWrite),
        ninex::Program16(write2.Pid(), kWrite), // a second instance: no row of its own
        ninex::Program16(dos.Pid(), kDos),
        ninex::Program32(app.Pid(), 0x51, kApp),
        ninex::Program32(::GetCurrentProcessId(), 0x53, kSelf),
    };
    QuellonWindow w;
    ScopedProcessPlatform platform;
    ninex::Install(g_processPlatform);
    ASSERT_TRUE(w.view->RefreshProcessList());
    EXPECT_EQ(w.Column(0), (std::vector<std::string>{"APP32.EXE", "KERNEL32.DLL", "KILL_TESTS.EXE",
                                                     "SOL.EXE", "WINOA386.MOD", "WRITE.EXE"}));
    EXPECT_EQ(w.Column(4),
              (std::vector<std::string>{kApp, ninex::kKernelFile, kSelf, kSol, kDos, kWrite}));
    EXPECT_EQ(Pid(w, Row(w, "sol.exe")), std::string(FormatPidText(ninex::Shown(sol.Pid()))));
    EXPECT_EQ(Pid(w, Row(w, "kernel32.dll")), "FFEF4BCD");

    // Kill Selected on the kernel's row and on Quellon's own kills nothing.
    for (const char* name : {"kernel32.dll", "kill_tests.exe"}) {
        w.Select({Row(w, name)});
        w.Command(ID_PROCESS_KILL);
        EXPECT_NE(Row(w, name), -1) << name;
    }
    // Kill Selected on the 16-bit program's row.
    w.Select({Row(w, "sol.exe")});
    w.Command(ID_PROCESS_KILL);
    EXPECT_TRUE(sol.WaitEnded(0));
    EXPECT_EQ(sol.ExitCode(), 0xFFFFFFFFu);
    EXPECT_EQ(Row(w, "sol.exe"), -1);

    // Kill Favorites with the name: the instance whose identifier the row
    // shows, the one listed first.
    WriteRegistryText(HKEY_LOCAL_MACHINE, kSettings, "Fav0", "write.exe");
    w.Command(ID_PROCESS_KILLFAVORITES);
    EXPECT_TRUE(write.WaitEnded(0));
    EXPECT_TRUE(write2.Running());
    EXPECT_TRUE(dos.Running());
    EXPECT_TRUE(app.Running());
    EXPECT_EQ(w.Column(0), (std::vector<std::string>{"APP32.EXE", "KERNEL32.DLL", "KILL_TESTS.EXE",
                                                     "WINOA386.MOD"}));
    EXPECT_TRUE(TestApp().m_boxes.empty());
}

TEST_F(KillTest, QuellonNeverKillsItself)
{
    QuellonWindow w;
    w.view->RefreshProcessList();
    int row = Row(w, "kill_tests.exe");
    ASSERT_NE(row, -1);
    w.Select({row});
    w.Command(ID_PROCESS_KILL);
    EXPECT_NE(Row(w, "kill_tests.exe"), -1);
    EXPECT_FALSE(w.view->KillPid(::GetCurrentProcessId()));
}

// ---------------------------------------------------------------------------
// The stored Favorites

std::string Fav(int n)
{
    std::string text;
    return ReadRegistryText(HKEY_LOCAL_MACHINE, kSettings, "Fav" + std::to_string(n), &text)
               ? text
               : "<absent>";
}

void StoreFav(int n, const std::string& name)
{
    WriteRegistryText(HKEY_LOCAL_MACHINE, kSettings, "Fav" + std::to_string(n), name);
}

std::vector<std::string> Loaded()
{
    std::vector<std::string> names;
    for (const CString& name : LoadFavorites(TestApp().m_settings))
        names.push_back(name.GetString());
    return names;
}

void Save(const std::vector<const char*>& names)
{
    CArray<CString> list;
    for (const auto& name : names)
        list.Add(name);
    SaveFavorites(TestApp().m_settings, list);
}

TEST_F(KillTest, FavoritesLoadUpperCasedUpToTheFirstGap)
{
    TestApp().BindSettingsStore();
    StoreFav(0, "notepad.exe");
    StoreFav(1, "Calc.Exe");
    StoreFav(3, "beyond.exe");
    EXPECT_EQ(Loaded(), (std::vector<std::string>{"NOTEPAD.EXE", "CALC.EXE"}));
    StoreFav(1, "");
    EXPECT_EQ(Loaded(), (std::vector<std::string>{"NOTEPAD.EXE"}));
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kSettings);
    EXPECT_TRUE(Loaded().empty());
}

TEST_F(KillTest, SavingEmptiesWhatALongerListLeftUpToTheFirstGap)
{
    TestApp().BindSettingsStore();
    for (int i = 0; i < 5; ++i)
        StoreFav(i, "old" + std::to_string(i) + ".exe");
    StoreFav(6, "stray.exe"); // Fav5 absent
    Save({"A.EXE", "B.EXE"});
    EXPECT_EQ(Fav(0), "A.EXE");
    EXPECT_EQ(Fav(1), "B.EXE");
    for (int i = 2; i < 5; ++i)
        EXPECT_EQ(Fav(i), "") << "Fav" << i << " emptied, not deleted";
    EXPECT_EQ(Fav(5), "<absent>");
    EXPECT_EQ(Fav(6), "stray.exe");
    EXPECT_EQ(Loaded(), (std::vector<std::string>{"A.EXE", "B.EXE"}));

    Save({});
    EXPECT_EQ(Fav(0), "");
    EXPECT_EQ(Fav(1), "");
    EXPECT_EQ(Fav(6), "stray.exe");
    EXPECT_TRUE(Loaded().empty());
}

TEST_F(KillTest, TwelveNamesAndDuplicatesAreStoredAndLoadedInOrder)
{
    TestApp().BindSettingsStore();
    std::vector<const char*> names = {"A.EXE", "B.EXE", "B.EXE", "C.EXE", "D.EXE", "E.EXE",
                                      "F.EXE", "G.EXE", "H.EXE", "I.EXE", "J.EXE", "K.EXE"};
    Save(names);
    EXPECT_EQ(Fav(11), "K.EXE");
    EXPECT_EQ(Fav(10), "J.EXE");
    EXPECT_EQ(Fav(12), "<absent>");
    EXPECT_EQ(Loaded(), std::vector<std::string>(names.begin(), names.end()));
}

// ---------------------------------------------------------------------------
// Kill Favorite Processes

// Records the texts written into status pane 1 while it is installed.
// Records the texts of the status bar's second pane as they are set and,
// given the list, its row count at that moment and whether it was all
// drawn (nothing left to paint).
class PaneRecorder
{
public:
    explicit PaneRecorder(HWND hStatusBar, HWND hList = nullptr)
    {
        s_pThis = this;
        m_hStatusBar = hStatusBar;
        m_hList = hList;
        m_hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~PaneRecorder()
    {
        ::UnhookWindowsHookEx(m_hHook);
        s_pThis = nullptr;
    }
    std::vector<std::string> texts;
    std::vector<int> rows;
    std::vector<bool> drawn;

private:
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* p = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (nCode == HC_ACTION && s_pThis != nullptr && p->hwnd == s_pThis->m_hStatusBar &&
            p->message == SB_SETTEXTA && (p->wParam & 0xFF) == 1) {
            s_pThis->texts.push_back(reinterpret_cast<const char*>(p->lParam));
            if (s_pThis->m_hList != nullptr) {
                HWND hList = s_pThis->m_hList;
                s_pThis->rows.push_back(
                    static_cast<int>(::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0)));
                s_pThis->drawn.push_back(!::GetUpdateRect(hList, nullptr, FALSE));
            }
        }
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
    static PaneRecorder* s_pThis;
    HWND m_hStatusBar;
    HWND m_hList;
    HHOOK m_hHook;
};
PaneRecorder* PaneRecorder::s_pThis = nullptr;

FILETIME ExitTime(const HelperProcess& p)
{
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(p.Handle(), &created, &exited, &kernel, &user);
    return exited;
}

TEST_F(KillTest, KillFavoritesKillsEachFavouriteInOrderShowingItsName)
{
    HelperProcess& a = helpers.Start("fav", "fava.exe");
    HelperProcess& b = helpers.Start("fav", "favb.exe");
    HelperProcess& other = helpers.Start("fav", "favother.exe");
    StoreFav(0, "favb.exe"); // stored in lower case
    StoreFav(1, "notrunning.exe");
    StoreFav(2, "FAVA.EXE");
    QuellonWindow w;
    PaneRecorder recorder(w.frame->m_wndStatusBar.m_hWnd, w.view->m_hWnd);
    w.Command(ID_PROCESS_KILLFAVORITES);
    EXPECT_TRUE(a.WaitEnded(0));
    EXPECT_TRUE(b.WaitEnded(0));
    EXPECT_EQ(a.ExitCode(), 0xFFFFFFFFu);
    EXPECT_TRUE(other.Running());
    FILETIME exitA = ExitTime(a), exitB = ExitTime(b);
    EXPECT_LE(::CompareFileTime(&exitB, &exitA), 0) << "FAVB.EXE went first";
    EXPECT_EQ(recorder.texts,
              (std::vector<std::string>{"Killing... FAVB.EXE", "Killing... NOTRUNNING.EXE",
                                        "Killing... FAVA.EXE", "     "}));
    // Each name is shown over a list drawn as it is: the refreshed list,
    // then without the row just killed.
    ASSERT_EQ(recorder.rows.size(), 4u);
    EXPECT_EQ(recorder.rows[1], recorder.rows[0] - 1) << "FAVB.EXE's row went before the next name";
    EXPECT_EQ(recorder.rows[3], recorder.rows[0] - 2);
    EXPECT_EQ(recorder.drawn, std::vector<bool>(4, true));
    EXPECT_EQ(std::string(w.frame->m_wndStatusBar.GetPaneText(1)), "     ");
    // The rows of the killed processes are gone; the others remain.
    EXPECT_EQ(Row(w, "fava.exe"), -1);
    EXPECT_EQ(Row(w, "favb.exe"), -1);
    EXPECT_NE(Row(w, "favother.exe"), -1);
    EXPECT_TRUE(w.Alive());
    EXPECT_TRUE(TestApp().m_boxes.empty());
}

TEST_F(KillTest, KillFavoritesRefreshesFirstAndKillsTheLowerOfTwoRowsOfAName)
{
    HelperProcess& one = helpers.Start("dual1", "dual.exe");
    HelperProcess& two = helpers.Start("dual2", "dual.exe");
    StoreFav(0, "DUAL.EXE");
    QuellonWindow w;
    ASSERT_EQ(w.RowCount(), 0) << "nothing is listed before the start-up timer";
    // The pass takes a snapshot of its own; the lower of the two rows is
    // the one the same snapshot puts first.
    w.view->RefreshProcessList();
    std::string lower = Pid(w, Row(w, "dual.exe"));
    w.view->GetListCtrl().DeleteAllItems();
    w.Command(ID_PROCESS_KILLFAVORITES);
    HelperProcess& victim = lower == std::string(FormatPidText(one.Pid())) ? one : two;
    HelperProcess& survivor = &victim == &one ? two : one;
    EXPECT_TRUE(victim.WaitEnded(0));
    EXPECT_TRUE(survivor.Running());
    int row = Row(w, "dual.exe");
    ASSERT_NE(row, -1);
    EXPECT_EQ(Pid(w, row), std::string(FormatPidText(survivor.Pid())));
}

TEST_F(KillTest, AnEmptyListIsReportedAndKillFavoritesAndExitStaysOpen)
{
    QuellonWindow w;
    w.Command(ID_PROCESS_KILLFAVORITESEXIT);
    PumpMessages(300);
    EXPECT_TRUE(w.Alive());
    ASSERT_EQ(TestApp().m_boxes.size(), 1u);
    EXPECT_EQ(TestApp().m_boxes[0].text, "Favorites List has no Contents - hit F2 to Edit");
    EXPECT_EQ(TestApp().m_boxes[0].type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    EXPECT_GT(w.RowCount(), 0) << "the list was refreshed all the same";
}

TEST_F(KillTest, KillFavoritesAndExitClosesWhenTheListHasNames)
{
    StoreFav(0, "ghost.exe"); // not running: nothing is killed, yet the pass ran
    QuellonWindow w;
    w.Command(ID_PROCESS_KILLFAVORITESEXIT);
    EXPECT_TRUE(w.Alive()) << "the close is posted, not sent";
    EXPECT_TRUE(PumpUntil([&] { return !w.Alive(); }, 5000));
    EXPECT_TRUE(TestApp().m_boxes.empty());
    std::string text;
    EXPECT_TRUE(
        ReadRegistryText(HKEY_LOCAL_MACHINE, std::string(kQuellonKey) + "\\Grid", "col4", &text))
        << "closed the normal way";
}

TEST_F(KillTest, AFavouriteNamingQuellonItselfDoesNotEndThePass)
{
    HelperProcess& after = helpers.Start("fav", "afterself.exe");
    StoreFav(0, "afterself.exe");
    StoreFav(1, "KILL_TESTS.EXE");
    StoreFav(2, "afterself2.exe");
    HelperProcess& after2 = helpers.Start("fav", "afterself2.exe");
    QuellonWindow w;
    w.Command(ID_PROCESS_KILLFAVORITES);
    EXPECT_TRUE(after.WaitEnded(0));
    EXPECT_TRUE(after2.WaitEnded(0));
    EXPECT_NE(Row(w, "kill_tests.exe"), -1);
    EXPECT_EQ(std::string(w.frame->m_wndStatusBar.GetPaneText(1)), "     ");
}

// ---------------------------------------------------------------------------
// Long paths and double-byte names

// C:\quellon-tests\long\<folder>\<name>, its folder made as long as gives a
// path of nLength characters.
std::string LongHelperPath(size_t nLength, const std::string& name)
{
    const size_t nFixed = std::string("C:\\quellon-tests\\long\\").size() + 1 + name.size();
    return PlaceHelper("long\\" + std::string(nLength - nFixed, 'd'), name);
}

bool SamePath(const CString& a, const std::string& b)
{
    return ::lstrcmpiA(a, b.c_str()) == 0;
}

TEST_F(KillTest, PathsNearMaxPathAreShownWholeAndTheirProcessesKilled)
{
    // 259 characters and the terminator fill MAX_PATH; 257 are more than a
    // buffer of 256 bytes holds, even filled without a terminator (as
    // Wine's list view fills one).
    std::string selectedPath = LongHelperPath(259, "long259.exe");
    std::string favouritePath = LongHelperPath(257, "long257.exe");
    ASSERT_EQ(selectedPath.size(), 259u);
    ASSERT_EQ(favouritePath.size(), 257u);
    HelperProcess& selected = helpers.StartPath(selectedPath);
    HelperProcess& favourite = helpers.StartPath(favouritePath);
    StoreFav(0, "long257.exe");
    QuellonWindow w;
    w.view->RefreshProcessList();
    int row = Row(w, "long259.exe");
    ASSERT_NE(row, -1);
    EXPECT_TRUE(SamePath(w.view->GetListCtrl().GetItemText(row, 4), selectedPath));
    ASSERT_NE(Row(w, "long257.exe"), -1);
    EXPECT_TRUE(
        SamePath(w.view->GetListCtrl().GetItemText(Row(w, "long257.exe"), 4), favouritePath));
    w.Select({row});
    w.Command(ID_PROCESS_KILL);
    EXPECT_TRUE(selected.WaitEnded(0)) << "Kill Selected";
    w.Command(ID_PROCESS_KILLFAVORITES);
    EXPECT_TRUE(favourite.WaitEnded(0)) << "Kill Favorites";
    EXPECT_EQ(Row(w, "long257.exe"), -1);
}

// Run with the Japanese code page (932): its CTest entry sets LC_ALL. The
// second byte of the character \x83\x5C is that of a backslash; a path
// split byte by byte takes the name to begin after it.
class DoubleByteCodePage : public KillTest
{
};

TEST_F(DoubleByteCodePage, ANameWithABackslashTrailByteIsListedAndKilled)
{
    ASSERT_EQ(::GetACP(), 932u) << "LC_ALL=ja_JP.UTF-8 chooses code page 932 under Wine";
    const std::string name = "\x83\x5C\x83\x74\x83\x67.exe"; // "soft" in katakana
    const std::string path = TestDir("dbcs") + "\\" + name;
    HelperProcess& selected = helpers.StartPath(PlaceHelper("dbcs", name));
    QuellonWindow w;
    w.view->RefreshProcessList();
    int row = Row(w, name.c_str());
    ASSERT_NE(row, -1);
    EXPECT_EQ(std::string(w.view->GetListCtrl().GetItemText(row, 0)), name);
    EXPECT_TRUE(SamePath(w.view->GetListCtrl().GetItemText(row, 4), path));
    w.Select({row});
    w.Command(ID_PROCESS_KILL);
    EXPECT_TRUE(selected.WaitEnded(0)) << "Kill Selected";

    HelperProcess& favourite = helpers.StartPath(path);
    StoreFav(0, name);
    w.Command(ID_PROCESS_KILLFAVORITES);
    EXPECT_TRUE(favourite.WaitEnded(0)) << "Kill Favorites";
    EXPECT_EQ(Row(w, name.c_str()), -1);
    EXPECT_TRUE(TestApp().m_boxes.empty());

    // A 16-bit program of the Windows 95 family of that name is named by
    // the part of its entry's file after the last backslash character.
    HelperProcess& sixteen = helpers.StartPath(path);
    const std::string sixteenPath = "C:\\WINDOWS\\" + name.substr(0, name.size() - 3) + "EXE";
    ScopedProcessPlatform platform;
    ninex::g_table = {ninex::KernelEntry(), ninex::Program16(sixteen.Pid(), sixteenPath)};
    ninex::Install(g_processPlatform);
    w.view->RefreshProcessList();
    EXPECT_EQ(w.Column(0), (std::vector<std::string>{"KERNEL32.DLL", name.substr(0, 7) + "EXE"}));
    EXPECT_EQ(w.Column(4), (std::vector<std::string>{ninex::kKernelFile, sixteenPath}));
    w.Select({1});
    w.Command(ID_PROCESS_KILL);
    EXPECT_TRUE(sixteen.WaitEnded(0)) << "Kill Selected, 16-bit";
}

} // namespace
