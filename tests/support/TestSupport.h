// Support for Quellon's test programs: the application object that answers
// message boxes, registry and file helpers, helper processes, message
// pumping, the main window and the driving of modal dialogs.
#pragma once

#include "MainFrm.h"
#include "QuellonApp.h"
#include "QuellonView.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The test programs' application object. Message boxes are not shown: each
// is recorded and answered, from m_answers while it holds answers, else
// with IDOK (OK boxes) or IDNO (Yes/No boxes).
class CTestApp : public CQuellonApp
{
public:
    struct Box
    {
        std::string text;
        UINT type;
    };
    std::vector<Box> m_boxes;
    std::deque<int> m_answers;

    int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt) override;
};
CTestApp& TestApp();

// The program's settings key below HKEY_LOCAL_MACHINE.
extern const char kQuellonKey[];

// Registry helpers (the real registry of the test prefix).
bool DeleteRegistryTree(HKEY hRoot, const std::string& path);
bool RegistryKeyExists(HKEY hRoot, const std::string& path);
// The data of a value as text (as stored, up to its first NUL); false when
// the value is absent.
bool ReadRegistryText(HKEY hRoot, const std::string& path, const std::string& name,
                      std::string* pText);
bool WriteRegistryValue(HKEY hRoot, const std::string& path, const std::string& name, DWORD dwType,
                        const void* pData, DWORD cbData);
bool WriteRegistryText(HKEY hRoot, const std::string& path, const std::string& name,
                       const std::string& text);
// Quellon's own settings: gone, and optionally without the first-run warning.
void ResetQuellonSettings(bool bWarningShown = true);

// Files
std::string ModuleDir();
std::string QuellonExePath();
std::string WindowsDir();
// C:\quellon-tests\<sub>, created if needed.
std::string TestDir(const std::string& sub);
bool WriteTextFile(const std::string& path, const std::string& text);
bool ReadTextFile(const std::string& path, std::string* pText);

// A started program; terminated (if it still runs) when the object goes.
class HelperProcess
{
public:
    explicit HelperProcess(const std::string& path, DWORD dwCreationFlags = 0,
                           const std::string& args = "");
    ~HelperProcess();
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    bool Started() const { return m_pi.hProcess != nullptr; }
    DWORD Pid() const { return m_pi.dwProcessId; }
    HANDLE Handle() const { return m_pi.hProcess; }
    bool Running() const;
    // Waits up to the time-out for the process to end.
    bool WaitEnded(DWORD dwTimeout) const;
    DWORD ExitCode() const;
    void Kill();

private:
    PROCESS_INFORMATION m_pi = {};
};

// The helper processes a test starts; they are ended when it finishes.
class HelperProcesses
{
public:
    // Starts a copy of the helper at C:\quellon-tests\<folder>\<name> and
    // waits until it has started up.
    HelperProcess& Start(const std::string& folder, const std::string& name, DWORD dwFlags = 0);
    HelperProcess& StartPath(const std::string& path, DWORD dwFlags = 0);

private:
    std::vector<std::unique_ptr<HelperProcess>> m_helpers;
};

// Keeps the process platform's calls as they are and puts them back when it
// goes, whichever way the test leaves: a test replaces them in between.
class ScopedProcessPlatform
{
public:
    ScopedProcessPlatform() : m_saved(g_processPlatform) {}
    ~ScopedProcessPlatform() { g_processPlatform = m_saved; }
    ScopedProcessPlatform(const ScopedProcessPlatform&) = delete;
    ScopedProcessPlatform& operator=(const ScopedProcessPlatform&) = delete;

private:
    ProcessPlatform m_saved;
};

// The application's settings store bound below another root key: the root
// that start-up binds it to is replaced for the lifetime of the object and
// put back, with the store's own root, when it goes.
class ScopedSettingsRoot
{
public:
    explicit ScopedSettingsRoot(HKEY hRoot)
        : m_hSavedRoot(TestApp().m_hSettingsRootKey),
          m_hSavedStoreRoot(TestApp().m_settings.m_hRootKey)
    {
        TestApp().m_hSettingsRootKey = hRoot;
    }
    ~ScopedSettingsRoot()
    {
        TestApp().m_hSettingsRootKey = m_hSavedRoot;
        TestApp().m_settings.m_hRootKey = m_hSavedStoreRoot;
    }
    ScopedSettingsRoot(const ScopedSettingsRoot&) = delete;
    ScopedSettingsRoot& operator=(const ScopedSettingsRoot&) = delete;

private:
    HKEY m_hSavedRoot;
    HKEY m_hSavedStoreRoot;
};

// Runs a function when it goes, whichever way the scope is left.
class ScopeExit
{
public:
    explicit ScopeExit(std::function<void()> fn) : m_fn(std::move(fn)) {}
    ~ScopeExit() { m_fn(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    std::function<void()> m_fn;
};

// A test of Quellon's own behaviour: its settings are removed before and
// after, and the message boxes of earlier tests are forgotten.
class QuellonTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
};

// Copies the helper program to C:\quellon-tests\<folder>\<name>; returns the path.
std::string PlaceHelper(const std::string& folder, const std::string& name);
// Waits until the process's module list can be read (it has started up).
bool WaitForModules(DWORD dwPID, DWORD dwTimeout = 10000);

// Messages
// Handles the thread's messages (through the application's pre-translation,
// as its message loop does) for about the given time.
void PumpMessages(DWORD dwMilliseconds);
// Handles messages until the condition holds or the time-out passes.
bool PumpUntil(const std::function<bool()>& condition, DWORD dwTimeout = 10000);
// Removes a WM_QUIT that the end of a main window posted.
void DrainQuit();

// The main window as the document template creates it, with the view.
class QuellonWindow
{
public:
    QuellonWindow();
    ~QuellonWindow();
    QuellonWindow(const QuellonWindow&) = delete;
    QuellonWindow& operator=(const QuellonWindow&) = delete;

    bool Alive() const { return ::IsWindow(m_hWnd) != FALSE; }
    // Issues a command as the menu or an accelerator would.
    void Command(UINT nID);
    // Selects exactly the given rows.
    void Select(const std::vector<int>& rows);
    // The texts of a column, row by row.
    std::vector<std::string> Column(int nColumn);
    int RowCount();

    CMainFrame* frame = nullptr;
    CQuellonView* view = nullptr;
    HWND m_hWnd = nullptr;
};

// Handles messages until the main window has closed: the most rows its list
// had meanwhile, or -1 when it did not close within the time-out.
int MostRowsUntilClosed(QuellonWindow& w, DWORD dwTimeout = 10000);

// Runs a modal dialog (showModal calls DoModal) while a script acts on it:
// at every tick of a timer the next step runs, inside whatever modal loop
// is running at the moment, so a step can open a nested dialog and the
// next step work in it. A step returns false to be tried again at the next
// tick. After the time-out every dialog of the thread is cancelled.
INT_PTR RunModal(const std::function<INT_PTR()>& showModal,
                 const std::vector<std::function<bool()>>& steps, DWORD dwTimeout = 15000);
// A dialog of this thread with the given caption, or NULL.
HWND FindDialog(const char* pszCaption);
// Clicks a button of a dialog; posted, so that a nested modal loop it opens
// does not hold up the step.
void PostClick(HWND hDlg, int nID);
// The texts of a list box, top to bottom.
std::vector<std::string> ListBoxItems(HWND hList);
