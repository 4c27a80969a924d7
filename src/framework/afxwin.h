// Windows part of the application framework. Messages, message maps and
// command enabling are in afxmsg_.h; GDI wrappers, windows, controls and
// dialogs in afxwnd_.h; this file adds the application object and its
// message loop, documents and their templates, views and frame windows.
#pragma once

#include "afxwnd_.h"

#include <memory>

class CView;
class CControlBar;

// ---------------------------------------------------------------------------
// Application object.

class CCommandLineInfo : public CObject
{
public:
    enum ShellCommand { FileNew, FileNothing };
    ShellCommand m_nShellCommand = FileNew;
    // Called for every command-line parameter (a flag without its "-" or
    // "/"). The framework's programs open no document from the command
    // line and define no options: every parameter is passed over, so that
    // however a program is started (its own path unquoted after a launcher,
    // a file dropped on it, a switch it does not know) it starts as with
    // none.
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

// Default view window style.
#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

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
// Frame windows.

// Frame window style bits of the framework's own.
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L

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
