// The document of Quellon's single-document window. It holds nothing: the
// process list lives in the view's list control.
#pragma once

#include "afxwin.h"

class CQuellonDoc : public CDocument
{
    DECLARE_DYNCREATE(CQuellonDoc)
public:
    BOOL OnNewDocument() override;
    void Serialize(CArchive& ar) override;
};
