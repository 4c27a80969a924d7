// Texts of the process list's columns and the parsing of a row's PID,
// kept apart from the list so that they can be checked on their own.
#pragma once

#include "afxwin.h"

#include <tlhelp32.h>

// The Tool Help entries of Windows 95, whose sizes the program sets.
#ifndef _WIN64
static_assert(sizeof(PROCESSENTRY32) == 296, "the PROCESSENTRY32 of Windows 95");
static_assert(sizeof(MODULEENTRY32) == 548, "the MODULEENTRY32 of Windows 95");
#endif

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

// The right to ask a process for its executable's path (Windows Vista on).
const DWORD kProcessQueryLimitedInformation = 0x1000;

// The platform calls of the process list. Tool Help is looked up in the
// kernel at start-up rather than imported: Windows NT 4.0's kernel has none
// of it, and a program that imported it would not even load there. A test
// can replace the calls to produce a fault that cannot be produced for
// real (a snapshot or a version query that fails, Tool Help missing), or
// snapshots shaped as the Windows 95 family gives them.
struct ProcessPlatform
{
    HANDLE(WINAPI* pfnCreateToolhelp32Snapshot)(DWORD dwFlags, DWORD th32ProcessID);
    BOOL(WINAPI* pfnProcess32First)(HANDLE hSnapshot, LPPROCESSENTRY32 lppe);
    BOOL(WINAPI* pfnProcess32Next)(HANDLE hSnapshot, LPPROCESSENTRY32 lppe);
    BOOL(WINAPI* pfnModule32First)(HANDLE hSnapshot, LPMODULEENTRY32 lpme);
    BOOL(WINAPI* pfnModule32Next)(HANDLE hSnapshot, LPMODULEENTRY32 lpme);
    BOOL(WINAPI* pfnGetVersionExA)(LPOSVERSIONINFOA lpVersionInformation);
    // The path of a process's executable from a handle to it; the Windows
    // 95 family (and the NT family before Windows Vista) has none: NULL.
    BOOL(WINAPI* pfnQueryFullProcessImageNameA)
    (HANDLE hProcess, DWORD dwFlags, LPSTR lpExeName, PDWORD lpdwSize);
    // Ending a process and waiting for its end. Wine ends a process before
    // TerminateProcess returns, so only these calls show a test that the
    // wait comes, and comes before the process's row goes.
    BOOL(WINAPI* pfnTerminateProcess)(HANDLE hProcess, UINT uExitCode);
    DWORD(WINAPI* pfnWaitForSingleObject)(HANDLE hHandle, DWORD dwMilliseconds);

    // Whether all five Tool Help functions are there; where they are not,
    // none of them is called.
    bool HasToolHelp() const;
    // The executable of an open process (with the right to query it): its
    // path and, as the module name, the path's last part. FALSE where the
    // query is missing or fails.
    BOOL QueryImage(HANDLE hProcess, MODULEENTRY32* lpme) const;
};
// The calls as this system's kernel has them (NULL where missing).
ProcessPlatform LoadProcessPlatform();
extern ProcessPlatform g_processPlatform;
