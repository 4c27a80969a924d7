#include "QuellonDoc.h"

IMPLEMENT_DYNCREATE(CQuellonDoc, CDocument)

BOOL CQuellonDoc::OnNewDocument()
{
    return CDocument::OnNewDocument() ? TRUE : FALSE;
}

void CQuellonDoc::Serialize(CArchive&)
{
    // The document has no content to read or write.
}
