#include "TestSupport.h"

#include "QuellonDoc.h"
#include "resource.h"

#include <tlhelp32.h>

#include <algorithm>

namespace {
CTestApp g_testApp;
}

const char kQuellonKey[] = "Software\\Corvanel Software\\Quellon";

CTestApp& TestApp()
{
    return g_testApp;
}

int CTestApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT)
{
    m_boxes.push_back(Box{lpszPrompt, nType});
    if (!m_answers.empty()) {
        int nAnswer = m_answers.front();
        m_answers.pop_front();
        return nAnswer;
    }
    return (nType & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
}

// ---------------------------------------------------------------------------
// Registry

bool DeleteRegistryTree(HKEY hRoot, const std::string& path)
{
    HKEY hKey;
    if (::RegOpenKeyExA(hRoot, path.c_str(), 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS)
        return true;
    char szName[512]; // a key name may be 256 characters long
    for (;;) {
        DWORD cch = sizeof szName;
        if (::RegEnumKeyExA(hKey, 0, szName, &cch, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        if (!DeleteRegistryTree(hKey, szName))
            break;
    }
    ::RegCloseKey(hKey);
    return ::RegDeleteKeyA(hRoot, path.c_str()) == ERROR_SUCCESS;
}

bool RegistryKeyExists(HKEY hRoot, const std::string& path)
{
    HKEY hKey;
    if (::RegOpenKeyExA(hRoot, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(hKey);
    return true;
}

bool ReadRegistryText(HKEY hRoot, const std::string& path, const std::string& name,
                      std::string* pText)
{
    HKEY hKey;
    if (::RegOpenKeyExA(hRoot, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    std::vector<char> buf(4096);
    DWORD cb = static_cast<DWORD>(buf.size());
    DWORD dwType = 0;
    LONG lResult = ::RegQueryValueExA(hKey, name.c_str(), nullptr, &dwType,
                                      reinterpret_cast<BYTE*>(buf.data()), &cb);
    ::RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS)
        return false;
    std::string text(buf.data(), cb);
    size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    *pText = text;
    return true;
}

bool WriteRegistryValue(HKEY hRoot, const std::string& path, const std::string& name, DWORD dwType,
                        const void* pData, DWORD cbData)
{
    HKEY hKey;
    if (::RegCreateKeyExA(hRoot, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG lResult =
        ::RegSetValueExA(hKey, name.c_str(), 0, dwType, static_cast<const BYTE*>(pData), cbData);
    ::RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

bool WriteRegistryText(HKEY hRoot, const std::string& path, const std::string& name,
                       const std::string& text)
{
    return WriteRegistryValue(hRoot, path, name, REG_SZ, text.c_str(),
                              static_cast<DWORD>(text.size() + 1));
}

void ResetQuellonSettings(bool bWarningShown)
{
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kQuellonKey);
    if (bWarningShown)
        WriteRegistryText(HKEY_LOCAL_MACHINE, std::string(kQuellonKey) + "\\Newbie", "Start", "0");
}

void QuellonTest::SetUp()
{
    ResetQuellonSettings();
    TestApp().m_boxes.clear();
    TestApp().m_answers.clear();
}

void QuellonTest::TearDown()
{
    ResetQuellonSettings();
}

// ---------------------------------------------------------------------------
// Files

std::string ModuleDir()
{
    char szPath[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string path(szPath, n);
    return path.substr(0, path.find_last_of('\\'));
}

std::string QuellonExePath()
{
    std::string dir = ModuleDir();
    return dir.substr(0, dir.find_last_of('\\')) + "\\Quellon.exe";
}

std::string WindowsDir()
{
    char szDir[MAX_PATH];
    UINT n = ::GetWindowsDirectoryA(szDir, MAX_PATH);
    return std::string(szDir, n);
}

std::string TestDir(const std::string& sub)
{
    std::string dir = "C:\\quellon-tests";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    size_t start = 0;
    while (start < sub.size()) {
        size_t end = sub.find('\\', start);
        if (end == std::string::npos)
            end = sub.size();
        dir += "\\" + sub.substr(start, end - start);
        ::CreateDirectoryA(dir.c_str(), nullptr);
        start = end + 1;
    }
    return dir;
}

bool WriteTextFile(const std::string& path, const std::string& text)
{
    HANDLE hFile = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = ::WriteFile(hFile, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(hFile);
    return ok && written == text.size();
}

bool ReadTextFile(const std::string& path, std::string* pText)
{
    HANDLE hFile = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    std::string text;
    char buf[4096];
    DWORD n = 0;
    while (::ReadFile(hFile, buf, sizeof buf, &n, nullptr) && n > 0)
        text.append(buf, n);
    ::CloseHandle(hFile);
    *pText = text;
    return true;
}

// ---------------------------------------------------------------------------
// Helper processes

HelperProcess::HelperProcess(const std::string& path, DWORD dwCreationFlags,
                             const std::string& args)
{
    std::string cmd = "\"" + path + "\"" + (args.empty() ? "" : " " + args);
    std::vector<char> cmdline(cmd.begin(), cmd.end());
    cmdline.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (!::CreateProcessA(path.c_str(), cmdline.data(), nullptr, nullptr, FALSE, dwCreationFlags,
                          nullptr, nullptr, &si, &m_pi))
        m_pi = PROCESS_INFORMATION();
}

HelperProcess::~HelperProcess()
{
    Kill();
    if (m_pi.hThread != nullptr)
        ::CloseHandle(m_pi.hThread);
    if (m_pi.hProcess != nullptr)
        ::CloseHandle(m_pi.hProcess);
}

bool HelperProcess::Running() const
{
    return Started() && ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

bool HelperProcess::WaitEnded(DWORD dwTimeout) const
{
    return Started() && ::WaitForSingleObject(m_pi.hProcess, dwTimeout) == WAIT_OBJECT_0;
}

DWORD HelperProcess::ExitCode() const
{
    DWORD dwCode = 0;
    ::GetExitCodeProcess(m_pi.hProcess, &dwCode);
    return dwCode;
}

void HelperProcess::Kill()
{
    if (Running()) {
        ::TerminateProcess(m_pi.hProcess, 1);
        ::WaitForSingleObject(m_pi.hProcess, 10000);
    }
}

HelperProcess& HelperProcesses::Start(const std::string& folder, const std::string& name,
                                      DWORD dwFlags)
{
    return StartPath(PlaceHelper(folder, name), dwFlags);
}

HelperProcess& HelperProcesses::StartPath(const std::string& path, DWORD dwFlags)
{
    m_helpers.emplace_back(new HelperProcess(path, dwFlags));
    HelperProcess& helper = *m_helpers.back();
    EXPECT_TRUE(helper.Started()) << path;
    EXPECT_TRUE(WaitForModules(helper.Pid())) << path;
    return helper;
}

std::string PlaceHelper(const std::string& folder, const std::string& name)
{
    // A copy that is there already stays: overwriting the file of a helper
    // that has only just ended can fail half-way under Wine and leave a
    // program that does not start. (CopyFile keeps the time of last write.)
    std::string source = ModuleDir() + "\\qhelper.exe";
    std::string target = TestDir(folder) + "\\" + name;
    WIN32_FILE_ATTRIBUTE_DATA src, dst;
    if (::GetFileAttributesExA(source.c_str(), GetFileExInfoStandard, &src) &&
        ::GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &dst) &&
        src.nFileSizeLow == dst.nFileSizeLow && src.nFileSizeHigh == dst.nFileSizeHigh &&
        ::CompareFileTime(&src.ftLastWriteTime, &dst.ftLastWriteTime) == 0)
        return target;
    ::CopyFileA(source.c_str(), target.c_str(), FALSE);
    return target;
}

bool WaitForModules(DWORD dwPID, DWORD dwTimeout)
{
    DWORD dwStart = ::GetTickCount();
    do {
        HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, dwPID);
        if (hSnapshot != INVALID_HANDLE_VALUE) {
            MODULEENTRY32 me;
            me.dwSize = sizeof me;
            BOOL bFound = ::Module32First(hSnapshot, &me);
            ::CloseHandle(hSnapshot);
            if (bFound)
                return true;
        }
        ::Sleep(20);
    } while (::GetTickCount() - dwStart < dwTimeout);
    return false;
}

// ---------------------------------------------------------------------------
// Messages

static void HandleMessage(MSG& msg)
{
    if (!AfxGetApp()->PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void PumpMessages(DWORD dwMilliseconds)
{
    DWORD dwStart = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue; // the end of a main window; nothing to leave here
            HandleMessage(msg);
        }
        DWORD dwElapsed = ::GetTickCount() - dwStart;
        if (dwElapsed >= dwMilliseconds)
            break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, dwMilliseconds - dwElapsed, QS_ALLINPUT);
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD dwTimeout)
{
    DWORD dwStart = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - dwStart > dwTimeout)
            return false;
        PumpMessages(10);
    }
    return true;
}

void DrainQuit()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

// ---------------------------------------------------------------------------
// The main window

QuellonWindow::QuellonWindow()
{
    CTestApp& app = TestApp();
    app.BindSettingsStore();
    if (app.GetFirstDocTemplate() == nullptr)
        app.AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CQuellonDoc),
                                                  RUNTIME_CLASS(CMainFrame),
                                                  RUNTIME_CLASS(CQuellonView)));
    app.m_nCmdShow = SW_SHOWNORMAL;
    app.OnFileNew();
    if (app.m_pMainWnd == nullptr)
        return;
    frame = static_cast<CMainFrame*>(app.m_pMainWnd);
    view = static_cast<CQuellonView*>(frame->GetActiveView());
    m_hWnd = frame->m_hWnd;
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
}

int MostRowsUntilClosed(QuellonWindow& w, DWORD dwTimeout)
{
    int nMost = 0;
    bool bClosed = PumpUntil(
        [&] {
            if (w.Alive())
                nMost = std::max(nMost, w.RowCount());
            return !w.Alive();
        },
        dwTimeout);
    return bClosed ? nMost : -1;
}

QuellonWindow::~QuellonWindow()
{
    if (Alive())
        ::DestroyWindow(m_hWnd);
    DrainQuit();
    AfxUnlockTempMaps();
}

void QuellonWindow::Command(UINT nID)
{
    ::SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(nID, 0), 0);
}

void QuellonWindow::Select(const std::vector<int>& rows)
{
    CListCtrl& list = view->GetListCtrl();
    list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (int row : rows)
        list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

std::vector<std::string> QuellonWindow::Column(int nColumn)
{
    std::vector<std::string> texts;
    CListCtrl& list = view->GetListCtrl();
    for (int i = 0; i < list.GetItemCount(); ++i)
        texts.push_back(list.GetItemText(i, nColumn).GetString());
    return texts;
}

int QuellonWindow::RowCount()
{
    return view->GetListCtrl().GetItemCount();
}

// ---------------------------------------------------------------------------
// Modal dialogs

namespace {

struct ModalScript
{
    std::vector<std::function<bool()>> steps;
    size_t next = 0;
    DWORD deadline = 0;
    bool timedOut = false;
};
ModalScript* g_pScript = nullptr;

BOOL CALLBACK CancelDialog(HWND hWnd, LPARAM)
{
    char szClass[16];
    if (::GetClassNameA(hWnd, szClass, sizeof szClass) && lstrcmpA(szClass, "#32770") == 0)
        ::PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void CALLBACK ScriptTimer(HWND, UINT, UINT_PTR, DWORD)
{
    ModalScript* pScript = g_pScript;
    if (pScript == nullptr)
        return;
    if (static_cast<LONG>(::GetTickCount() - pScript->deadline) > 0) {
        pScript->timedOut = true;
        ::EnumThreadWindows(::GetCurrentThreadId(), CancelDialog, 0);
        return;
    }
    if (pScript->next >= pScript->steps.size())
        return;
    // The index moves on before the step runs: a nested modal loop that
    // the step opens runs the next step from within.
    size_t i = pScript->next++;
    if (!pScript->steps[i]() && pScript->next == i + 1)
        pScript->next = i;
}

} // namespace

INT_PTR RunModal(const std::function<INT_PTR()>& showModal,
                 const std::vector<std::function<bool()>>& steps, DWORD dwTimeout)
{
    ModalScript script;
    script.steps = steps;
    script.deadline = ::GetTickCount() + dwTimeout;
    ModalScript* pPrevious = g_pScript;
    g_pScript = &script;
    UINT_PTR nTimer = ::SetTimer(nullptr, 0, 40, ScriptTimer);
    INT_PTR nResult = showModal();
    ::KillTimer(nullptr, nTimer);
    g_pScript = pPrevious;
    EXPECT_FALSE(script.timedOut) << "the dialog script timed out at step " << script.next;
    EXPECT_EQ(script.next, script.steps.size()) << "not every step of the script ran";
    return nResult;
}

namespace {
struct FindDialogData
{
    const char* pszCaption;
    HWND hWnd;
};
BOOL CALLBACK FindDialogProc(HWND hWnd, LPARAM lParam)
{
    FindDialogData* pData = reinterpret_cast<FindDialogData*>(lParam);
    char szClass[16], szText[256];
    if (::GetClassNameA(hWnd, szClass, sizeof szClass) && lstrcmpA(szClass, "#32770") == 0 &&
        ::IsWindowVisible(hWnd) && ::GetWindowTextA(hWnd, szText, sizeof szText) >= 0 &&
        lstrcmpA(szText, pData->pszCaption) == 0) {
        pData->hWnd = hWnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND FindDialog(const char* pszCaption)
{
    FindDialogData data = {pszCaption, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialogProc, reinterpret_cast<LPARAM>(&data));
    return data.hWnd;
}

void PostClick(HWND hDlg, int nID)
{
    ::PostMessageA(::GetDlgItem(hDlg, nID), BM_CLICK, 0, 0);
}

std::vector<std::string> ListBoxItems(HWND hList)
{
    std::vector<std::string> items;
    int nCount = static_cast<int>(::SendMessageA(hList, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < nCount; ++i) {
        int nLen = static_cast<int>(::SendMessageA(hList, LB_GETTEXTLEN, i, 0));
        std::string text(static_cast<size_t>(nLen) + 1, '\0');
        ::SendMessageA(hList, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<size_t>(nLen));
        items.push_back(text);
    }
    return items;
}
