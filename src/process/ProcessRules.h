// Texts of the process list's columns and the parsing of a row's PID,
// kept apart from the list so that they can be checked on their own.
#pragma once

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
// Reads a PID column text back: "0x" is put in front and one hexadecimal
// number read from the result. FALSE when there is none.
BOOL ParsePidText(const char* pszText, DWORD* pdwPID);

// Platform calls that a test can replace to produce a fault that cannot
// be produced for real (a snapshot or a version query that fails).
struct ProcessPlatform
{
    HANDLE(WINAPI* pfnCreateToolhelp32Snapshot)(DWORD dwFlags, DWORD th32ProcessID);
    BOOL(WINAPI* pfnGetVersionExA)(LPOSVERSIONINFOA lpVersionInformation);
};
extern ProcessPlatform g_processPlatform;
