// The About box: name and version, what Quellon does, and two links to the
// maker.
#pragma once

#include "StaticLink.h"

class CAboutDlg : public CDialog
{
public:
    CAboutDlg();
    ~CAboutDlg() override;

    CStaticLink m_linkEmail;
    CStaticLink m_linkWeb;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()
};
