// Ending a process and waiting for its end.
#pragma once

#include "ProcessPlatform.h"

// Terminates the process with exit code 0xFFFFFFFF and waits, without a
// time-out, until it has ended; TRUE when it was terminated. When a name
// and path are given, the process must still run that executable
// (ProcessRunsExecutable): identifiers are reused, and a row is a snapshot.
// Quellon itself, a process that cannot be opened to be ended, and one that
// has ended already are not terminated.
BOOL EndProcess(const ProcessPlatform& platform, DWORD dwPID, LPCSTR lpszExpectedName = nullptr,
                LPCSTR lpszExpectedPath = nullptr);
