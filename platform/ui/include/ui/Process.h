// Threads and the module path of this process, with the Win32 calls the
// system's code makes: CreateThread (optionally suspended), ResumeThread,
// GetExitCodeThread (STILL_ACTIVE while running), CloseHandle, Sleep,
// GetCurrentThreadId and GetModuleFileName.
#pragma once

#include "com/Types.h"

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);

constexpr DWORD CREATE_SUSPENDED = 0x00000004;
constexpr DWORD STILL_ACTIVE = 259;
constexpr int MAX_PATH = 260;

// security and stackSize are accepted and ignored. The thread's exit code is
// what start returns. The handle stays valid until CloseHandle, which does
// not stop the thread.
HANDLE CreateThread(void* security, std::size_t stackSize, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD creationFlags, DWORD* threadId);
// Answers the previous suspend count, or (DWORD)-1 for a bad handle.
DWORD ResumeThread(HANDLE thread);
BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode);
BOOL CloseHandle(HANDLE handle);
void Sleep(DWORD milliseconds);
DWORD GetCurrentThreadId();

// A null module is the program itself; otherwise a handle from dlopen. The
// path is cut to size - 1 characters when it does not fit; answers the
// number of characters written without the NUL (size when cut), 0 on
// failure.
DWORD GetModuleFileName(HMODULE module, LPSTR fileName, DWORD size);
