// Start-up checks where Wine reports Windows NT 4.0 (platform 2) to this
// program: the refusal, no process list, and an orderly close.
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

} // namespace
