// Messages and commands of the framework: its own messages, message maps
// and the macros that fill them, command targets, and the enabling of the
// user-interface items that issue commands. Included by afxwin.h.
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

class CCmdTarget;
class CCmdUI;

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
