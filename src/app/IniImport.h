// The legacy INI file that the first run imports: every section becomes a
// key below the settings key, every "name=value" line a string value in it.
#pragma once

#include "afx.h"

// What a line of the legacy INI file is, after trimming: a section header
// ("[name]", the name trimmed again), a value ("name=value", split at the
// first equals sign and not trimmed further) or nothing of interest.
enum IniLineKind { IniLineIgnored, IniLineSection, IniLineValue };
IniLineKind ClassifyIniLine(const char* pszLine, CString& rName, CString& rValue);

// <Windows directory>\<application name>.INI; FALSE when the Windows
// directory cannot be had.
BOOL LegacyIniPath(LPCSTR lpszAppName, CString& rPath);
// Copies every section and value of the file below the key. A file that
// cannot be opened imports nothing; a section key that cannot be made stops
// the import after the next line is read.
void ImportIni(HKEY hBaseKey, LPCSTR lpszPath);
