#include "AboutDlg.h"

#include "QuellonApp.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr) {}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

BOOL CAboutDlg::OnInitDialog()
{
    m_linkEmail.SubclassDlgItem(IDC_EMAILLINK, this);
    m_linkWeb.SubclassDlgItem(IDC_WEBLINK, this);
    // The visited flags belong to the application, so that a link opened
    // once shows as visited for the rest of the run.
    CQuellonApp* pApp = GetQuellonApp();
    m_linkEmail.m_pVisited = &pApp->m_bEmailVisited;
    m_linkWeb.m_pVisited = &pApp->m_bWebVisited;
    CDialog::OnInitDialog();
    return TRUE;
}
