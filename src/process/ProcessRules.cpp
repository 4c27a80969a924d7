#include "ProcessRules.h"

#include <cstdio>
#include <tlhelp32.h>

ProcessPlatform g_processPlatform = {::CreateToolhelp32Snapshot, ::GetVersionExA};

CString FormatPidText(DWORD dwPID)
{
    CString str;
    str.Format("%lX", static_cast<unsigned long>(dwPID));
    return str;
}

CString FormatPriorityText(DWORD dwPriorityClass, LONG lBasePriority)
{
    const char* pszClass = nullptr;
    switch (dwPriorityClass) {
    case NORMAL_PRIORITY_CLASS:
        pszClass = "Normal";
        break;
    case IDLE_PRIORITY_CLASS:
        pszClass = "Idle";
        break;
    case HIGH_PRIORITY_CLASS:
        pszClass = "High";
        break;
    case REALTIME_PRIORITY_CLASS:
        pszClass = "Real Time";
        break;
    default:
        break;
    }
    CString str;
    if (pszClass != nullptr)
        str.Format("%d  (%s)", static_cast<int>(lBasePriority), pszClass);
    else
        str.Format("%d", static_cast<int>(lBasePriority));
    return str;
}

CString FormatThreadsText(DWORD dwNumThreads)
{
    CString str;
    str.Format("%d", static_cast<int>(dwNumThreads));
    return str;
}

BOOL ParsePidText(const char* pszText, DWORD* pdwPID)
{
    CString strHex = CString("0x") + pszText;
    unsigned int nValue = 0;
    if (std::sscanf(strHex, "%x", &nValue) != 1)
        return FALSE;
    *pdwPID = nValue;
    return TRUE;
}
