// The command line: the program's name skipped, the arguments split the
// way the C runtime splits them, character by character of the ANSI code
// page, parsed into a CCommandLineInfo and carried out as the shell command
// it names.
#include "afxwin.h"

void CCommandLineInfo::ParseParam(const char*, BOOL, BOOL) {}

static bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

const char* AfxSkipProgramName(const char* pszCmdLine)
{
    const char* p = pszCmdLine;
    if (*p == '"') {
        for (++p; *p != '\0' && *p != '"'; p = AfxNextChar(p)) {
        }
        if (*p == '"')
            ++p;
    } else {
        while (*p != '\0' && !IsBlank(*p))
            p = AfxNextChar(p);
    }
    while (IsBlank(*p))
        ++p;
    return p;
}

void AfxSplitCommandLine(const char* pszArgs, CArray<CString>& rArgs)
{
    rArgs.RemoveAll();
    const char* p = pszArgs;
    for (;;) {
        while (IsBlank(*p))
            ++p;
        if (*p == '\0')
            return;
        CString strArg;
        bool bQuoted = false;
        while (*p != '\0' && (bQuoted || !IsBlank(*p))) {
            int nBackslashes = 0;
            while (*p == '\\') {
                ++nBackslashes;
                ++p;
            }
            if (*p == '"') {
                // 2n backslashes and a quote: n backslashes, and the quote
                // opens or closes a quoted part (two quotes inside one stand
                // for a quote); 2n + 1 backslashes: n and a plain quote.
                strArg += CString('\\', nBackslashes / 2);
                if (nBackslashes % 2 == 1) {
                    strArg += '"';
                } else if (bQuoted && p[1] == '"') {
                    strArg += '"';
                    ++p;
                } else {
                    bQuoted = !bQuoted;
                }
                ++p;
            } else {
                strArg += CString('\\', nBackslashes);
                if (*p != '\0' && (bQuoted || !IsBlank(*p))) {
                    // A double-byte character whole: its trail byte is
                    // not taken for a backslash.
                    const char* pNext = AfxNextChar(p);
                    strArg += CString(p, static_cast<int>(pNext - p));
                    p = pNext;
                }
            }
        }
        rArgs.Add(static_cast<CString&&>(strArg));
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    CArray<CString> args;
    AfxSplitCommandLine(AfxSkipProgramName(::GetCommandLineA()), args);
    for (int i = 0; i < args.GetSize(); ++i) {
        const char* pszParam = args[i];
        BOOL bFlag = pszParam[0] == '-' || pszParam[0] == '/';
        if (bFlag)
            ++pszParam;
        rCmdInfo.ParseParam(pszParam, bFlag, i + 1 == args.GetSize());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr))
            OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileNothing:
        break;
    }
    return TRUE;
}
