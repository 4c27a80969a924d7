// What tells processes apart in the list: the executable (a name and a
// path), and the name alone that the kill commands and the Favorites go by.
#pragma once

#include "afx.h"

// The identity of an executable as the list tells rows apart: its name and
// its path, both upper-cased. Two rows show the same executable exactly
// when their keys are equal. (A file name holds no line end, which joins
// the two.)
CString ExecutableKey(LPCSTR lpszProcess, LPCSTR lpszFullPath);

// A set of executable keys, in a hash table: the executables that one
// refresh has listed so far.
class CExecutableSet
{
public:
    CExecutableSet();
    // Adds the key; FALSE when the set held it already.
    BOOL Add(const CString& strKey);
    BOOL Contains(const CString& strKey) const;
    int GetCount() const { return m_nCount; }

private:
    // The slot that holds the key, or the empty slot where it would go.
    int Slot(const CString& strKey) const;
    CArray<CString> m_slots; // an empty string is a free slot
    int m_nCount = 0;
};

// The name that the Favorites and the kill commands go by: a process name
// upper-cased, in the code page, character by character.
CString ProcessNameKey(LPCSTR lpszName);

// The index of the first name, from index 0 upward, that is lpszName when
// both are upper-cased; -1 when there is none. nameAt(i) gives the i-th of
// nCount names.
template <class NameAt> int FindFirstProcessName(int nCount, NameAt nameAt, LPCSTR lpszName)
{
    CString strWanted = ProcessNameKey(lpszName);
    for (int i = 0; i < nCount; ++i) {
        if (ProcessNameKey(nameAt(i)) == strWanted)
            return i;
    }
    return -1;
}
