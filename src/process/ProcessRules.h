// Texts of the process list's columns and the parsing of a row's PID,
// kept apart from the list so that they can be checked on their own.
#pragma once

#include "ProcessPlatform.h"
#include "afxwin.h"

// One listed process, filled per process during a refresh.
struct ProcessRow
{
    char szProcess[256];   // name of the process's own module
    DWORD dwPID;           // process identifier
    DWORD dwPriorityClass; // priority class; 0 when it cannot be read
    LONG lBasePriority;    // base priority of the process's threads
    DWORD dwNumThreads;    // number of threads
    char szFullPath[260];  // full path of the executable file
};

// "PID": upper-case hexadecimal, no prefix, no leading zeros.
CString FormatPidText(DWORD dwPID);
// "Base Priority": the base priority and, for the four known classes, the
// class's name in parentheses after two spaces ("8  (Normal)").
CString FormatPriorityText(DWORD dwPriorityClass, LONG lBasePriority);
// "Num. Threads": decimal.
CString FormatThreadsText(DWORD dwNumThreads);
// Reads a PID column text back: the hexadecimal number it starts with, as
// "%x" reads it with "0x" put in front. FALSE when it starts with none.
BOOL ParsePidText(const char* pszText, DWORD* pdwPID);

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
