// CStdioFile: text files read through the Win32 file functions, with the C
// runtime's text-mode rules.
#include "afx.h"

BOOL CStdioFile::Open(LPCSTR lpszFileName)
{
    Close();
    // Shared as the C runtime shares a file it opens for reading.
    m_file.Attach(::CreateFileA(lpszFileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return m_file.IsValid();
}

void CStdioFile::Close()
{
    m_file.Close();
    m_bEnd = FALSE;
    m_nPos = m_nLength = 0;
}

int CStdioFile::Peek()
{
    if (m_nPos == m_nLength && !m_bEnd) {
        DWORD nRead = 0;
        m_nPos = m_nLength = 0;
        if (!m_file.IsValid() || !::ReadFile(m_file, m_buffer, sizeof m_buffer, &nRead, nullptr) ||
            nRead == 0)
            m_bEnd = TRUE;
        m_nLength = nRead;
    }
    return m_nPos < m_nLength ? m_buffer[m_nPos] : -1;
}

int CStdioFile::Get()
{
    int c = Peek();
    if (c >= 0)
        ++m_nPos;
    return c;
}

int CStdioFile::GetChar()
{
    int c = Get();
    if (c == 0x1A) { // Ctrl+Z: nothing after it is read
        m_bEnd = TRUE;
        m_nPos = m_nLength = 0;
        return -1;
    }
    if (c == '\r' && Peek() == '\n')
        return Get();
    return c;
}

LPSTR CStdioFile::ReadString(LPSTR lpsz, UINT nMax)
{
    if (nMax == 0)
        return nullptr;
    UINT n = 0;
    while (n + 1 < nMax) {
        int c = GetChar();
        if (c < 0)
            break;
        lpsz[n++] = static_cast<char>(c);
        if (c == '\n')
            break;
    }
    if (n == 0 && nMax > 1)
        return nullptr;
    lpsz[n] = '\0';
    return lpsz;
}
