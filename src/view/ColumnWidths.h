// The widths of the list's five columns, kept in section "Grid" as "col0"
// to "col4": read when the view is first shown, written when the main frame
// closes.
#pragma once

#include "SettingsStore.h"

// The list's columns, left to right.
enum {
    kColumnProcess,  // "Process": the name of the process's executable
    kColumnPid,      // "PID"
    kColumnPriority, // "Base Priority"
    kColumnThreads,  // "Num. Threads"
    kColumnPath,     // "FullPath"
    kColumnCount
};

// The name of a column's stored width in section "Grid": "col0" to "col4".
CString ColumnWidthName(int nColumn);
// Width of every column when the stored widths are not usable.
int DefaultColumnWidth(int nClientWidth);
// Stored column widths are kept only if each is greater than 0 and not
// greater than the client width, and their sum is not greater either;
// otherwise all become nDefault.
void ChooseColumnWidths(int widths[kColumnCount], int nClientWidth, int nDefault);

// The widths to show in a list of that client width: the stored ones, or
// all the default where they are not usable.
void ReadColumnWidths(CSettingsStore& settings, int nClientWidth, int widths[kColumnCount]);
// Stores the widths as they are; whether they are usable is decided when
// they are read.
void WriteColumnWidths(CSettingsStore& settings, const int widths[kColumnCount]);
