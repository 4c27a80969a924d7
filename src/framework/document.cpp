// Documents: the data a program's views show, their views and their life.
#include "afxwin.h"
#include "afxhandle.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_SAVE, &CDocument::OnFileSave)
END_MESSAGE_MAP()

CDocument::~CDocument()
{
    for (CView* pView : m_views)
        pView->m_pDocument = nullptr;
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCSTR lpszTitle)
{
    m_strTitle = lpszTitle;
}

void CDocument::SetPathName(LPCSTR lpszPathName)
{
    m_strPathName = lpszPathName;
    SetTitle(AfxFindFileName(m_strPathName));
}

void CDocument::AddView(CView* pView)
{
    m_views.Add(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView)
{
    for (int i = 0; i < m_views.GetSize(); ++i) {
        if (m_views[i] == pView) {
            m_views.RemoveAt(i);
            break;
        }
    }
    pView->m_pDocument = nullptr;
    // A document lives as long as it has views.
    if (m_views.IsEmpty() && m_bAutoDelete)
        OnCloseDocument();
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCSTR lpszPathName)
{
    CFileHandle file(::CreateFileA(lpszPathName, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        AfxMessageBox("Failed to open document.");
        return FALSE;
    }
    DeleteContents();
    CArchive ar(file, CArchive::load);
    Serialize(ar);
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // Close the frames that show the document; the document goes with its
    // last view unless auto-deletion is off.
    BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_views.IsEmpty()) {
        CView* pView = m_views[0];
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame != nullptr)
            pFrame->DestroyWindow();
        else
            pView->DestroyWindow();
        if (!m_views.IsEmpty() && m_views[0] == pView)
            RemoveView(pView);
    }
    m_bAutoDelete = bAutoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

BOOL CDocument::SaveModified()
{
    // Documents of this framework hold nothing that could be lost.
    return TRUE;
}

BOOL CDocument::CanCloseFrame(CFrameWnd*)
{
    return SaveModified();
}

void CDocument::Serialize(CArchive&) {}

void CDocument::OnFileSave() {}
