#include "RowTexts.h"

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
    // The hexadecimal digits at the start of the text, as "%x" reads them
    // after a "0x" put in front; digits beyond 32 bits shift out.
    DWORD dwValue = 0;
    const char* p = pszText;
    for (;; ++p) {
        int nDigit;
        if (*p >= '0' && *p <= '9')
            nDigit = *p - '0';
        else if (*p >= 'A' && *p <= 'F')
            nDigit = *p - 'A' + 10;
        else if (*p >= 'a' && *p <= 'f')
            nDigit = *p - 'a' + 10;
        else
            break;
        dwValue = (dwValue << 4) | static_cast<DWORD>(nDigit);
    }
    if (p == pszText)
        return FALSE;
    *pdwPID = dwValue;
    return TRUE;
}
