// What every object of the framework rests on: the root class and its
// run-time class information, the end of the program where memory for an
// object cannot be had, and trace output (debug builds).
#include "afxwin.h"

void AfxAbortOutOfMemory()
{
    ::FatalAppExitA(0, "Out of memory.");
    ::ExitProcess(3); // FatalAppExit does not return; this keeps the promise
}

const CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), nullptr, nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &classCObject;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* p = this; p != nullptr; p = p->m_pBaseClass) {
        if (p == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

#ifdef _DEBUG
void AfxTrace(const char* pszFormat, ...)
{
    CString strText;
    va_list args;
    va_start(args, pszFormat);
    strText.FormatV(pszFormat, args);
    va_end(args);
    ::OutputDebugStringA(strText);
}
#endif
