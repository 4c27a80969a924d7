// The texts of a process row's columns, and a row's PID read back from its
// text.
#pragma once

#include "afx.h"

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
