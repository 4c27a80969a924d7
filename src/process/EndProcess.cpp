#include "EndProcess.h"

#include "ProcessExecutable.h"
#include "afxhandle.h"

BOOL EndProcess(const ProcessPlatform& platform, DWORD dwPID, LPCSTR lpszExpectedName,
                LPCSTR lpszExpectedPath)
{
    // Quellon never ends itself this way; File > Exit is for that.
    if (dwPID == platform.pfnGetCurrentProcessId())
        return FALSE;
    // The right to wait is asked for too: without it the wait below would
    // return at once on the NT family instead of waiting for the end.
    CKernelHandle process(platform.pfnOpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, dwPID));
    if (!process.IsValid())
        return FALSE;
    // A process that has ended can still be opened while handles to it are
    // open elsewhere; it is not killed again.
    if (platform.pfnWaitForSingleObject(process, 0) != WAIT_TIMEOUT)
        return FALSE;
    // While the handle is open the identifier cannot pass to another process.
    if (lpszExpectedName != nullptr && lpszExpectedPath != nullptr &&
        !ProcessRunsExecutable(platform, dwPID, lpszExpectedName, lpszExpectedPath))
        return FALSE;
    BOOL bTerminated = platform.pfnTerminateProcess(process, 0xFFFFFFFF);
    if (bTerminated)
        platform.pfnWaitForSingleObject(process, INFINITE);
    return bTerminated;
}
