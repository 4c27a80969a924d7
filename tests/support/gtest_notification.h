// GoogleTest's Notification on a manual-reset event: the Win32 thread
// model's C++ library of GCC 12 has no std::mutex or std::condition_variable
// to build it on, and the event needs nothing newer than Windows 95 on any
// compiler. Included ahead of every source that uses GoogleTest.
#pragma once

// GCC 13 and later give the Win32 thread model a real <mutex> and
// <condition_variable>, which GoogleTest includes on Windows whatever its
// settings; their declarations exist only from Windows Vista on
// (_WIN32_WINNT 0x0600). They are read here first, with that value, and the
// build's own value (Windows 95's) is restored before anything else is
// read: these headers bring in no Windows header, so every declaration of
// the system that a test or the program's code sees is still Windows 95's.
// Under GCC 12 they are empty for this thread model. This header is only
// ever given to test programs, never to Quellon.exe.
#pragma push_macro("_WIN32_WINNT")
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <condition_variable>
#include <mutex>
#pragma pop_macro("_WIN32_WINNT")
#ifdef _WINDOWS_
#error "A Windows header was read with the declarations of Windows Vista"
#endif

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification
{
public:
    Notification() : m_hEvent(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { ::CloseHandle(m_hEvent); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { ::SetEvent(m_hEvent); }
    void WaitForNotification() { ::WaitForSingleObject(m_hEvent, INFINITE); }

private:
    HANDLE m_hEvent;
};

} // namespace internal
} // namespace testing
