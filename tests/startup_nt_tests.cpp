// Start-up checks where Wine reports Windows NT 4.0 (platform 2) to this
// program: the refusal, no process list, and an orderly close; and the
// settings as the NT family stores them.
#include "Favorites.h"
#include "TestSupport.h"

namespace {

TEST(StartupOnNt, ThePlatformIsNotOfTheWindows95Family)
{
    OSVERSIONINFOA vi = {};
    vi.dwOSVersionInfoSize = sizeof vi;
    ASSERT_TRUE(::GetVersionExA(&vi));
    ASSERT_EQ(vi.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    QuellonWindow w;
    EXPECT_FALSE(w.view->IsWindows9x());
}

TEST(StartupOnNt, RefusesNeverFillsTheListAndCloses)
{
    ResetQuellonSettings(false);
    TestApp().m_boxes.clear();
    QuellonWindow w;
    EXPECT_EQ(MostRowsUntilClosed(w), 0) << "closed, the list never filled";
    ASSERT_EQ(TestApp().m_boxes.size(), 1u) << "the refusal only, no first-run warning";
    EXPECT_EQ(TestApp().m_boxes[0].text, "Quellon is not designed for NT or Win2K");
    // Closing went the normal way: the column widths were saved.
    std::string text;
    EXPECT_TRUE(
        ReadRegistryText(HKEY_LOCAL_MACHINE, std::string(kQuellonKey) + "\\Grid", "col0", &text));
    std::string start;
    EXPECT_FALSE(ReadRegistryText(HKEY_LOCAL_MACHINE, std::string(kQuellonKey) + "\\Newbie",
                                  "Start", &start));
    ResetQuellonSettings();
}

// The NT family stores a text with the size that the program gives, adding
// a left-out terminator only where the byte after the text is one; the
// Windows 95 family takes the size from the text itself. The empty texts
// that a shorter Favorites list leaves show which size was given.
TEST(StartupOnNt, TheTextsOfTheFavoritesAreStoredWithTheirTerminators)
{
    ResetQuellonSettings();
    const std::string settings = std::string(kQuellonKey) + "\\Settings";
    for (const char* name : {"Fav0", "Fav1", "Fav2"})
        ASSERT_TRUE(WriteRegistryText(HKEY_LOCAL_MACHINE, settings, name, "FORMER.EXE"));
    TestApp().BindSettingsStore();
    SaveFavorites(TestApp().m_settings, {"NEW.EXE"});
    HKEY hKey;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, settings.c_str(), 0, KEY_READ, &hKey),
              ERROR_SUCCESS);
    // The size as the registry keeps the text (Wine's in wide characters).
    auto storedSize = [hKey](const WCHAR* pszName) {
        DWORD cb = 0;
        return ::RegQueryValueExW(hKey, pszName, nullptr, nullptr, nullptr, &cb) == ERROR_SUCCESS
                   ? cb
                   : 0xFFFFFFFF;
    };
    EXPECT_EQ(storedSize(L"Fav0"), sizeof L"NEW.EXE");
    EXPECT_EQ(storedSize(L"Fav1"), sizeof L"");
    EXPECT_EQ(storedSize(L"Fav2"), sizeof L"");
    ::RegCloseKey(hKey);
    ResetQuellonSettings();
}

} // namespace
