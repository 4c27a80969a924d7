// The commands that show a common dialog: File Open and Print Setup.
#include "afxwin.h"

#include <commdlg.h>

// The common dialogs are loaded only when one of these two commands runs:
// nothing else needs them, and the program starts without them.
namespace {
template <typename Fn> Fn CommonDialogFunction(HMODULE* phLib, const char* pszName)
{
    *phLib = ::LoadLibraryA("comdlg32.dll");
    if (*phLib == nullptr)
        return nullptr;
    Fn pfn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(*phLib, pszName)));
    if (pfn == nullptr) {
        ::FreeLibrary(*phLib);
        *phLib = nullptr;
    }
    return pfn;
}
} // namespace

void CWinApp::OnFileOpen()
{
    typedef BOOL(WINAPI * GetOpenFileNameAFn)(LPOPENFILENAMEA);
    HMODULE hLib;
    GetOpenFileNameAFn pfnGetOpenFileName =
        CommonDialogFunction<GetOpenFileNameAFn>(&hLib, "GetOpenFileNameA");
    if (pfnGetOpenFileName == nullptr)
        return;
    char szFile[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    ofn.lpstrFilter = "All Files (*.*)\0*.*\0";
    ofn.lpstrFile = szFile;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    BOOL bChosen = pfnGetOpenFileName(&ofn);
    ::FreeLibrary(hLib);
    if (bChosen)
        OpenDocumentFile(szFile);
}

void CWinApp::OnFilePrintSetup()
{
    typedef BOOL(WINAPI * PrintDlgAFn)(LPPRINTDLGA);
    HMODULE hLib;
    PrintDlgAFn pfnPrintDlg = CommonDialogFunction<PrintDlgAFn>(&hLib, "PrintDlgA");
    if (pfnPrintDlg == nullptr)
        return;
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    pd.Flags = PD_PRINTSETUP;
    pfnPrintDlg(&pd);
    if (pd.hDevMode != nullptr)
        ::GlobalFree(pd.hDevMode);
    if (pd.hDevNames != nullptr)
        ::GlobalFree(pd.hDevNames);
    ::FreeLibrary(hLib);
}
