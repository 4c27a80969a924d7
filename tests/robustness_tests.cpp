// Robustness with real windows, processes and registry values: settings of
// the wrong type or size, a Favorites list of thousands of names, processes
// that come and go while the list is refreshed and killed from, and a
// settings key that the registry refuses to create.
#include "TestSupport.h"

#include "Favorites.h"
#include "FavoritesDlg.h"
#include "ExecutableKey.h"
#include "RowTexts.h"
#include "WindowRules.h"
#include "afxhandle.h"
#include "resource.h"

#include <algorithm>
#include <deque>
#include <map>

namespace {

typedef std::vector<std::string> Names;
typedef std::vector<std::function<bool()>> Steps;

const std::string kScreen = std::string(kQuellonKey) + "\\Screen";
const std::string kGrid = std::string(kQuellonKey) + "\\Grid";
const std::string kNewbie = std::string(kQuellonKey) + "\\Newbie";
const std::string kSettings = std::string(kQuellonKey) + "\\Settings";

const char kWarning[] = "Quellon is for advanced users.\n\n"
                        "Take care when killing programs that live\n"
                        "in the Windows folder or its sub-folders.";
const char kEmptyList[] = "Favorites List has no Contents - hit F2 to Edit";

// A registry value as stored: its type and its bytes.
struct RawValue
{
    DWORD type;
    std::string data;
    bool operator==(const RawValue& o) const { return type == o.type && data == o.data; }
};

std::ostream& operator<<(std::ostream& os, const RawValue& v)
{
    os << "type " << v.type << ", " << v.data.size() << " bytes";
    if (v.data.size() <= 40) {
        os << " \"";
        for (unsigned char c : v.data) {
            if (c >= 0x20 && c < 0x7F)
                os << c;
            else
                os << "\\x"
                   << "0123456789ABCDEF"[c >> 4] << "0123456789ABCDEF"[c & 15];
        }
        os << '"';
    }
    return os;
}

RawValue Sz(const std::string& text)
{
    return RawValue{REG_SZ, text + '\0'};
}

RawValue Dword(DWORD dw)
{
    return RawValue{REG_DWORD, std::string(reinterpret_cast<const char*>(&dw), sizeof dw)};
}

RawValue Binary(const std::string& bytes)
{
    return RawValue{REG_BINARY, bytes};
}

void Store(const std::string& path, const std::string& name, const RawValue& value)
{
    ASSERT_TRUE(WriteRegistryValue(HKEY_LOCAL_MACHINE, path, name, value.type, value.data.data(),
                                   static_cast<DWORD>(value.data.size())))
        << path << " " << name;
}

RawValue Stored(const std::string& path, const std::string& name)
{
    RawValue value = {REG_NONE, "<absent>"};
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return value;
    std::vector<char> buf(65536);
    DWORD cb = static_cast<DWORD>(buf.size());
    if (::RegQueryValueExA(hKey, name.c_str(), nullptr, &value.type,
                           reinterpret_cast<BYTE*>(buf.data()), &cb) == ERROR_SUCCESS)
        value.data.assign(buf.data(), cb);
    ::RegCloseKey(hKey);
    return value;
}

// Values stored by a test, checked afterwards for being left as they were.
class StoredValues
{
public:
    void Put(const std::string& path, const std::string& name, const RawValue& value)
    {
        Store(path, name, value);
        m_values.push_back(Entry{path, name, value});
    }
    void ExpectUnchanged(const char* pszWhen) const
    {
        for (const Entry& e : m_values)
            EXPECT_EQ(Stored(e.path, e.name), e.value)
                << e.path << " " << e.name << " was rewritten " << pszWhen;
    }

private:
    struct Entry
    {
        std::string path, name;
        RawValue value;
    };
    std::vector<Entry> m_values;
};

std::vector<int> WindowRect(HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    return {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

// x, y, cx, cy of the default window rectangle for the present work area.
std::vector<int> DefaultRect()
{
    SIZE workArea = GetWorkAreaSize();
    int x, y, cx, cy;
    DefaultWindowRect(workArea.cx, workArea.cy, x, y, cx, cy);
    return {x, y, cx, cy};
}

std::vector<int> ColumnWidths(QuellonWindow& w)
{
    std::vector<int> widths;
    for (int i = 0; i < 5; ++i)
        widths.push_back(w.view->GetListCtrl().GetColumnWidth(i));
    return widths;
}

int ClientWidth(QuellonWindow& w)
{
    RECT rc;
    ::GetClientRect(w.view->m_hWnd, &rc);
    return rc.right - rc.left;
}

std::vector<std::string> Boxes()
{
    std::vector<std::string> texts;
    for (const CTestApp::Box& box : TestApp().m_boxes)
        texts.push_back(box.text);
    return texts;
}

// Runs the Favorites editor over the window; the first step finds it.
void RunEditor(HWND* phDlg, const Steps& script, DWORD dwTimeout = 30000)
{
    Steps steps;
    steps.push_back([phDlg] { return (*phDlg = FindDialog("Favorites")) != nullptr; });
    steps.insert(steps.end(), script.begin(), script.end());
    CFavoritesDlg dlg;
    RunModal([&dlg] { return dlg.DoModal(); }, steps, dwTimeout);
}

Names Items(HWND hDlg, int nID)
{
    return ListBoxItems(::GetDlgItem(hDlg, nID));
}

std::string FavName(size_t i)
{
    return "Fav" + std::to_string(i);
}

class RobustnessTest : public QuellonTest
{
protected:
    HelperProcesses helpers;
};

// ---------------------------------------------------------------------------
// Settings of the wrong type or size

TEST_F(RobustnessTest, UnreadableSettingsGiveTheDefaultsAndAreNotRewritten)
{
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kQuellonKey);
    StoredValues kept;
    // Screen: nothing here reads as a number, so the default rectangle.
    Store(kScreen, "x", Dword(5));
    Store(kScreen, "y", Binary("abc"));
    Store(kScreen, "cx", Sz(std::string(260, '1'))); // 261 bytes: too long
    Store(kScreen, "cy", Sz(std::string(10000, '2')));
    kept.Put(kGrid, "col0", Dword(5));
    kept.Put(kGrid, "col1", Sz(""));
    kept.Put(kGrid, "col2", Binary("")); // no data at all
    kept.Put(kGrid, "col3", Sz("99999999999"));
    kept.Put(kGrid, "col4", Sz(std::string(260, '9')));
    // Unreadable, so the default 1: the warning is shown and 0 stored.
    Store(kNewbie, "Start", Sz(std::string(10000, '0')));
    // An unreadable first name ends the list at once.
    kept.Put(kSettings, "Fav0", Sz(std::string(10000, 'n')));
    kept.Put(kSettings, "Fav1", Sz("AFTER.EXE"));

    QuellonWindow w;
    ASSERT_TRUE(w.Alive());
    ASSERT_TRUE(PumpUntil([&w] { return w.RowCount() > 0; }));
    std::vector<int> rect = DefaultRect();
    EXPECT_EQ(WindowRect(w.m_hWnd), rect);
    EXPECT_EQ(Stored(kScreen, "x"), Sz(std::to_string(rect[0])));
    EXPECT_EQ(Stored(kScreen, "cy"), Sz(std::to_string(rect[3])));
    int nDefault = DefaultColumnWidth(ClientWidth(w));
    EXPECT_EQ(ColumnWidths(w), std::vector<int>(5, nDefault));
    EXPECT_EQ(Boxes(), Names{kWarning});
    EXPECT_EQ(Stored(kNewbie, "Start"), Sz("0"));
    kept.ExpectUnchanged("by the start");

    w.Command(ID_PROCESS_KILLFAVORITES);
    EXPECT_EQ(Boxes(), (Names{kWarning, kEmptyList}));
    HWND hDlg = nullptr;
    Names favorites{"<not read>"};
    RunEditor(&hDlg, {[&] {
        favorites = Items(hDlg, IDC_FAVORITES);
        PostClick(hDlg, IDCANCEL);
        return true;
    }});
    EXPECT_TRUE(favorites.empty());
    kept.ExpectUnchanged("by Kill Favorites or the editor");

    // Closing stores the widths the columns have, as text.
    ::SendMessageA(w.m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(w.Alive());
    EXPECT_EQ(Stored(kGrid, "col3"), Sz(std::to_string(nDefault)));
    EXPECT_EQ(Stored(kSettings, "Fav0"), Sz(std::string(10000, 'n')));
    EXPECT_EQ(Boxes().size(), 2u);
}

TEST_F(RobustnessTest, ValuesOfOtherTypesAreReadAsTextAndKept)
{
    StoredValues kept;
    // Read as text: the bytes of a REG_DWORD spell "32", a REG_BINARY
    // without a terminator "40", a text of 259 characters, a multi-string.
    Store(kScreen, "x", Dword('3' | '2' << 8));
    Store(kScreen, "y", Binary("40"));
    Store(kScreen, "cx", Sz("  600" + std::string(254, 'x')));
    Store(kScreen, "cy", RawValue{REG_MULTI_SZ, std::string("500\0second\0\0", 12)});
    kept.Put(kGrid, "col0", Dword('5' | '0' << 8));
    kept.Put(kGrid, "col1", Binary("60"));
    kept.Put(kGrid, "col2", Sz(" 70abc"));
    kept.Put(kGrid, "col3", RawValue{REG_EXPAND_SZ, std::string("80\0", 3)});
    kept.Put(kGrid, "col4", Sz("90" + std::string(257, 'x')));
    kept.Put(kNewbie, "Start", Dword('0'));                      // reads as 0: no warning
    const std::string longName = std::string(255, 'N') + ".EXE"; // 259 characters
    kept.Put(kSettings, "Fav0", Binary("lowname.exe"));
    kept.Put(kSettings, "Fav1", Sz(longName));
    kept.Put(kSettings, "Fav2", Dword(5));                  // the name "\x05"
    kept.Put(kSettings, "Fav3", Sz(std::string(260, 'n'))); // unreadable: the end
    kept.Put(kSettings, "Fav4", Sz("BEYOND.EXE"));
    HelperProcess& low = helpers.Start("odd", "lowname.exe");
    HelperProcess& bystander = helpers.Start("odd", "bystander.exe");

    QuellonWindow w;
    ASSERT_TRUE(w.Alive());
    ASSERT_TRUE(PumpUntil([&w] { return w.RowCount() > 0; }));
    EXPECT_EQ(WindowRect(w.m_hWnd), std::vector<int>({32, 40, 600, 500}));
    EXPECT_EQ(ColumnWidths(w), std::vector<int>({50, 60, 70, 80, 90}));
    EXPECT_TRUE(Boxes().empty());
    kept.ExpectUnchanged("by the start");
    // Showing the window stores its placement, as text.
    EXPECT_EQ(Stored(kScreen, "x"), Sz("32"));
    EXPECT_EQ(Stored(kScreen, "cy"), Sz("500"));

    w.Command(ID_PROCESS_KILLFAVORITES);
    EXPECT_TRUE(low.WaitEnded(5000));
    EXPECT_TRUE(bystander.Running());
    EXPECT_TRUE(Boxes().empty());
    HWND hDlg = nullptr;
    Names favorites;
    RunEditor(&hDlg, {[&] {
        favorites = Items(hDlg, IDC_FAVORITES);
        PostClick(hDlg, IDCANCEL);
        return true;
    }});
    std::sort(favorites.begin(), favorites.end());
    EXPECT_EQ(favorites, (Names{"\x05", "LOWNAME.EXE", longName}));
    kept.ExpectUnchanged("by Kill Favorites or the editor");
}

TEST_F(RobustnessTest, NegativeAndHugeNumbersFollowTheRules)
{
    StoredValues kept;
    Store(kScreen, "x", Sz("-5"));
    Store(kScreen, "y", Sz("10"));
    Store(kScreen, "cx", Sz("2147483647"));
    Store(kScreen, "cy", Sz("300"));
    // Negative widths are no widths, even where their sum lies beyond the
    // range of int: every column gets the default.
    const int widths[] = {-2000000000, -2000000000, 100, 100, 100};
    for (int i = 0; i < 5; ++i)
        kept.Put(kGrid, "col" + std::to_string(i), Sz(std::to_string(widths[i])));
    Store(kNewbie, "Start", Sz("-5"));
    kept.Put(kSettings, "Fav0", Sz(""));
    kept.Put(kSettings, "Fav1", Sz("X.EXE"));

    int chosen[5];
    std::copy(widths, widths + 5, chosen);
    ChooseColumnWidths(chosen, 600, 108);
    EXPECT_EQ(std::vector<int>(chosen, chosen + 5), std::vector<int>(5, 108));

    QuellonWindow w;
    ASSERT_TRUE(w.Alive());
    ASSERT_TRUE(PumpUntil([&w] { return w.RowCount() > 0; }));
    EXPECT_EQ(WindowRect(w.m_hWnd), DefaultRect());
    EXPECT_EQ(ColumnWidths(w), std::vector<int>(5, DefaultColumnWidth(ClientWidth(w))));
    EXPECT_EQ(Boxes(), Names{kWarning});
    EXPECT_EQ(Stored(kNewbie, "Start"), Sz("0"));
    kept.ExpectUnchanged("by the start");
    w.Command(ID_PROCESS_KILLFAVORITES);
    EXPECT_EQ(Boxes(), (Names{kWarning, kEmptyList}));
    kept.ExpectUnchanged("by Kill Favorites");
    ::SendMessageA(w.m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(w.Alive());
}

// ---------------------------------------------------------------------------
// A Favorites list of 5,000 names

TEST_F(RobustnessTest, FiveThousandFavoritesAreEditedSavedAndShortened)
{
    const size_t kCount = 5000;
    Names names;
    for (size_t i = 0; i < kCount; ++i) {
        char sz[16];
        wsprintfA(sz, "P%04u.EXE", static_cast<unsigned>(kCount - 1 - i));
        names.push_back(sz);
        Store(kSettings, FavName(i), Sz(sz)); // stored in descending order
    }
    // Beyond the gap at Fav5000: never part of the list, never touched.
    Store(kSettings, FavName(kCount + 1), Sz("BEYOND.EXE"));
    Names sorted = names;
    std::sort(sorted.begin(), sorted.end());

    QuellonWindow w;
    ASSERT_TRUE(PumpUntil([&w] { return w.RowCount() > 0; }));
    HWND hDlg = nullptr;
    Names shown;
    RunEditor(&hDlg, {[&] {
        shown = Items(hDlg, IDC_FAVORITES);
        PostClick(hDlg, IDOK);
        return true;
    }});
    EXPECT_EQ(shown, sorted);
    for (size_t i = 0; i < kCount; ++i)
        ASSERT_EQ(Stored(kSettings, FavName(i)), Sz(sorted[i])) << FavName(i);
    EXPECT_EQ(Stored(kSettings, FavName(kCount)).data, "<absent>");
    CArray<CString> loaded = LoadFavorites(TestApp().m_settings);
    ASSERT_EQ(static_cast<size_t>(loaded.GetSize()), kCount);
    EXPECT_EQ(std::string(loaded[0]), sorted.front());
    EXPECT_EQ(std::string(loaded[loaded.GetSize() - 1]), sorted.back());

    // Three names taken off in the editor: the last three values emptied.
    Steps remove;
    for (const char* name : {"P0000.EXE", "P2500.EXE", "P4999.EXE"}) {
        remove.push_back([&hDlg, name] {
            HWND hList = ::GetDlgItem(hDlg, IDC_FAVORITES);
            LRESULT n = ::SendMessageA(hList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(name));
            ::SendMessageA(hList, LB_SETCURSEL, static_cast<WPARAM>(n), 0);
            ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_FAVORITES, LBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(hList));
            ::SendMessageA(::GetDlgItem(hDlg, IDC_REMOVE), BM_CLICK, 0, 0);
            return true;
        });
    }
    remove.push_back([&] {
        shown = Items(hDlg, IDC_FAVORITES);
        PostClick(hDlg, IDOK);
        return true;
    });
    RunEditor(&hDlg, remove);
    Names shorter = sorted;
    shorter.erase(shorter.begin() + 4999);
    shorter.erase(shorter.begin() + 2500);
    shorter.erase(shorter.begin());
    EXPECT_EQ(shown, shorter);
    for (size_t i = 0; i < kCount; ++i)
        ASSERT_EQ(Stored(kSettings, FavName(i)), Sz(i < shorter.size() ? shorter[i] : ""))
            << FavName(i);
    EXPECT_EQ(Stored(kSettings, FavName(kCount)).data, "<absent>");
    EXPECT_EQ(Stored(kSettings, FavName(kCount + 1)), Sz("BEYOND.EXE"));

    // Two names: everything after them is emptied up to the first value
    // that was empty already.
    SaveFavorites(TestApp().m_settings, {"A.EXE", "B.EXE"});
    EXPECT_EQ(Stored(kSettings, "Fav0"), Sz("A.EXE"));
    EXPECT_EQ(Stored(kSettings, "Fav1"), Sz("B.EXE"));
    for (size_t i = 2; i < kCount; ++i)
        ASSERT_EQ(Stored(kSettings, FavName(i)), Sz("")) << FavName(i);
    EXPECT_EQ(Stored(kSettings, FavName(kCount)).data, "<absent>");
    EXPECT_EQ(Stored(kSettings, FavName(kCount + 1)), Sz("BEYOND.EXE"));
    EXPECT_EQ(LoadFavorites(TestApp().m_settings).GetSize(), 2);
    EXPECT_TRUE(Boxes().empty());
}

// ---------------------------------------------------------------------------
// Processes that come and go

// Starts short-lived copies of the helper, one after another, on a thread of
// its own, until it is stopped; up to two run at any time.
class Churn
{
public:
    explicit Churn(const std::string& path) : m_path(path)
    {
        m_hThread = ::CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
    }
    ~Churn() { Stop(); }
    void Stop()
    {
        if (m_hThread == nullptr)
            return;
        ::InterlockedExchange(&m_bStop, 1);
        ::WaitForSingleObject(m_hThread, INFINITE);
        ::CloseHandle(m_hThread);
        m_hThread = nullptr;
    }
    LONG Started() const { return m_nStarted; }

private:
    static DWORD WINAPI ThreadProc(LPVOID pParam)
    {
        static_cast<Churn*>(pParam)->Run();
        return 0;
    }
    void Run()
    {
        std::deque<std::unique_ptr<HelperProcess>> running;
        for (unsigned n = 0; ::InterlockedCompareExchange(&m_bStop, 0, 0) == 0; ++n) {
            while (!running.empty() && !running.front()->Running())
                running.pop_front();
            if (running.size() < 2) {
                // Lifetimes of 0 to 150 ms: some end before a refresh sees
                // them, some between a refresh and a kill.
                running.emplace_back(
                    new HelperProcess(m_path, 0, "--exit-after " + std::to_string((n * 37) % 151)));
                if (running.back()->Started())
                    ::InterlockedIncrement(&m_nStarted);
            }
            // Starting a process is much work for Wine; a pause leaves the
            // machine to the refreshes.
            ::Sleep(20);
        }
    }

    std::string m_path;
    HANDLE m_hThread = nullptr;
    volatile LONG m_bStop = 0;
    volatile LONG m_nStarted = 0;
};

// The long runs: the test run gives them more time and starts them first.
class LongRun : public RobustnessTest
{
};

TEST_F(LongRun, RefreshesAndKillsWhileProcessesComeAndGo)
{
    HelperProcess& bystanderA = helpers.Start("churn", "bystander_a.exe");
    HelperProcess& bystanderB = helpers.Start("churn", "bystander_b.exe");
    Store(kSettings, "Fav0", Sz("churn.exe"));
    QuellonWindow w;
    ASSERT_TRUE(PumpUntil([&w] { return w.RowCount() > 0; }));

    // The races run until each has been seen: processes started and ended
    // by the dozen, kills of churning processes that were still running
    // when the kill came and kills of ones that had ended since the
    // snapshot (their rows stay), and Kill Favorites passes, which refresh
    // first. Under Wine a refresh takes 50 to 120 ms (a module snapshot of
    // every process); the bound on the refreshes is only reached if the
    // races stop happening.
    const int kMostRefreshes = 1000;
    Churn churn(PlaceHelper("churn", "churn.exe"));
    int nKillsOfRunning = 0, nKillsOfEnded = 0, nFavoritesPasses = 0, nBadRows = 0;
    DWORD dwLongestCommand = 0;
    auto enough = [&] {
        return churn.Started() > 50 && nKillsOfRunning >= 5 && nKillsOfEnded >= 3 &&
               nFavoritesPasses >= 5;
    };
    int i = 0;
    for (; i < kMostRefreshes && !enough(); ++i) {
        w.Command(ID_VIEW_REFRESH);
        if (i % 5 != 0)
            continue;
        // Every row reads back as a process: a name, a PID that parses, and
        // one row per executable and path.
        std::vector<std::string> names = w.Column(0), pids = w.Column(1), paths = w.Column(4);
        for (size_t r = 0; r < names.size(); ++r) {
            DWORD dwPID;
            if (names[r].empty() || !ParsePidText(pids[r].c_str(), &dwPID))
                ++nBadRows;
            for (size_t s = r + 1; s < names.size(); ++s)
                nBadRows += lstrcmpiA(names[r].c_str(), names[s].c_str()) == 0 &&
                            lstrcmpiA(paths[r].c_str(), paths[s].c_str()) == 0;
        }
        EXPECT_NE(w.view->FindRowByName("bystander_a.exe"), -1) << "refresh " << i;
        EXPECT_NE(w.view->FindRowByName("bystander_b.exe"), -1) << "refresh " << i;
        // A kill of a churning process, which may have ended since the
        // snapshot, and now and then Kill Favorites.
        DWORD dwStart = ::GetTickCount();
        int row = w.view->FindRowByName("churn.exe");
        if (row != -1) {
            std::string pid = pids[row];
            w.Select({row});
            w.Command(ID_PROCESS_KILL);
            // The row goes with a process that was killed; it stays when
            // the process had ended before the kill.
            std::vector<std::string> after = w.Column(1);
            if (std::find(after.begin(), after.end(), pid) == after.end())
                ++nKillsOfRunning;
            else
                ++nKillsOfEnded;
        }
        if (i % 25 == 0) {
            w.Command(ID_PROCESS_KILLFAVORITES);
            ++nFavoritesPasses;
        }
        dwLongestCommand = std::max(dwLongestCommand, ::GetTickCount() - dwStart);
        PumpMessages(0);
    }
    churn.Stop();

    EXPECT_TRUE(enough()) << i << " refreshes; " << churn.Started() << " processes started, "
                          << nKillsOfRunning << " killed, " << nKillsOfEnded
                          << " kills came after the end, " << nFavoritesPasses
                          << " Kill Favorites passes";
    EXPECT_EQ(nBadRows, 0);
    EXPECT_LT(dwLongestCommand, 5000u) << "a kill waited for nothing";
    EXPECT_TRUE(bystanderA.Running());
    EXPECT_TRUE(bystanderB.Running());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(w.Alive());
}

TEST_F(RobustnessTest, AKillAimedAtAProcessThatHasEndedKillsNothing)
{
    HelperProcess& bystander = helpers.Start("ended", "bystander.exe");
    QuellonWindow w;
    ASSERT_TRUE(PumpUntil([&w] { return w.RowCount() > 0; }));
    std::string path = PlaceHelper("ended", "shortlived.exe");
    HelperProcess shortlived(path, 0, "--exit-after 1000");
    ASSERT_TRUE(WaitForModules(shortlived.Pid()));
    w.Command(ID_VIEW_REFRESH);
    int row = w.view->FindRowByName("shortlived.exe");
    ASSERT_NE(row, -1);
    ASSERT_TRUE(shortlived.WaitEnded(10000));
    EXPECT_EQ(shortlived.ExitCode(), 0u) << "it ended by itself";

    // Processes started since the snapshot, under other names, are left
    // alone by a kill aimed at the row of the one that has ended.
    HelperProcesses later;
    std::vector<HelperProcess*> newcomers;
    for (int i = 0; i < 3; ++i)
        newcomers.push_back(&later.Start("ended", "newcomer" + std::to_string(i) + ".exe"));
    w.Select({row});
    w.Command(ID_PROCESS_KILL);
    EXPECT_NE(w.view->FindRowByName("shortlived.exe"), -1) << "the row stays";
    w.Command(ID_PROCESS_KILLFAVORITES); // an empty list: a message, no kill
    for (HelperProcess* newcomer : newcomers)
        EXPECT_TRUE(newcomer->Running());
    EXPECT_TRUE(bystander.Running());
    EXPECT_EQ(Boxes(), Names{kEmptyList});
}

// ---------------------------------------------------------------------------
// Long use: the system resources the program holds stay as they were

// The live GDI objects of this process, by the type the system gives them
// (1 a device context, 4 a region, 5 a bitmap, 10 a font, 16 a brush ...).
// Wine keeps a process's GDI handle table where Windows NT does, and its
// GetGuiResources answers 0: the table, which the process environment block
// points to, holds 16,384 entries of 24 bytes, and an entry whose object
// type (byte 14) is not 0 is a live object of this process. A 32-bit
// program in a 64-bit prefix finds the table only in its 64-bit block, by
// way of its 64-bit thread block (the offset to which its own thread block
// keeps at 0xFDC).
std::map<int, int> LiveGdiObjects()
{
    const BYTE* pTable;
#ifdef _WIN64
    const BYTE* pPeb;
    asm("movq %%gs:0x60, %0" : "=r"(pPeb));
    pTable = *reinterpret_cast<const BYTE* const*>(pPeb + 0xF8);
#else
    const BYTE* pTeb;
    asm("movl %%fs:0x18, %0" : "=r"(pTeb));
    const BYTE* pPeb = *reinterpret_cast<const BYTE* const*>(pTeb + 0x30);
    pTable = *reinterpret_cast<const BYTE* const*>(pPeb + 0x94);
    const LONG nWowTebOffset = *reinterpret_cast<const LONG*>(pTeb + 0xFDC);
    if (pTable == nullptr && nWowTebOffset != 0) {
        const BYTE* pTeb64 = pTeb + nWowTebOffset;
        const ULONG64 peb64 = *reinterpret_cast<const ULONG64*>(pTeb64 + 0x60);
        const BYTE* pPeb64 = reinterpret_cast<const BYTE*>(static_cast<UINT_PTR>(peb64));
        const ULONG64 table64 = *reinterpret_cast<const ULONG64*>(pPeb64 + 0xF8);
        pTable = reinterpret_cast<const BYTE*>(static_cast<UINT_PTR>(table64));
    }
#endif
    std::map<int, int> live;
    for (int i = 0; pTable != nullptr && i < 16384; ++i) {
        if (pTable[i * 24 + 14] != 0)
            ++live[pTable[i * 24 + 14]];
    }
    return live;
}

BOOL CALLBACK CountOwnWindow(HWND hWnd, LPARAM lParam)
{
    DWORD dwPID = 0;
    ::GetWindowThreadProcessId(hWnd, &dwPID);
    if (dwPID == ::GetCurrentProcessId()) {
        ++*reinterpret_cast<int*>(lParam);
        ::EnumChildWindows(hWnd, CountOwnWindow, lParam);
    }
    return TRUE;
}

// The windows of this process, top-level and child windows alike.
int OwnWindows()
{
    int nWindows = 0;
    ::EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&nWindows));
    return nWindows;
}

TEST_F(LongRun, LongUseKeepsTheSystemResourcesSteady)
{
    // GDI objects are counted at all: a brush made adds one.
    std::map<int, int> before = LiveGdiObjects();
    ASSERT_FALSE(before.empty());
    HBRUSH hBrush = ::CreateSolidBrush(RGB(1, 2, 3));
    std::map<int, int> withBrush = LiveGdiObjects();
    ::DeleteObject(hBrush);
    EXPECT_EQ(withBrush.size(), before.size() + (before.count(16) == 0));
    EXPECT_EQ(withBrush[16], before[16] + 1);
    ASSERT_EQ(LiveGdiObjects(), before);

    Store(kSettings, "Fav0", Sz("steady.exe"));
    Store(kSettings, "Fav1", Sz("absent.exe"));
    const std::string helper = PlaceHelper("steady", "steady.exe");
    QuellonWindow w;
    ASSERT_TRUE(PumpUntil([&w] { return w.RowCount() > 0; }));

    auto refresh = [&w](int i) {
        w.Command(ID_VIEW_REFRESH);
        w.frame->SetMessageText(i % 2 ? ID_VIEW_REFRESH : ID_PROCESS_KILL);
        w.frame->SetStatusPaneText(1, i % 2 ? "Killing STEADY.EXE" : "");
        PumpMessages(0);
    };
    auto resize = [&w](int i) {
        ::SetWindowPos(w.m_hWnd, nullptr, 20 + i % 7, 30, 500 + 3 * (i % 11), 400 + i % 5,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        PumpMessages(0);
    };
    auto about = [] {
        HWND hDlg = nullptr;
        RunModal(
            [] {
                TestApp().OnAppAbout();
                return static_cast<INT_PTR>(IDOK);
            },
            {[&hDlg] {
                 hDlg = FindDialog("About Quellon");
                 if (hDlg != nullptr)
                     ::UpdateWindow(hDlg);
                 return hDlg != nullptr;
             },
             [&hDlg] {
                 PostClick(hDlg, IDOK);
                 return true;
             }});
        EXPECT_EQ(FindDialog("About Quellon"), nullptr);
    };
    auto editor = [] {
        HWND hDlg = nullptr;
        bool bAddNameShown = false;
        RunEditor(&hDlg, {[&hDlg] {
                              ::UpdateWindow(hDlg);
                              PostClick(hDlg, IDC_MANUALADD);
                              return true;
                          },
                          [&bAddNameShown] {
                              HWND hAdd = FindDialog("Add Process Name");
                              if (hAdd == nullptr)
                                  return false;
                              bAddNameShown = true;
                              ::UpdateWindow(hAdd);
                              PostClick(hAdd, IDCANCEL);
                              return true;
                          },
                          [&hDlg] {
                              if (FindDialog("Add Process Name") != nullptr)
                                  return false;
                              PostClick(hDlg, IDCANCEL);
                              return true;
                          }});
        EXPECT_TRUE(bAddNameShown);
        EXPECT_EQ(FindDialog("Favorites"), nullptr);
    };
    auto killFavorites = [&w, &helper] {
        HelperProcess steady(helper);
        ASSERT_TRUE(WaitForModules(steady.Pid()));
        w.Command(ID_PROCESS_KILLFAVORITES);
        EXPECT_TRUE(steady.WaitEnded(10000));
    };

    // One cycle of use: refreshes with status texts, resizes, About boxes,
    // Favorites editors with the Add Name dialog, and a Kill Favorites pass.
    auto cycle = [&](int nFirst) {
        for (int i = nFirst; i < nFirst + 20; ++i) {
            refresh(i);
            if (i % 4 == 0)
                resize(i);
            if (i % 10 == 0) {
                about();
                editor();
            }
            if (i % 20 == 0)
                killFavorites();
        }
        // Windows are painted before counting: an update region that waits
        // for its WM_PAINT is a GDI object of its own.
        ::RedrawWindow(w.m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpMessages(100);
    };
    // The first cycle keeps what first openings keep: window classes, and
    // the system's caches (Wine's cache of device contexts grows, a context,
    // its region and its bitmap at a time, to as many as are used at once).
    // Ten more cycles may not add anything.
    cycle(0);
    const std::map<int, int> gdi = LiveGdiObjects();
    const int nWindows = OwnWindows();
    for (int i = 1; i <= 10; ++i)
        cycle(20 * i);
    EXPECT_EQ(LiveGdiObjects(), gdi) << "GDI objects left behind (type, count)";
    EXPECT_EQ(OwnWindows(), nWindows) << "windows left behind";
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(w.Alive());
}

// ---------------------------------------------------------------------------
// A settings key that cannot be created

TEST_F(RobustnessTest, WithASettingsKeyThatCannotBeCreatedTheProgramRunsOnDefaults)
{
    // Below a volatile key the registry refuses to create a lasting one:
    // bound to such a root, the settings store can neither create its key
    // nor write a value.
    const char kVolatile[] = "Software\\Corvanel Software\\QuellonVolatileRoot";
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kVolatile);
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kQuellonKey);
    const std::string ini = WindowsDir() + "\\Quellon.INI";
    ScopeExit cleanup([&] {
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kVolatile);
        ::DeleteFileA(ini.c_str());
    });
    CRegKey root;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kVolatile, 0, nullptr, REG_OPTION_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, root.Receive(), nullptr),
              ERROR_SUCCESS);
    HKEY hRoot = root;
    CRegKey probe;
    ASSERT_EQ(::RegCreateKeyExA(hRoot, "probe", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                                nullptr, probe.Receive(), nullptr),
              ERROR_CHILD_MUST_BE_VOLATILE);
    probe.Detach();
    // A legacy INI file that a successful first run would import.
    ASSERT_TRUE(WriteTextFile(ini, "[Newbie]\nStart=0\n[Settings]\nFav0=victim.exe\n"));
    HelperProcess& victim = helpers.Start("locked", "victim.exe");
    HelperProcess& bystander = helpers.Start("locked", "bystander.exe");

    ScopedSettingsRoot bound(hRoot);
    {
        QuellonWindow w;
        ASSERT_TRUE(w.Alive());
        EXPECT_EQ(TestApp().m_settings.m_hRootKey, hRoot);
        EXPECT_EQ(TestApp().m_settings.m_strBasePath, kQuellonKey);
        // The first-run warning (the value cannot be read, so it is due),
        // then the list.
        ASSERT_TRUE(PumpUntil([&w] { return w.RowCount() > 0; }));
        EXPECT_EQ(Boxes(), Names{kWarning});
        EXPECT_EQ(WindowRect(w.m_hWnd), DefaultRect());

        int row = w.view->FindRowByName("victim.exe");
        ASSERT_NE(row, -1);
        w.Select({row});
        w.Command(ID_PROCESS_KILL);
        EXPECT_TRUE(victim.WaitEnded(0));
        EXPECT_TRUE(bystander.Running());

        // The editor opens and takes a name; OK stores nothing anywhere.
        HWND hDlg = nullptr;
        RunEditor(&hDlg, {[&] {
                              PostClick(hDlg, IDC_MANUALADD);
                              return true;
                          },
                          [] {
                              HWND hAdd = FindDialog("Add Process Name");
                              if (hAdd == nullptr)
                                  return false;
                              ::SetWindowTextA(::GetDlgItem(hAdd, IDC_NAME), "typed.exe");
                              ::SendMessageA(::GetDlgItem(hAdd, IDOK), BM_CLICK, 0, 0);
                              return true;
                          },
                          [&] {
                              if (FindDialog("Add Process Name") != nullptr)
                                  return false;
                              EXPECT_EQ(Items(hDlg, IDC_FAVORITES), Names{"TYPED.EXE"});
                              PostClick(hDlg, IDOK);
                              return true;
                          }});
        EXPECT_TRUE(LoadFavorites(TestApp().m_settings).IsEmpty());

        ::SendMessageA(w.m_hWnd, WM_CLOSE, 0, 0);
        EXPECT_FALSE(w.Alive());
    }
    EXPECT_EQ(Boxes(), Names{kWarning});
    DWORD nSubKeys = 99, nValues = 99;
    ::RegQueryInfoKeyA(hRoot, nullptr, nullptr, nullptr, &nSubKeys, nullptr, nullptr, &nValues,
                       nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(nSubKeys, 0u);
    EXPECT_EQ(nValues, 0u);
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kQuellonKey));
}

// ---------------------------------------------------------------------------
// Command lines

// The visible windows of a process: its main window and any dialog (a
// message box among them).
struct ProcessWindows
{
    DWORD dwPID;
    HWND hMain;
    HWND hDialog;
};

BOOL CALLBACK CollectProcessWindow(HWND hWnd, LPARAM lParam)
{
    ProcessWindows* p = reinterpret_cast<ProcessWindows*>(lParam);
    DWORD dwPID = 0;
    ::GetWindowThreadProcessId(hWnd, &dwPID);
    char szClass[16], szTitle[16];
    if (dwPID != p->dwPID || !::IsWindowVisible(hWnd) ||
        !::GetClassNameA(hWnd, szClass, sizeof szClass))
        return TRUE;
    if (lstrcmpA(szClass, "#32770") == 0)
        p->hDialog = hWnd;
    else if (::GetWindowTextA(hWnd, szTitle, sizeof szTitle) && lstrcmpA(szTitle, "Quellon") == 0)
        p->hMain = hWnd;
    return TRUE;
}

// Quellon.exe where a user has it, started with command lines that it has
// no use for: each start is the start without one. The window comes up,
// the start-up checks fill the list, no message is shown, and nothing is
// opened or written for the argument (a file that a start opened would be
// found held without sharing, and reported).
TEST_F(RobustnessTest, EveryCommandLineStartsQuellonAsWithNone)
{
    const std::string dir = "C:\\Program Files\\Quellon";
    const std::string exe = dir + "\\Quellon.exe";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA(QuellonExePath().c_str(), exe.c_str(), FALSE));
    const std::string held = TestDir("args") + "\\held.txt";
    const std::string missing = TestDir("args") + "\\not there.txt";
    ASSERT_TRUE(WriteTextFile(held, "held"));
    ::DeleteFileA(missing.c_str());
    CFileHandle holder(::CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.IsValid());
    const std::string profile = "Software\\Local AppWizard-Generated Applications\\Quellon";
    DeleteRegistryTree(HKEY_CURRENT_USER, profile);

    const std::string quoted = "\"" + exe + "\"";
    for (const std::string& cmdline :
         {quoted, exe /* unquoted, as a launcher gives it */, quoted + " " + held,
          quoted + " \"" + missing + "\"", quoted + " /unknown -x",
          quoted + " /p " + held + " /pt " + held + " printer driver port"}) {
        SCOPED_TRACE(cmdline);
        std::vector<char> buf(cmdline.begin(), cmdline.end());
        buf.push_back('\0');
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        ASSERT_TRUE(::CreateProcessA(exe.c_str(), buf.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                     nullptr, &si, &pi));
        CKernelHandle process(pi.hProcess), thread(pi.hThread);
        // Up once its list has rows; a message ends the wait at once.
        ProcessWindows windows = {pi.dwProcessId, nullptr, nullptr};
        LRESULT nRows = 0;
        const DWORD dwStart = ::GetTickCount();
        while (windows.hDialog == nullptr && nRows == 0 && ::GetTickCount() - dwStart < 30000 &&
               ::WaitForSingleObject(process, 100) == WAIT_TIMEOUT) {
            ::EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&windows));
            HWND hList = windows.hMain ? ::GetDlgItem(windows.hMain, AFX_IDW_PANE_FIRST) : nullptr;
            if (hList != nullptr)
                nRows = ::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0);
        }
        EXPECT_EQ(windows.hDialog, nullptr) << "a message was shown";
        EXPECT_NE(windows.hMain, nullptr) << "no main window";
        EXPECT_GT(nRows, 0) << "the start-up checks did not fill the list";
        if (windows.hDialog == nullptr && windows.hMain != nullptr) {
            ::PostMessageA(windows.hMain, WM_CLOSE, 0, 0);
            EXPECT_EQ(::WaitForSingleObject(process, 20000), WAIT_OBJECT_0) << "did not close";
        }
        if (::TerminateProcess(process, 1))
            ::WaitForSingleObject(process, 10000);
        DWORD dwCode = 1;
        ::GetExitCodeProcess(process, &dwCode);
        EXPECT_EQ(dwCode, 0u);
    }
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, profile + "\\Recent File List"));
    EXPECT_EQ(::GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);
    holder.Close();
    std::string text;
    EXPECT_TRUE(ReadTextFile(held, &text));
    EXPECT_EQ(text, "held");
}

} // namespace
