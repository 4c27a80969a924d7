// Windows part of the application framework: command targets and message
// maps, windows, the application object and its message loop, documents,
// frames, views, dialogs with data exchange, controls and GDI wrappers.
//
// How messages flow:
//  * Every window the framework creates, or attaches to with SubclassWindow,
//    has AfxWndProc as its window procedure. AfxWndProc finds the CWnd object
//    of the window and calls its WindowProc, which looks the message up in the
//    message maps of the object's class and its base classes (OnWndMsg). A
//    message that no map handles goes to DefWindowProc: the window procedure
//    that was replaced by the subclassing, or ::DefWindowProcA.
//  * WM_COMMAND and WM_NOTIFY from a child control are first offered to the
//    control's own object (reflection, ON_CONTROL_REFLECT and friends); the
//    same holds for WM_CTLCOLORxxx (ON_WM_CTLCOLOR_REFLECT).
//  * Commands (menu items, accelerator keys, toolbar buttons) are routed by
//    OnCmdMsg: a frame offers them to its active view (which offers them to
//    its document), then to itself, then to the application object.
//  * Before a command from a menu or an accelerator is routed, its enabling
//    handler (ON_UPDATE_COMMAND_UI) is consulted: a disabled command, or one
//    without any handler, is ignored. Menus are updated when they open and
//    toolbar buttons whenever the message loop becomes idle.
#pragma once

#include "afx.h"
#include "afxres.h"

#include <commctrl.h>

#include <memory>

// ---------------------------------------------------------------------------
// Framework messages, notification codes and standard identifiers.

#define WM_SETMESSAGESTRING 0x0362 // wParam: string id; lParam: text if wParam is 0
#define WM_IDLEUPDATECMDUI 0x0363  // wParam: disable commands without handler
#define WM_INITIALUPDATE 0x0364    // sent to views by the frame's first update
#define WM_REFLECT_BASE 0xBC00     // reflected message = WM_REFLECT_BASE + message
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019 // reflected colour requests of every kind
#endif

#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI 0xFFFFFFFFu

// Frame window style bits of the framework's own.
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L

// Default view window style.
#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

class CCmdTarget;
class CCmdUI;
class CWnd;
class CFrameWnd;
class CView;
class CDocument;
class CDocTemplate;
class CControlBar;
class CDataExchange;

// ---------------------------------------------------------------------------
// Message maps.
//
// A message map is a static table per class; each entry names a message (or
// a command or notification and its id range) and a small function that
// unpacks the message parameters and calls the class's handler.

struct AFX_CALL
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT lResult; // the handler's result, for window messages
    void* pExtra;    // CCmdUI* for enabling handlers, NMHDR* for notifications
    UINT nID;        // command or control id
};

// Returns FALSE when the handler declined (ON_COMMAND_EX and reflected
// notifications), so the search goes on.
typedef BOOL (*AFX_THUNK)(CCmdTarget* pTarget, AFX_CALL& call);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    AFX_THUNK pfn;
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget;
};

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                              \
    {                                                                                              \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                \
    {                                                                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {                                                                                              \
        0, 0, 0, 0, nullptr                                                                        \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, _messageEntries};      \
    return &messageMap;                                                                            \
    }

// clang-format off
#define AFX_THIS_ static_cast<ThisClass*>(p_)
#define AFX_THUNK_ [](CCmdTarget* p_, AFX_CALL& c_) -> BOOL

// Commands and their enabling handlers.
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), \
     AFX_THUNK_ { (void)c_; (AFX_THIS_->*(memberFxn))(); return TRUE; }},
// The handler receives the command id and returns FALSE to pass it on.
#define ON_COMMAND_EX(id, memberFxn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), \
     AFX_THUNK_ { return (AFX_THIS_->*(memberFxn))(c_.nID); }},
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), \
     AFX_THUNK_ { (AFX_THIS_->*(memberFxn))(static_cast<CCmdUI*>(c_.pExtra)); return TRUE; }},

// Notifications from child controls to their parent.
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    {WM_COMMAND, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), \
     AFX_THUNK_ { (void)c_; (AFX_THIS_->*(memberFxn))(); return TRUE; }},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
// Handler: BOOL memberFxn(UINT id, NMHDR* pNMHDR, LRESULT* pResult).
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn) \
    {WM_NOTIFY, (UINT)(wNotifyCode), (UINT)(id), (UINT)(idLast), \
     AFX_THUNK_ { return (AFX_THIS_->*(memberFxn))(c_.nID, static_cast<NMHDR*>(c_.pExtra), \
                                                   &c_.lResult); }},

// Notifications reflected back to the control that sent them.
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(wNotifyCode), 0, 0, \
     AFX_THUNK_ { (void)c_; (AFX_THIS_->*(memberFxn))(); return TRUE; }},
// Handler: HBRUSH CtlColor(CDC* pDC, UINT nCtlColor), nCtlColor a CTLCOLOR_xxx
// value; a NULL brush leaves the message to the parent.
#define ON_WM_CTLCOLOR_REFLECT() \
    {WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, \
     AFX_THUNK_ { CDC dc_(reinterpret_cast<HDC>(c_.wParam)); \
                  HBRUSH hbr_ = AFX_THIS_->CtlColor(&dc_, static_cast<UINT>(c_.lParam)); \
                  dc_.m_hDC = nullptr; \
                  c_.lResult = reinterpret_cast<LRESULT>(hbr_); \
                  return hbr_ != nullptr; }},

// Window messages. Handler of ON_MESSAGE: LRESULT memberFxn(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) \
    {(UINT)(message), 0, 0, 0, \
     AFX_THUNK_ { c_.lResult = (AFX_THIS_->*(memberFxn))(c_.wParam, c_.lParam); return TRUE; }},
#define AFX_ON_VOID_(message, call) \
    {(UINT)(message), 0, 0, 0, AFX_THUNK_ { (void)c_; AFX_THIS_->call; return TRUE; }},
#define ON_WM_CREATE() \
    {WM_CREATE, 0, 0, 0, \
     AFX_THUNK_ { c_.lResult = AFX_THIS_->OnCreate(reinterpret_cast<LPCREATESTRUCTA>(c_.lParam)); \
                  return TRUE; }},
#define ON_WM_CLOSE() AFX_ON_VOID_(WM_CLOSE, OnClose())
#define ON_WM_DESTROY() AFX_ON_VOID_(WM_DESTROY, OnDestroy())
#define ON_WM_TIMER() AFX_ON_VOID_(WM_TIMER, OnTimer(static_cast<UINT_PTR>(c_.wParam)))
#define ON_WM_SIZE() \
    AFX_ON_VOID_(WM_SIZE, OnSize(static_cast<UINT>(c_.wParam), (short)LOWORD(c_.lParam), \
                                 (short)HIWORD(c_.lParam)))
#define ON_WM_SETFOCUS() AFX_ON_VOID_(WM_SETFOCUS, OnSetFocus(reinterpret_cast<HWND>(c_.wParam)))
#define ON_WM_WINDOWPOSCHANGED() \
    AFX_ON_VOID_(WM_WINDOWPOSCHANGED, OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(c_.lParam)))
#define ON_WM_MOUSEMOVE() \
    AFX_ON_VOID_(WM_MOUSEMOVE, OnMouseMove(static_cast<UINT>(c_.wParam), \
                                           POINT{(short)LOWORD(c_.lParam), (short)HIWORD(c_.lParam)}))
#define ON_WM_INITMENUPOPUP() \
    AFX_ON_VOID_(WM_INITMENUPOPUP, OnInitMenuPopup(reinterpret_cast<HMENU>(c_.wParam), \
                                                   LOWORD(c_.lParam), (BOOL)HIWORD(c_.lParam)))
#define ON_WM_MENUSELECT() \
    AFX_ON_VOID_(WM_MENUSELECT, OnMenuSelect(LOWORD(c_.wParam), HIWORD(c_.wParam), \
                                             reinterpret_cast<HMENU>(c_.lParam)))
// clang-format on

// ---------------------------------------------------------------------------
// Command targets and command enabling.

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    // Routes a command (nCode CN_COMMAND), a control notification or an
    // enabling request (CN_UPDATE_COMMAND_UI, pExtra the CCmdUI). With
    // pHandlerInfo set, only reports whether a handler exists.
    virtual BOOL OnCmdMsg(UINT nID, UINT nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    // Calls the first entry of the maps that matches; TRUE when one took it.
    BOOL DispatchToMap(UINT nMessage, UINT nCode, UINT nID, AFX_CALL& call);
    BOOL HasMapEntry(UINT nMessage, UINT nCode, UINT nID) const;
};

// The enabling request for one user-interface item (menu item, toolbar
// button) that issues a command.
class CCmdUI
{
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0;       // position of the item in its menu or toolbar
    HMENU m_hMenu = nullptr; // the menu, for menu items
    BOOL m_bEnableChanged = FALSE;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    // Asks pTarget's handlers; an item without any handler is disabled when
    // bDisableIfNoHndler is set.
    void DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

// Records what the handlers decide, without a user-interface item.
class CTestCmdUI : public CCmdUI
{
public:
    BOOL m_bEnabled = TRUE;
    int m_nCheck = 0;
    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
};

// ---------------------------------------------------------------------------
// GDI wrappers.

class CGdiObject : public CObject
{
public:
    HGDIOBJ m_hObject = nullptr;
    CGdiObject() = default;
    ~CGdiObject() override { DeleteObject(); }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    // Releases the object; a no-op when there is none.
    BOOL DeleteObject();
};

class CFont : public CGdiObject
{
public:
    // Makes the font; a font the object held so far is deleted (it must not
    // be selected into a device context then). Where the font cannot be
    // made, FALSE, and the object keeps what it held.
    BOOL CreateFontIndirect(const LOGFONTA* lpLogFont);
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CDC
{
public:
    HDC m_hDC = nullptr;
    CDC() = default;
    explicit CDC(HDC hDC) : m_hDC(hDC) {}
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    operator HDC() const { return m_hDC; }

    HGDIOBJ SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
    HGDIOBJ SelectObject(CGdiObject* pObject) { return ::SelectObject(m_hDC, pObject->m_hObject); }
    COLORREF SetTextColor(COLORREF cr) { return ::SetTextColor(m_hDC, cr); }
    int SetBkMode(int nMode) { return ::SetBkMode(m_hDC, nMode); }
    SIZE GetTextExtent(const char* psz, int nCount) const;
};

// Device context of a window's client area (GetDC) for the lifetime of the
// object; with NULL, the screen's.
class CClientDC : public CDC
{
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

// Device context of a whole window, its borders included (GetWindowDC), for
// the lifetime of the object: for drawing the non-client area. With NULL,
// the whole screen's: for drawing across windows, as a drag's outline does.
class CWindowDC : public CDC
{
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

private:
    HWND m_hWnd;
};

// ---------------------------------------------------------------------------
// Windows.

struct CCreateContext
{
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

class CWnd : public CCmdTarget
{
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd() = default;
    ~CWnd() override;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object attached to a window, or NULL (FromHandlePermanent), or a
    // temporary object that lives until the message loop is next idle.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWnd);
    HWND Detach();

    // Creation. The framework's window procedure is in place before the
    // window's first message, so WM_CREATE reaches the message map.
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID,
                        CCreateContext* pContext = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                  int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                  LPVOID lpParam = nullptr);
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    virtual BOOL DestroyWindow();

    // Attaches to an existing window and routes its messages through the
    // framework; the window's own procedure stays the default processing.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // Thin wrappers.
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)); }
    // Removes and adds extended style bits; with nFlags, SetWindowPos makes
    // the change show (SWP_FRAMECHANGED for a new border).
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    void GetWindowText(CString& rString) const;
    void SetWindowText(LPCSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void SetRedraw(BOOL bRedraw = TRUE) { ::SendMessageA(m_hWnd, WM_SETREDRAW, bRedraw, 0); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void MoveWindow(int x, int y, int cx, int cy, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, cx, cy, bRepaint);
    }
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer)
    {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const
    {
        return ::GetWindowPlacement(m_hWnd, lpwndpl);
    }
    // The nearest ancestor frame window.
    CFrameWnd* GetParentFrame() const;
    // Sends a message to every child window (and, if bDeep, their children).
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                  BOOL bDeep = TRUE);

    // Message processing.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled.
    LRESULT Default();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Offers a notification that this control sent to its parent back to the
    // control; TRUE when the control handled it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    static BOOL ReflectMessage(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT* pResult);
    // Called after the window is gone; frames and views delete themselves.
    virtual void PostNcDestroy();

    // Default handlers: each passes the message to the default processing.
    int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    void OnClose() { Default(); }
    void OnDestroy() { Default(); }
    void OnTimer(UINT_PTR) { Default(); }
    void OnSize(UINT, int, int) { Default(); }
    void OnSetFocus(HWND) { Default(); }
    void OnWindowPosChanged(WINDOWPOS*) { Default(); }
    void OnMouseMove(UINT, POINT) { Default(); }

    DECLARE_MESSAGE_MAP()

public:
    WNDPROC m_pfnSuper = nullptr; // the window's own procedure, for default processing
    void OnNcDestroyInternal();
};

// The window procedure of every framework window.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Attaches the next window created on this thread to pWnd, from its very
// first message on.
void AfxHookWindowCreate(CWnd* pWnd);
BOOL AfxUnhookWindowCreate();

// ---------------------------------------------------------------------------
// Controls.

class CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)
};

class CButton : public CWnd
{
    DECLARE_DYNAMIC(CButton)
};

class CEdit : public CWnd
{
    DECLARE_DYNAMIC(CEdit)
};

class CListBox : public CWnd
{
    DECLARE_DYNAMIC(CListBox)
public:
    int AddString(LPCSTR lpszItem) { return (int)SendMessage(LB_ADDSTRING, 0, (LPARAM)lpszItem); }
    int DeleteString(UINT nIndex) { return (int)SendMessage(LB_DELETESTRING, nIndex); }
    int GetCurSel() const { return (int)SendMessage(LB_GETCURSEL); }
    int SetCurSel(int nSelect) { return (int)SendMessage(LB_SETCURSEL, (WPARAM)nSelect); }
    int GetCount() const { return (int)SendMessage(LB_GETCOUNT); }
    int GetTextLen(int nIndex) const { return (int)SendMessage(LB_GETTEXTLEN, (WPARAM)nIndex); }
    void GetText(int nIndex, CString& rString) const;
    // Whole-list search that ignores case; -1 when not found.
    int FindStringExact(int nIndexStart, LPCSTR lpszFind) const
    {
        return (int)SendMessage(LB_FINDSTRINGEXACT, (WPARAM)nIndexStart, (LPARAM)lpszFind);
    }
};

// ---------------------------------------------------------------------------
// Application object.

class CCommandLineInfo : public CObject
{
public:
    enum ShellCommand { FileNew, FileOpen, FileNothing };
    ShellCommand m_nShellCommand = FileNew;
    CString m_strFileName;
    // Called for every command-line parameter; a non-flag parameter names a
    // document file to open.
    virtual void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast);
};

class CWinApp : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinApp)
public:
    // An application name of NULL takes string AFX_IDS_APP_TITLE.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    LPCSTR m_pszAppName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;
    LPCSTR m_pszRegistryKey = nullptr;
    LPCSTR m_pszProfileName = nullptr;

    virtual BOOL InitApplication();
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // The message loop; returns the exit code.
    virtual int Run();
    // Idle-time processing; returns TRUE while it wants more idle calls.
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    BOOL PumpMessage();
    // All message boxes of the framework and the program come here.
    virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt);

    void AddDocTemplate(CDocTemplate* pTemplate);
    CDocTemplate* GetFirstDocTemplate() const;
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    // The system draws dialogs and controls in three dimensions for this
    // program's subsystem version; nothing further is needed.
    BOOL Enable3dControls();
    // The framework's own profile: HKEY_CURRENT_USER\Software\<key>\<app>.
    void SetRegistryKey(LPCSTR lpszRegistryKey);
    // Loads the recent-file list of nMaxMRU entries from the profile.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = nullptr);
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);

    // Standard command handlers.
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppExit();

protected:
    // Writes the recent-file list back to the profile (at ExitInstance).
    void SaveStdProfileSettings();

    DECLARE_MESSAGE_MAP()

private:
    MSG m_msgCur = {};
    CArray<std::unique_ptr<CDocTemplate>> m_templates;
    CArray<CString> m_recentFiles;
    UINT m_nMaxMRU = 0;
    CString m_strAppName, m_strRegistryKey, m_strProfileName;
    friend BOOL AfxWinInit(HINSTANCE, HINSTANCE, LPSTR, int);
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// The module that holds the named resource (the program's own module).
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
LPCSTR AfxGetAppName();
// Sets up the application object for this module; called by AfxWinMain, and
// by test programs that use the framework without its message loop.
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
// The command line without the program's name (quoted or up to the first
// blank) and the blanks after it.
const char* AfxSkipProgramName(const char* pszCmdLine);
// Splits command-line arguments at blanks and tabs the way the C runtime
// does: quotes group, backslashes before a quote escape it.
void AfxSplitCommandLine(const char* pszArgs, CArray<CString>& rArgs);
// Removes the temporary objects made by CWnd::FromHandle.
void AfxUnlockTempMaps();

int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = UINT(-1));

// ---------------------------------------------------------------------------
// Documents and templates.

class CArchive
{
public:
    enum Mode { store = 0, load = 1 };
    CArchive(HANDLE hFile, UINT nMode) : m_hFile(hFile), m_nMode(nMode) {}
    BOOL IsStoring() const { return m_nMode == store; }
    BOOL IsLoading() const { return m_nMode == load; }
    HANDLE m_hFile;

private:
    UINT m_nMode;
};

class CDocument : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() = default;
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(LPCSTR lpszPathName);
    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    const CArray<CView*>& GetViews() const { return m_views; }

    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCSTR lpszPathName);
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    virtual void Serialize(CArchive& ar);

    // The document has nothing of its own to write: saving a document that
    // holds no data does nothing.
    void OnFileSave();

    CDocTemplate* m_pDocTemplate = nullptr;
    BOOL m_bAutoDelete = TRUE;

    DECLARE_MESSAGE_MAP()

private:
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    CArray<CView*> m_views;
};

class CDocTemplate : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };

    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                 const CRuntimeClass* pViewClass);

    // One of the newline-separated fields of the document string resource;
    // FALSE where that field is missing or empty.
    BOOL GetDocString(CString& rString, DocStringIndex index) const;
    virtual CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);
    CDocument* CreateNewDocument();
    CFrameWnd* CreateNewFrame(CDocument* pDoc);
    void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    void LoadTemplate();

    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
};

// A template for a program with one document and one main frame at a time.
class CSingleDocTemplate : public CDocTemplate
{
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    using CDocTemplate::CDocTemplate;
    ~CSingleDocTemplate() override;
    CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    CDocument* GetOnlyDocument() const { return m_pOnlyDoc; }

private:
    CDocument* m_pOnlyDoc = nullptr;
};

// ---------------------------------------------------------------------------
// Views.

class CView : public CWnd
{
    DECLARE_DYNAMIC(CView)
public:
    ~CView() override;
    CDocument* GetDocument() const { return m_pDocument; }
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    BOOL OnCmdMsg(UINT nID, UINT nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;

    int OnCreate(LPCREATESTRUCTA lpcs);
    LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);

    CDocument* m_pDocument = nullptr;

    DECLARE_MESSAGE_MAP()
};

// A view that is a standard control of the given window class.
class CCtrlView : public CView
{
    DECLARE_DYNAMIC(CCtrlView)
public:
    CCtrlView(LPCSTR lpszClass, DWORD dwStyle) : m_strClass(lpszClass), m_dwDefaultStyle(dwStyle) {}
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

protected:
    CString m_strClass;
    DWORD m_dwDefaultStyle;
};

// ---------------------------------------------------------------------------
// Dialogs and data exchange.

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog modally over its parent (the main window when none is
    // given); returns the value given to EndDialog, or -1 when the dialog
    // could not be created.
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }
    // Exchanges data between the controls and the members; FALSE when a
    // validation failed (the user has been told and the focus is on the
    // offending control).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()
};

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
    {
    }
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bFailed = FALSE;

    // The control's window; also remembered as the last control exchanged.
    HWND PrepareCtrl(int nIDC);
    // Marks the exchange as failed and puts the focus on the last control;
    // later exchanges are skipped.
    void Fail();
};

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// Limits an edit box to nChars characters, and rejects a longer text.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);

// ---------------------------------------------------------------------------
// Frame windows.

class CFrameWnd : public CWnd
{
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd() = default;
    ~CFrameWnd() override;

    // Creates the frame from resource nIDResource: its title is the first
    // field of the string resource, and it carries the menu, the icons and
    // the accelerator table of that id. A frame that cannot be created has
    // been through PostNcDestroy (and deleted itself) when this returns FALSE.
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, UINT nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void PostNcDestroy() override;

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew);
    CDocument* GetActiveDocument() const;
    // Creates the client view from the creation context.
    virtual BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext* pContext);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    // Sends WM_INITIALUPDATE to the views, then shows the frame.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);

    // Lays out the control bars and gives the view the rest of the client area.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // Text of the status bar's message pane: a string id (the first field of
    // that string) or a text.
    void SetMessageText(UINT nID);
    void SetMessageText(LPCSTR lpszText);
    CControlBar* GetControlBar(UINT nID) const;
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay = FALSE);
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);
    const CArray<CControlBar*>& GetControlBars() const { return m_listControlBars; }

    // Docking: the sides (CBRS_ALIGN_xxx) at which bars may dock.
    void EnableDocking(DWORD dwDockStyle);
    DWORD GetDockingSides() const { return m_dwDockStyle; }
    // Docks a bar at a side: the one an AFX_IDW_DOCKBAR_xxx id names; for
    // any other id (0), the first its style names, the top where it names none.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    // Floats a bar in a small window of its own whose top-left corner is at
    // the given screen point.
    void FloatControlBar(CControlBar* pBar, POINT point);

    // Standard handlers.
    int OnCreate(LPCREATESTRUCTA lpcs);
    void OnClose();
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(HWND hWndOld);
    void OnInitMenuPopup(HMENU hPopupMenu, UINT nIndex, BOOL bSysMenu);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    BOOL OnBarCheck(UINT nID);
    void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

    HACCEL m_hAccelTable = nullptr;
    UINT m_nIDHelp = 0;
    CString m_strTitle;

    DECLARE_MESSAGE_MAP()

private:
    CView* m_pViewActive = nullptr;
    CArray<CControlBar*> m_listControlBars;
    DWORD m_dwDockStyle = 0;
    UINT m_nIDTracking = 0;
    UINT m_nIDLastMessage = 0;
    CCreateContext* m_pCreateContext = nullptr;
};

// The string whose first field the message pane shows while a menu item is
// selected (the item id, flags and menu of WM_MENUSELECT): the idle message
// when the menu has closed (flags 0xFFFF, no menu); none (0, an empty pane)
// for a separator, a pop-up or an item without an id; for a command of the
// system menu (SC_xxx, 0xF000 + 16 n with n up to 30), AFX_IDS_SCFIRST + n;
// else the item's own id.
UINT AfxMenuPromptID(UINT nItemID, UINT nFlags, HMENU hMenu);
