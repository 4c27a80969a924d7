// Wrappers of the standard and common controls.
#include "afxcmn.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

void CListBox::GetText(int nIndex, CString& rString) const
{
    int nLen = GetTextLen(nIndex);
    if (nLen == LB_ERR) {
        rString.Empty();
        return;
    }
    SendMessage(LB_GETTEXT, static_cast<WPARAM>(nIndex),
                reinterpret_cast<LPARAM>(rString.GetBuffer(nLen)));
    rString.ReleaseBuffer();
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCSTR lpszText)
{
    LVITEMA lvi = {};
    lvi.iSubItem = nSubItem;
    lvi.pszText = const_cast<LPSTR>(lpszText);
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&lvi)));
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    // The control copies at most the buffer's size; grow it until the text
    // fits with room to spare.
    CString str;
    for (int nLen = 256;; nLen *= 2) {
        LVITEMA lvi = {};
        lvi.iSubItem = nSubItem;
        lvi.cchTextMax = nLen;
        lvi.pszText = str.GetBuffer(nLen);
        int nRes = static_cast<int>(SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(nItem),
                                                reinterpret_cast<LPARAM>(&lvi)));
        str.ReleaseBuffer();
        if (nRes < nLen - 1)
            break;
    }
    return str;
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEMA lvi = {};
    lvi.state = nState;
    lvi.stateMask = nMask;
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&lvi)));
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl()
{
    // LVM_GETHEADER is believed to have come after comctl32 4.00, which
    // answers it with 0; the report view's header is then found as the
    // list's child window of the header class.
    HWND hHeader = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    if (hHeader == nullptr)
        hHeader = ::FindWindowExA(m_hWnd, nullptr, "SysHeader32", nullptr);
    m_header.m_hWnd = hHeader;
    return hHeader != nullptr ? &m_header : nullptr;
}
