#include "StaticLink.h"

#include "LinkLogic.h"
#include "resource.h"

#include <shellapi.h>

IMPLEMENT_DYNAMIC(CStaticLink, CStatic)

BEGIN_MESSAGE_MAP(CStaticLink, CStatic)
    ON_CONTROL_REFLECT(STN_CLICKED, &CStaticLink::OnClicked)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CStaticLink::CStaticLink()
    : m_crUnvisited(kLinkUnvisited), m_crVisited(kLinkVisited), m_pVisited(nullptr),
      m_bCaptured(FALSE), m_bLaunchPending(FALSE)
{
}

CStaticLink::~CStaticLink()
{
    m_fontUnderline.DeleteObject();
}

HBRUSH CStaticLink::CtlColor(CDC* pDC, UINT)
{
    // Without the notify style a static sends no clicks and passes the
    // mouse on to its parent; the link switches it on at its first paint.
    DWORD dwStyle = GetStyle();
    if (!(dwStyle & SS_NOTIFY))
        ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(dwStyle | SS_NOTIFY));
    if (!IsTextStatic(dwStyle))
        return nullptr;

    if (m_fontUnderline.m_hObject == nullptr) {
        HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT, 0, 0));
        if (hFont == nullptr)
            hFont = ::GetStockObject(SYSTEM_FONT); // what a static without a font uses
        LOGFONTA lf;
        if (::GetObjectA(hFont, sizeof lf, &lf) != 0) {
            lf.lfUnderline = 1;
            if (m_fontUnderline.CreateFontIndirect(&lf))
                // Some static controls select their own font only after
                // asking for the colours; they draw with this one too.
                SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontUnderline.m_hObject), FALSE);
        }
    }
    if (m_fontUnderline.m_hObject != nullptr)
        pDC->SelectObject(&m_fontUnderline);
    pDC->SetTextColor(LinkTextColor(m_pVisited ? *m_pVisited : 0, m_crUnvisited, m_crVisited));
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CStaticLink::OnClicked()
{
    if (m_strTarget.IsEmpty())
        GetWindowText(m_strTarget);
    CString strShellTarget = ShellTarget(m_strTarget);

    LinkClicked(m_bCaptured, m_bLaunchPending);
    ::ReleaseCapture();
    SetTimer(kLinkTimerId, kLinkQuietPeriod, nullptr);

    HINSTANCE hInst =
        ::ShellExecuteA(nullptr, "open", strShellTarget, nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<UINT_PTR>(hInst) > 32) {
        if (m_pVisited != nullptr)
            *m_pVisited = 1;
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    } else {
        ::MessageBeep(0);
        TRACE("*** WARNING: CStaticLink: unable to execute file %s\n", strShellTarget.GetString());
    }
}

void CStaticLink::OnMouseMove(UINT, POINT point)
{
    Default();
    RECT rc;
    GetClientRect(&rc);
    switch (LinkPointerMove(m_bCaptured, m_bLaunchPending, IsInsideClient(rc, point))) {
    case LinkPointerEnter: {
        ::SetCapture(m_hWnd);
        HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEA(IDC_LINKHAND), RT_GROUP_CURSOR);
        ::SetCursor(::LoadCursorA(hInst, MAKEINTRESOURCEA(IDC_LINKHAND)));
        break;
    }
    case LinkPointerLeave:
        ::ReleaseCapture();
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
        break;
    case LinkPointerNone:
        break;
    }
}

void CStaticLink::OnTimer(UINT_PTR nIDEvent)
{
    Default();
    if (LinkTimer(nIDEvent, m_bLaunchPending))
        KillTimer(kLinkTimerId);
}
