// The error log file and ThrowHResult.
#include "vlmrexcept/CLog.h"

#include "vlmrexcept/CHResultException.h"

#include "userdata/UserDataFolder.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

std::string entryLine(const char* sourceFile, int line, const char* text)
{
    char stamp[32] = "";
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local))
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::string entry = std::string(stamp) + " " + (sourceFile ? sourceFile : "") + "(" +
                        std::to_string(line) + "): ";
    for (const char* p = text ? text : ""; *p; ++p)
        entry += (*p == '\r' || *p == '\n') ? ' ' : *p;
    entry += '\n';
    return entry;
}

void appendAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

std::mutex logMutex;

} // namespace

void CLog::LogError(const char* sourceFile, int line, const char* text)
{
    try {
        std::filesystem::path dir = userdata::folder();
        if (dir.empty())
            return;
        dir /= "vlmr";
        dir /= "log";
        std::string entry = entryLine(sourceFile, line, text);

        std::lock_guard lock(logMutex);
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        int fd =
            ::open((dir / "error.log").c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return;
        appendAll(fd, entry);
        ::close(fd);
    } catch (...) {
        // The log never fails its caller.
    }
}

void CLog::ThrowHResult(const char* sourceFile, int line, HRESULT hr)
{
    CHResultException error(sourceFile, line, hr);
    LogError(sourceFile, line, error.GetMessage());
    throw error;
}
