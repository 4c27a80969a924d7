// The Favorites editor and the Add Process Name dialog, run modally over the
// real main window. The view's rows are put in with AddProcessRow after the
// start-up snapshot, so the names are known; the dialogs are driven with
// mouse, keyboard and button messages, message boxes answered by CTestApp.
#include "TestSupport.h"

#include "Favorites.h"
#include "FavoritesDlg.h"
#include "resource.h"

#include <memory>

namespace {

typedef std::vector<std::string> Names;
typedef std::vector<std::function<bool()>> Steps;

const char kVsmonQuestion[] = "The application VSMON.EXE does not shut down gracefully.\n\n"
                              "Are you sure you want to add it to your Favorites?";

std::string SettingsPath()
{
    return std::string(kQuellonKey) + "\\Settings";
}

void StoreFavorites(const Names& names)
{
    for (size_t i = 0; i < names.size(); ++i)
        WriteRegistryText(HKEY_LOCAL_MACHINE, SettingsPath(), "Fav" + std::to_string(i), names[i]);
}

// Fav0, Fav1, ... as stored, up to the first absent value (empty ones
// included).
Names StoredFavorites()
{
    Names names;
    std::string text;
    while (ReadRegistryText(HKEY_LOCAL_MACHINE, SettingsPath(),
                            "Fav" + std::to_string(names.size()), &text))
        names.push_back(text);
    return names;
}

HWND Control(HWND hDlg, int nID)
{
    return ::GetDlgItem(hDlg, nID);
}

Names Items(HWND hDlg, int nID)
{
    return ListBoxItems(Control(hDlg, nID));
}

bool Enabled(HWND hDlg, int nID)
{
    return ::IsWindowEnabled(Control(hDlg, nID)) != FALSE;
}

int CurSel(HWND hDlg, int nID)
{
    return static_cast<int>(::SendMessageA(Control(hDlg, nID), LB_GETCURSEL, 0, 0));
}

// Clicks the item of a list box that shows the text, as the mouse does.
bool ClickItem(HWND hDlg, int nID, const char* pszText)
{
    HWND hList = Control(hDlg, nID);
    LRESULT nIndex = ::SendMessageA(hList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(pszText));
    RECT rc;
    if (nIndex == LB_ERR || ::SendMessageA(hList, LB_GETITEMRECT, static_cast<WPARAM>(nIndex),
                                           reinterpret_cast<LPARAM>(&rc)) == LB_ERR)
        return false;
    LPARAM lPoint = MAKELPARAM(rc.left + 4, (rc.top + rc.bottom) / 2);
    ::SendMessageA(hList, WM_LBUTTONDOWN, MK_LBUTTON, lPoint);
    ::SendMessageA(hList, WM_LBUTTONUP, 0, lPoint);
    return CurSel(hDlg, nID) == nIndex;
}

void Click(HWND hDlg, int nID)
{
    ::SendMessageA(Control(hDlg, nID), BM_CLICK, 0, 0);
}

class FavoritesDialogTest : public QuellonTest
{
protected:
    void SetUp() override
    {
        QuellonTest::SetUp();
        window = std::make_unique<QuellonWindow>();
        ASSERT_TRUE(window->Alive());
        // The start-up checks take the first snapshot; the rows of a test
        // replace it.
        ASSERT_TRUE(PumpUntil([this] { return window->RowCount() > 0; }));
        window->view->GetListCtrl().DeleteAllItems();
    }
    void TearDown() override
    {
        window.reset();
        QuellonTest::TearDown();
    }

    void AddRow(const char* pszProcess, const char* pszPath)
    {
        ProcessRow row = {};
        lstrcpynA(row.szProcess, pszProcess, sizeof row.szProcess);
        lstrcpynA(row.szFullPath, pszPath, sizeof row.szFullPath);
        row.dwPID = 0x100 + static_cast<DWORD>(window->RowCount());
        row.dwNumThreads = 1;
        ASSERT_TRUE(window->view->AddProcessRow(row));
    }

    // Runs the editor; the first step finds it (as hDlg), then the script.
    INT_PTR RunEditor(const Steps& script)
    {
        Steps steps;
        steps.push_back([this] { return (hDlg = FindDialog("Favorites")) != nullptr; });
        steps.insert(steps.end(), script.begin(), script.end());
        CFavoritesDlg dlg;
        return RunModal([&dlg] { return dlg.DoModal(); }, steps);
    }

    // Steps that type a name into the Add Process Name dialog and end it
    // with the button given.
    Steps TypeName(const std::string& name, int nEndID = IDOK)
    {
        return {
            [this] {
                PostClick(hDlg, IDC_MANUALADD);
                return true;
            },
            [name, nEndID] {
                HWND hAdd = FindDialog("Add Process Name");
                if (hAdd == nullptr)
                    return false;
                ::SetWindowTextA(Control(hAdd, IDC_NAME), name.c_str());
                Click(hAdd, nEndID);
                return true;
            },
            [] { return FindDialog("Add Process Name") == nullptr; },
        };
    }

    std::unique_ptr<QuellonWindow> window;
    HWND hDlg = nullptr;
};

Steps operator+(Steps a, const Steps& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::string> Strings(const CArray<CString>& names)
{
    return std::vector<std::string>(names.begin(), names.end());
}

TEST(FavoritesRules, CandidatesAndTheNameThatNeedsAQuestion)
{
    // Each row's name is upper-cased and offered unless the Favorites hold
    // it; the question is asked with the upper-cased name.
    CArray<CString> rows = {"a.exe", "B.EXE", "A.EXE", "Fav.Exe", "c.exe"};
    std::vector<std::string> asked;
    auto holdsFav = [&asked](const CString& strName) {
        asked.push_back(static_cast<LPCSTR>(strName));
        return strName == "FAV.EXE";
    };
    EXPECT_EQ(Strings(ChooseCandidates(rows, holdsFav)),
              (std::vector<std::string>{"A.EXE", "B.EXE", "A.EXE", "C.EXE"}));
    EXPECT_EQ(asked, (std::vector<std::string>{"A.EXE", "B.EXE", "A.EXE", "FAV.EXE", "C.EXE"}));
    EXPECT_EQ(Strings(ChooseCandidates(rows, [](const CString&) { return true; })),
              std::vector<std::string>{});

    // The editor asks its Favorites list box: whatever the bytes, a name
    // that the list box's exact search finds is no candidate.
    HWND hList = ::CreateWindowA("LISTBOX", "", LBS_SORT, 0, 0, 100, 100, nullptr, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(hList, nullptr);
    const char* const pairs[][2] = {{"STRASSE.EXE", "STRA\xDF"
                                                    "E.EXE"},
                                    {"\xC4RGER.EXE", "\xE4RGER.EXE"},
                                    {"A.EXE", "B.EXE"},
                                    {"GR\xD6SSE.EXE", "GROSSE.EXE"}};
    auto holdsListed = [hList](const CString& strName) {
        return ::SendMessageA(hList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strName))) != LB_ERR;
    };
    int nSame = 0;
    for (const auto& pair : pairs) {
        ::SendMessageA(hList, LB_RESETCONTENT, 0, 0);
        ::SendMessageA(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pair[0]));
        bool bFound = holdsListed(pair[1]);
        nSame += bFound;
        EXPECT_EQ(ChooseCandidates({pair[1]}, holdsListed).GetSize(), bFound ? 0 : 1) << pair[1];
    }
    ::DestroyWindow(hList);
    EXPECT_GE(nSame, 2) << "the list box ignores case beyond ASCII, and under Wine takes "
                           "\xDF for SS";
    CString strQuestion;
    EXPECT_FALSE(NeedsConfirmationToAdd("VSMON.EX", &strQuestion));
    EXPECT_FALSE(NeedsConfirmationToAdd("XVSMON.EXE", &strQuestion));
    EXPECT_TRUE(strQuestion.IsEmpty());
    ASSERT_TRUE(NeedsConfirmationToAdd("VSMON.EXE", &strQuestion));
    EXPECT_STREQ(strQuestion, "The application VSMON.EXE does not shut down gracefully.\n\n"
                              "Are you sure you want to add it to your Favorites?");
}

TEST_F(FavoritesDialogTest, CandidatesAreTheListedRowsOncePerRow)
{
    AddRow("b.exe", "C:\\apps\\b.exe");
    AddRow("A.EXE", "C:\\one\\A.EXE");
    AddRow("A.EXE", "C:\\two\\A.EXE");
    Names favorites, candidates;
    bool bAddEnabled = true, bRemoveEnabled = true, bCandidatesFocused = false;
    RunEditor({[&] {
        favorites = Items(hDlg, IDC_FAVORITES);
        candidates = Items(hDlg, IDC_CANDIDATES);
        bAddEnabled = Enabled(hDlg, IDC_ADD);
        bRemoveEnabled = Enabled(hDlg, IDC_REMOVE);
        bCandidatesFocused = ::GetFocus() == Control(hDlg, IDC_CANDIDATES);
        ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
        return true;
    }});
    EXPECT_TRUE(favorites.empty());
    // The rows as listed, not a new snapshot.
    EXPECT_EQ(candidates, (Names{"A.EXE", "A.EXE", "B.EXE"}));
    EXPECT_FALSE(bAddEnabled);
    EXPECT_FALSE(bRemoveEnabled);
    EXPECT_TRUE(bCandidatesFocused);
}

TEST_F(FavoritesDialogTest, StoredNamesAreFavoritesAndNoLongerCandidates)
{
    // The stored list ends at its first empty value.
    StoreFavorites({"x.exe", "Keep.exe", "X.EXE", "", "after.exe"});
    AddRow("keep.exe", "C:\\apps\\keep.exe");
    AddRow("lower.exe", "C:\\apps\\lower.exe");
    AddRow("Mixed.Exe", "C:\\apps\\Mixed.Exe");
    AddRow("after.exe", "C:\\apps\\after.exe");
    Names favorites, candidates;
    RunEditor({[&] {
        favorites = Items(hDlg, IDC_FAVORITES);
        candidates = Items(hDlg, IDC_CANDIDATES);
        ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
        return true;
    }});
    EXPECT_EQ(favorites, (Names{"KEEP.EXE", "X.EXE", "X.EXE"}));
    EXPECT_EQ(candidates, (Names{"AFTER.EXE", "LOWER.EXE", "MIXED.EXE"}));
}

TEST_F(FavoritesDialogTest, VsmonIsMovedOnlyAfterYes)
{
    AddRow("vsmon.exe", "C:\\debug\\vsmon.exe");
    AddRow("other.exe", "C:\\apps\\other.exe");
    CTestApp& app = TestApp();
    Names candidatesAfterNo, favoritesAfterNo, candidatesAfterYes, favoritesAfterYes;
    bool bAddEnabledAfterNo = false, bAddEnabledAfterYes = true;
    int nSelAfterYes = 0;
    size_t nBoxesAfterNo = 0;
    bool bFocusOnCandidates = false;
    RunEditor({
        [&] { return ClickItem(hDlg, IDC_CANDIDATES, "VSMON.EXE") && Enabled(hDlg, IDC_ADD); },
        [&] {
            app.m_answers = {IDNO};
            Click(hDlg, IDC_ADD);
            nBoxesAfterNo = app.m_boxes.size();
            candidatesAfterNo = Items(hDlg, IDC_CANDIDATES);
            favoritesAfterNo = Items(hDlg, IDC_FAVORITES);
            bAddEnabledAfterNo = Enabled(hDlg, IDC_ADD);
            app.m_answers = {IDYES};
            ::SetFocus(Control(hDlg, IDC_ADD)); // pressed from the keyboard
            Click(hDlg, IDC_ADD);
            bFocusOnCandidates = ::GetFocus() == Control(hDlg, IDC_CANDIDATES);
            candidatesAfterYes = Items(hDlg, IDC_CANDIDATES);
            favoritesAfterYes = Items(hDlg, IDC_FAVORITES);
            nSelAfterYes = CurSel(hDlg, IDC_CANDIDATES);
            bAddEnabledAfterYes = Enabled(hDlg, IDC_ADD);
            return true;
        },
        // Any other name moves without a question.
        [&] { return ClickItem(hDlg, IDC_CANDIDATES, "OTHER.EXE"); },
        [&] {
            Click(hDlg, IDC_ADD);
            ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
            return true;
        },
    });
    ASSERT_EQ(app.m_boxes.size(), 2u);
    EXPECT_EQ(nBoxesAfterNo, 1u);
    for (const CTestApp::Box& box : app.m_boxes) {
        EXPECT_EQ(box.text, kVsmonQuestion);
        EXPECT_EQ(box.type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    }
    EXPECT_EQ(candidatesAfterNo, (Names{"OTHER.EXE", "VSMON.EXE"}));
    EXPECT_TRUE(favoritesAfterNo.empty());
    EXPECT_TRUE(bAddEnabledAfterNo);
    EXPECT_EQ(candidatesAfterYes, (Names{"OTHER.EXE"}));
    EXPECT_EQ(favoritesAfterYes, (Names{"VSMON.EXE"}));
    EXPECT_EQ(nSelAfterYes, LB_ERR);
    EXPECT_FALSE(bAddEnabledAfterYes);
    EXPECT_TRUE(bFocusOnCandidates) << "the disabled arrow hands the focus to its list";
}

TEST_F(FavoritesDialogTest, RemovedNamesReturnToCandidatesOnlyWhenListed)
{
    StoreFavorites({"GONE.EXE", "RUN.EXE", "ZED.EXE"});
    AddRow("run.exe", "C:\\apps\\run.exe");
    AddRow("new.exe", "C:\\apps\\new.exe");
    Names favorites[3], candidates[3];
    int nSel[3] = {0, 0, 0};
    bool bRemoveEnabled[3] = {true, true, true};
    // A list of exactly one name, that name selected: its arrow is enabled.
    bool bAddForOne = false, bRemoveForOne = false;
    auto record = [&](int i) {
        favorites[i] = Items(hDlg, IDC_FAVORITES);
        candidates[i] = Items(hDlg, IDC_CANDIDATES);
        nSel[i] = CurSel(hDlg, IDC_FAVORITES);
        bRemoveEnabled[i] = Enabled(hDlg, IDC_REMOVE);
    };
    RunEditor({
        [&] {
            // Without a selection the arrows move nothing.
            ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_ADD, BN_CLICKED),
                           reinterpret_cast<LPARAM>(Control(hDlg, IDC_ADD)));
            ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_REMOVE, BN_CLICKED),
                           reinterpret_cast<LPARAM>(Control(hDlg, IDC_REMOVE)));
            record(0);
            return true;
        },
        [&] {
            bAddForOne = ClickItem(hDlg, IDC_CANDIDATES, "NEW.EXE") && Enabled(hDlg, IDC_ADD);
            return true;
        },
        [&] { return ClickItem(hDlg, IDC_FAVORITES, "GONE.EXE") && Enabled(hDlg, IDC_REMOVE); },
        [&] {
            Click(hDlg, IDC_REMOVE);
            record(1);
            return true;
        },
        [&] { return ClickItem(hDlg, IDC_FAVORITES, "RUN.EXE") && Enabled(hDlg, IDC_REMOVE); },
        [&] {
            Click(hDlg, IDC_REMOVE);
            record(2);
            return true;
        },
        [&] {
            bRemoveForOne = ClickItem(hDlg, IDC_FAVORITES, "ZED.EXE") && Enabled(hDlg, IDC_REMOVE);
            return true;
        },
        [&] { return ClickItem(hDlg, IDC_CANDIDATES, "RUN.EXE") && Enabled(hDlg, IDC_ADD); },
        [&] {
            PostClick(hDlg, IDOK);
            return true;
        },
    });
    EXPECT_EQ(favorites[0], (Names{"GONE.EXE", "RUN.EXE", "ZED.EXE"}));
    EXPECT_EQ(candidates[0], (Names{"NEW.EXE"}));
    EXPECT_EQ(favorites[1], (Names{"RUN.EXE", "ZED.EXE"}));
    EXPECT_EQ(candidates[1], (Names{"NEW.EXE"}));
    EXPECT_EQ(favorites[2], (Names{"ZED.EXE"}));
    EXPECT_EQ(candidates[2], (Names{"NEW.EXE", "RUN.EXE"}));
    EXPECT_TRUE(bAddForOne);
    EXPECT_TRUE(bRemoveForOne);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(nSel[i], LB_ERR) << "after step " << i;
        EXPECT_FALSE(bRemoveEnabled[i]) << "after step " << i;
    }
    // The shorter list is stored; the value it no longer needs is emptied.
    EXPECT_EQ(StoredFavorites(), (Names{"ZED.EXE", "", ""}));
}

TEST_F(FavoritesDialogTest, TypedNamesJoinTheFavoritesOnly)
{
    StoreFavorites({"KNOWN.EXE"});
    AddRow("cand.exe", "C:\\apps\\cand.exe");
    Names favorites[5], candidates[5];
    auto record = [&](int i) {
        return [&, i] {
            favorites[i] = Items(hDlg, IDC_FAVORITES);
            candidates[i] = Items(hDlg, IDC_CANDIDATES);
            return true;
        };
    };
    Steps script = TypeName("known.Exe") + Steps{record(0)} + TypeName("cand.exe") +
                   Steps{record(1)} + TypeName("") + Steps{record(2)} + TypeName("  ") +
                   Steps{record(3)} + TypeName("later.exe", IDCANCEL) + Steps{record(4)} +
                   Steps{[this] {
                       PostClick(hDlg, IDOK);
                       return true;
                   }};
    EXPECT_EQ(RunEditor(script), IDOK);
    EXPECT_EQ(favorites[0], (Names{"KNOWN.EXE"}));
    EXPECT_EQ(favorites[1], (Names{"CAND.EXE", "KNOWN.EXE"}));
    EXPECT_EQ(favorites[2], favorites[1]) << "the empty name is kept out";
    EXPECT_EQ(favorites[3], (Names{"  ", "CAND.EXE", "KNOWN.EXE"}));
    EXPECT_EQ(favorites[4], favorites[3]) << "Cancel adds nothing";
    for (const Names& names : candidates)
        EXPECT_EQ(names, (Names{"CAND.EXE"}));
    EXPECT_EQ(StoredFavorites(), (Names{"  ", "CAND.EXE", "KNOWN.EXE"}));
    EXPECT_TRUE(TestApp().m_boxes.empty());
}

TEST_F(FavoritesDialogTest, TheNameTakesAtMostTwelveCharacters)
{
    std::string typed, afterRefusal;
    bool bStillOpen = false;
    Names favorites;
    RunEditor({
        [this] {
            PostClick(hDlg, IDC_MANUALADD);
            return true;
        },
        [&] {
            HWND hAdd = FindDialog("Add Process Name");
            if (hAdd == nullptr)
                return false;
            HWND hEdit = Control(hAdd, IDC_NAME);
            for (const char* p = "abcdefghijklmnop"; *p != '\0'; ++p)
                ::SendMessageA(hEdit, WM_CHAR, static_cast<WPARAM>(*p), 1);
            ::SendMessageA(hEdit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("xyz"));
            char sz[64] = {};
            ::GetWindowTextA(hEdit, sz, sizeof sz);
            typed = sz;
            // A text put in directly passes the limit, but OK refuses it.
            ::SetWindowTextA(hEdit, "abcdefghijklm");
            Click(hAdd, IDOK);
            bStillOpen = FindDialog("Add Process Name") == hAdd;
            ::GetWindowTextA(hEdit, sz, sizeof sz);
            afterRefusal = sz;
            ::SetWindowTextA(hEdit, "abcdefghijkl");
            Click(hAdd, IDOK);
            return true;
        },
        [this] { return FindDialog("Add Process Name") == nullptr; },
        [&] {
            favorites = Items(hDlg, IDC_FAVORITES);
            PostClick(hDlg, IDCANCEL);
            return true;
        },
    });
    EXPECT_EQ(typed, "abcdefghijkl");
    EXPECT_TRUE(bStillOpen);
    EXPECT_EQ(afterRefusal, "abcdefghijklm");
    ASSERT_EQ(TestApp().m_boxes.size(), 1u);
    EXPECT_EQ(TestApp().m_boxes[0].text, "Please enter no more than 12 characters.");
    EXPECT_EQ(favorites, (Names{"ABCDEFGHIJKL"}));
}

TEST_F(FavoritesDialogTest, OkStoresTheFavoritesSorted)
{
    StoreFavorites({"zeta.exe", "Alpha.exe", "mid.exe"});
    EXPECT_EQ(RunEditor({[this] {
                  PostClick(hDlg, IDOK);
                  return true;
              }}),
              IDOK);
    EXPECT_EQ(StoredFavorites(), (Names{"ALPHA.EXE", "MID.EXE", "ZETA.EXE"}));
}

TEST_F(FavoritesDialogTest, CancelEscapeAndCloseBoxStoreNothing)
{
    const Names stored = {"b.exe", "a.exe"};
    // Each way out of the dialog after the same changes.
    const std::function<void(HWND)> leave[] = {
        [](HWND h) { PostClick(h, IDCANCEL); },
        [](HWND h) {
            HWND hFocus = ::GetFocus();
            ::PostMessageA(hFocus ? hFocus : h, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            ::PostMessageA(hFocus ? hFocus : h, WM_KEYUP, VK_ESCAPE, 0xC0010001);
        },
        [](HWND h) { ::PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    AddRow("c.exe", "C:\\apps\\c.exe");
    AddRow("d.exe", "C:\\apps\\d.exe");
    for (int i = 0; i < 3; ++i) {
        StoreFavorites(stored);
        Names favorites;
        Steps changes = {
            [this] { return ClickItem(hDlg, IDC_CANDIDATES, "C.EXE"); },
            [this] {
                Click(hDlg, IDC_ADD);
                return true;
            },
            [this] { return ClickItem(hDlg, IDC_FAVORITES, "A.EXE"); },
            [this] {
                Click(hDlg, IDC_REMOVE);
                return true;
            },
        };
        Steps leaving = {[&, i] {
            favorites = Items(hDlg, IDC_FAVORITES);
            leave[i](hDlg);
            return true;
        }};
        INT_PTR nResult = RunEditor(changes + TypeName("typed.exe") + leaving);
        EXPECT_EQ(favorites, (Names{"B.EXE", "C.EXE", "TYPED.EXE"})) << "exit " << i;
        EXPECT_EQ(nResult, IDCANCEL) << "exit " << i;
        EXPECT_EQ(StoredFavorites(), stored) << "exit " << i;
    }
}

TEST_F(FavoritesDialogTest, EditFavoritesCommandRunsTheEditorOverTheMainWindow)
{
    AddRow("only.exe", "C:\\apps\\only.exe");
    HWND hOwner = nullptr;
    Names candidates;
    RunModal(
        [this] {
            window->Command(ID_PROCESS_EDITFAVORITES);
            return 0;
        },
        {
            [&] {
                HWND h = FindDialog("Favorites");
                if (h == nullptr)
                    return false;
                hOwner = ::GetWindow(h, GW_OWNER);
                candidates = Items(h, IDC_CANDIDATES);
                PostClick(h, IDOK);
                return true;
            },
        });
    EXPECT_EQ(hOwner, window->m_hWnd);
    EXPECT_EQ(candidates, (Names{"ONLY.EXE"}));
    // The list is not refreshed afterwards: the row put in is still there.
    EXPECT_EQ(window->Column(0), (Names{"only.exe"}));
}

} // namespace
