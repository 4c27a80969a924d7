#include "ExecutableKey.h"

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

CString ProcessNameKey(LPCSTR lpszName)
{
    CString strKey(lpszName);
    strKey.MakeUpper();
    return strKey;
}
