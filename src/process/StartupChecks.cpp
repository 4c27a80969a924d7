// The checks that run once the main window is up.
#include "QuellonApp.h"
#include "QuellonView.h"

#ifndef _WIN64
static_assert(sizeof(OSVERSIONINFOA) == 148, "the OSVERSIONINFOA of Windows 95");
#endif

void CQuellonView::RunStartupChecks()
{
    // Tool Help is part of every kernel of the Windows 95 family; without it
    // the platform is refused as well.
    if (!IsWindows9x() || !g_processPlatform.HasToolHelp()) {
        AfxMessageBox("Quellon is not designed for NT or Win2K", MB_OK);
        CWnd* pMainWnd = AfxGetMainWnd();
        if (pMainWnd != nullptr)
            pMainWnd->PostMessage(WM_CLOSE, 0, 0);
        return;
    }
    CSettingsStore& settings = GetQuellonApp()->m_settings;
    if (settings.ReadInt("Newbie", "Start", 1) != 0) {
        AfxMessageBox("Quellon is for advanced users.\n\n"
                      "Take care when killing programs that live\n"
                      "in the Windows folder or its sub-folders.",
                      MB_OK);
        settings.WriteInt("Newbie", "Start", 0);
    }
    RefreshProcessList();
}

BOOL CQuellonView::IsWindows9x()
{
    // A failed call leaves the platform 0 and so counts as not Windows 95.
    OSVERSIONINFOA vi;
    ::ZeroMemory(&vi, sizeof vi);
    vi.dwOSVersionInfoSize = sizeof vi;
    g_processPlatform.pfnGetVersionExA(&vi);
    return vi.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}
