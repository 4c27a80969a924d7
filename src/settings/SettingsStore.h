// The registry-backed store of Quellon's persistent values.
//
// Values are grouped in sections: a section is a key directly below the
// base key, a value a named registry value in it. Everything is stored as
// REG_SZ text, integers as decimal text. Every operation opens the key it
// needs, reads or writes once and closes the key again, so nothing is
// cached and reads never create keys.
#pragma once

#include "afxhandle.h"
#include "afxwin.h"

class CSettingsStore : public CObject
{
public:
    CSettingsStore();

    // Binds the store to hRootKey\lpszBasePath (recorded first, whatever
    // happens), then creates or opens that key for writing. On success the
    // caller's owner gets the key and the disposition (REG_CREATED_NEW_KEY or
    // REG_OPENED_EXISTING_KEY); on failure the owner holds no key.
    BOOL OpenBaseKey(CRegKey* pKey, DWORD* pdwDisposition, HKEY hRootKey, LPCSTR lpszBasePath);

    // The stored integer, or nDefault when the section or value is missing,
    // unreadable, or holds no number.
    int ReadInt(LPCSTR lpszSection, LPCSTR lpszName, int nDefault);
    BOOL WriteInt(LPCSTR lpszSection, LPCSTR lpszName, int nValue);
    // The stored text, or lpszDefault when it is missing or unreadable (a
    // text of 260 characters or more is unreadable).
    CString ReadString(LPCSTR lpszSection, LPCSTR lpszName, LPCSTR lpszDefault);
    BOOL WriteString(LPCSTR lpszSection, LPCSTR lpszName, LPCSTR lpszValue);

    CString m_strBasePath;
    HKEY m_hRootKey;

private:
    CString SectionPath(LPCSTR lpszSection) const;
    // Reads a value's data as text; FALSE when it cannot be read.
    BOOL ReadText(LPCSTR lpszSection, LPCSTR lpszName, CString& rText);
};

// Reads a signed decimal integer the way "%d" does: white space is skipped,
// an optional sign and the digits are taken and the rest is ignored. FALSE
// when there are no digits, or when the number does not fit in an int.
BOOL ParseSettingsInt(const char* psz, int* pnValue);
