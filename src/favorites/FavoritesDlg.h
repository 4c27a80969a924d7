// The Favorites editor: running process names (Candidates) on the left,
// the Favorites on the right, arrow buttons between them, and a button to
// type a name in. OK stores the Favorites; Cancel stores nothing.
#pragma once

#include "afxwin.h"

class CQuellonView;

class CFavoritesDlg : public CDialog
{
public:
    explicit CFavoritesDlg(CWnd* pParent = nullptr);
    ~CFavoritesDlg() override;

    CListBox m_listFavorites;
    CListBox m_listCandidates;
    CButton m_btnAdd;
    CButton m_btnRemove;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    // Enables each arrow exactly while its source list has a selection.
    void UpdateButtons();
    void OnSelChangeCandidates();
    void OnSelChangeFavorites();
    void OnRemove();
    void OnAdd();
    void OnManuallyAdd();

    DECLARE_MESSAGE_MAP()

private:
    void EnableArrow(CButton& button, CListBox& list);
    // Whether the Favorites list box holds the name: its own exact search,
    // over the whole list.
    bool HoldsFavorite(LPCSTR lpszName) const;
    // The process list view, the main frame's active view.
    CQuellonView* GetProcessView() const;
};

// The dialog in which a name is typed in.
class CAddNameDlg : public CDialog
{
public:
    explicit CAddNameDlg(CWnd* pParent = nullptr);
    ~CAddNameDlg() override;

    CString m_strName;

    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};

// An arrow button is enabled when its list holds a name and one is selected.
bool IsArrowEnabled(int nCount, int nCurSel);
