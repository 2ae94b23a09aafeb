// Threads with Win32 handles over std::thread, and the module path.
#include "GuiThread.h"

#include "ui/Process.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace {

std::atomic<DWORD> nextThreadId{1};

DWORD& currentThreadId()
{
    thread_local DWORD id = 0;
    return id;
}

// Shared by the handle and the running thread: either may go first.
struct ThreadState {
    std::mutex mutex;
    std::condition_variable resumed;
    DWORD suspendCount = 0;
    DWORD exitCode = STILL_ACTIVE;
    DWORD id = 0;
};

struct ThreadHandle {
    std::shared_ptr<ThreadState> state;
};

} // namespace

HANDLE CreateThread(void*, std::size_t, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD creationFlags, DWORD* threadId)
{
    if (!start)
        return nullptr;
    auto state = std::make_shared<ThreadState>();
    state->suspendCount = (creationFlags & CREATE_SUSPENDED) ? 1 : 0;
    state->id = nextThreadId++;
    try {
        std::thread([state, start, parameter] {
            currentThreadId() = state->id;
            {
                std::unique_lock lock(state->mutex);
                state->resumed.wait(lock, [&] { return state->suspendCount == 0; });
            }
            const DWORD code = start(parameter);
            {
                std::lock_guard lock(state->mutex);
                state->exitCode = code;
            }
            ui::detail::signalActivity();
        }).detach();
    } catch (const std::system_error&) {
        return nullptr;
    }
    if (threadId)
        *threadId = state->id;
    return new ThreadHandle{state};
}

DWORD ResumeThread(HANDLE thread)
{
    auto* handle = static_cast<ThreadHandle*>(thread);
    if (!handle)
        return static_cast<DWORD>(-1);
    DWORD previous;
    {
        std::lock_guard lock(handle->state->mutex);
        previous = handle->state->suspendCount;
        if (previous > 0)
            --handle->state->suspendCount;
    }
    handle->state->resumed.notify_all();
    return previous;
}

BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode)
{
    auto* handle = static_cast<ThreadHandle*>(thread);
    if (!handle || !exitCode)
        return FALSE;
    std::lock_guard lock(handle->state->mutex);
    *exitCode = handle->state->exitCode;
    return TRUE;
}

BOOL CloseHandle(HANDLE handle)
{
    if (!handle)
        return FALSE;
    delete static_cast<ThreadHandle*>(handle);
    return TRUE;
}

void Sleep(DWORD milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

DWORD GetCurrentThreadId()
{
    DWORD& id = currentThreadId();
    if (id == 0)
        id = nextThreadId++;
    return id;
}

DWORD GetModuleFileName(HMODULE module, LPSTR fileName, DWORD size)
{
    if (!fileName || size == 0)
        return 0;
    std::string path;
    if (!module) {
        char buffer[4096];
        const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer);
        if (n <= 0)
            return 0;
        path.assign(buffer, static_cast<std::size_t>(n));
    } else {
        link_map* map = nullptr;
        if (dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name)
            return 0;
        path = map->l_name;
    }
    if (path.size() >= size) {
        std::memcpy(fileName, path.data(), size - 1);
        fileName[size - 1] = '\0';
        return size;
    }
    std::memcpy(fileName, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}
