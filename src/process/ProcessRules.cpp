#include "ProcessRules.h"

#include "afxhandle.h"

CString ExecutableKey(LPCSTR lpszProcess, LPCSTR lpszFullPath)
{
    CString strKey(lpszProcess);
    strKey += '\n';
    strKey += lpszFullPath;
    strKey.MakeUpper();
    return strKey;
}

CExecutableSet::CExecutableSet()
{
    m_slots.SetSize(64);
}

int CExecutableSet::Slot(const CString& strKey) const
{
    // FNV-1a over the key's bytes; open addressing with linear probing in
    // a table whose size is a power of two, at most half full.
    DWORD dwHash = 2166136261u;
    for (int i = 0; i < strKey.GetLength(); ++i)
        dwHash = (dwHash ^ static_cast<BYTE>(strKey[i])) * 16777619u;
    int nMask = m_slots.GetSize() - 1;
    int nSlot = static_cast<int>(dwHash & static_cast<DWORD>(nMask));
    while (!m_slots[nSlot].IsEmpty() && m_slots[nSlot] != strKey)
        nSlot = (nSlot + 1) & nMask;
    return nSlot;
}

BOOL CExecutableSet::Contains(const CString& strKey) const
{
    return !m_slots[Slot(strKey)].IsEmpty();
}

BOOL CExecutableSet::Add(const CString& strKey)
{
    int nSlot = Slot(strKey);
    if (!m_slots[nSlot].IsEmpty())
        return FALSE;
    m_slots[nSlot] = strKey;
    if (++m_nCount * 2 > m_slots.GetSize()) {
        CArray<CString> old(static_cast<CArray<CString>&&>(m_slots));
        m_slots.SetSize(old.GetSize() * 2);
        for (CString& strOld : old) {
            if (!strOld.IsEmpty())
                m_slots[Slot(strOld)] = static_cast<CString&&>(strOld);
        }
    }
    return TRUE;
}

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
