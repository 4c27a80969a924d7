// The commands that show a common dialog: File Open and Print Setup.
#include "afxwin.h"
#include "afxhandle.h"

#include <commdlg.h>
#include <cstddef>

// The sizes that the common dialogs of Windows 95, 98 and NT 4.0 accept:
// the headers' OPENFILENAMEA has the fields that Windows 2000 added, which
// those systems refuse, so the 4.0 size is passed.
// (OPENFILENAME_SIZE_VERSION_400A: the structure up to lpTemplateName.)
const DWORD kOpenFileNameSize400 = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
#ifndef _WIN64
static_assert(kOpenFileNameSize400 == 76, "the OPENFILENAMEA of Windows 95");
static_assert(sizeof(PRINTDLGA) == 66, "the PRINTDLGA of Windows 95");
#endif

namespace {

// The common dialogs are loaded only when one of these two commands runs:
// nothing else needs them, and the program starts without them. The
// function of comdlg32.dll of that name, or NULL where the library or the
// function is missing; rLibrary holds the library for as long as the
// function is used.
template <typename Fn> Fn CommonDialogFunction(CLibrary& rLibrary, const char* pszName)
{
    rLibrary.Attach(::LoadLibraryA("comdlg32.dll"));
    return AfxGetProcAddress<Fn>(rLibrary, pszName);
}

} // namespace

void CWinApp::OnFileOpen()
{
    typedef BOOL(WINAPI * GetOpenFileNameAFn)(LPOPENFILENAMEA);
    CLibrary comdlg;
    GetOpenFileNameAFn pfnGetOpenFileName =
        CommonDialogFunction<GetOpenFileNameAFn>(comdlg, "GetOpenFileNameA");
    if (pfnGetOpenFileName == nullptr)
        return;
    char szFile[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = kOpenFileNameSize400;
    ofn.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    ofn.lpstrFilter = "All Files (*.*)\0*.*\0";
    ofn.lpstrFile = szFile;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (pfnGetOpenFileName(&ofn))
        OpenDocumentFile(szFile);
}

void CWinApp::OnFilePrintSetup()
{
    typedef BOOL(WINAPI * PrintDlgAFn)(LPPRINTDLGA);
    CLibrary comdlg;
    PrintDlgAFn pfnPrintDlg = CommonDialogFunction<PrintDlgAFn>(comdlg, "PrintDlgA");
    if (pfnPrintDlg == nullptr)
        return;
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    pd.Flags = PD_PRINTSETUP;
    pfnPrintDlg(&pd);
    // The printer settings that the dialog hands out are not kept.
    CGlobalHandle devMode(pd.hDevMode);
    CGlobalHandle devNames(pd.hDevNames);
}
