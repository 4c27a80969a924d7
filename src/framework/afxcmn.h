// Common controls of the framework: header and list controls, and the view
// that is a list control.
#pragma once

#include "afxwin.h"

class CHeaderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    int GetItemCount() const { return (int)SendMessage(HDM_GETITEMCOUNT); }
    BOOL GetItem(int nPos, HDITEMA* pHeaderItem) const
    {
        return (BOOL)SendMessage(HDM_GETITEMA, (WPARAM)nPos, (LPARAM)pHeaderItem);
    }
};

class CListCtrl : public CWnd
{
    DECLARE_DYNAMIC(CListCtrl)
public:
    int GetItemCount() const { return (int)SendMessage(LVM_GETITEMCOUNT); }
    int GetNextItem(int nItem, int nFlags) const
    {
        return (int)SendMessage(LVM_GETNEXTITEM, (WPARAM)nItem, MAKELPARAM(nFlags, 0));
    }
    int GetSelectedCount() const { return (int)SendMessage(LVM_GETSELECTEDCOUNT); }
    int InsertItem(const LVITEMA* pItem)
    {
        return (int)SendMessage(LVM_INSERTITEMA, 0, (LPARAM)pItem);
    }
    BOOL SetItemText(int nItem, int nSubItem, LPCSTR lpszText);
    CString GetItemText(int nItem, int nSubItem) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    UINT GetItemState(int nItem, UINT nMask) const
    {
        return (UINT)SendMessage(LVM_GETITEMSTATE, (WPARAM)nItem, (LPARAM)nMask);
    }
    BOOL DeleteItem(int nItem) { return (BOOL)SendMessage(LVM_DELETEITEM, (WPARAM)nItem); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(LVM_DELETEALLITEMS); }
    int InsertColumn(int nCol, const LVCOLUMNA* pColumn)
    {
        return (int)SendMessage(LVM_INSERTCOLUMNA, (WPARAM)nCol, (LPARAM)pColumn);
    }
    int GetColumnWidth(int nCol) const
    {
        return (int)SendMessage(LVM_GETCOLUMNWIDTH, (WPARAM)nCol);
    }
    BOOL SetColumnWidth(int nCol, int cx)
    {
        return (BOOL)SendMessage(LVM_SETCOLUMNWIDTH, (WPARAM)nCol, MAKELPARAM(cx, 0));
    }
    // The list's header control (a wrapper that does not own the window).
    CHeaderCtrl* GetHeaderCtrl();

private:
    CHeaderCtrl m_header;
};

// A view that is a list control.
class CListView : public CCtrlView
{
    DECLARE_DYNCREATE(CListView)
public:
    CListView();
    ~CListView() override;
    // The view's own window as a list control.
    CListCtrl& GetListCtrl() const;

private:
    mutable CListCtrl m_listCtrl;
};
