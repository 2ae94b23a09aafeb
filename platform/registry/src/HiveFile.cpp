// Hive files on disk: locking, reading, and writing them whole.
#include "HiveFile.h"

#include "FileLock.h"
#include "HiveText.h"
#include "RegistryError.h"
#include "UniqueFd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

namespace registry {

namespace {

std::string errorText(int error)
{
    return std::strerror(error);
}

// Reads from offset to the end, or at most limit bytes.
std::optional<std::string> readFrom(int fd, std::size_t limit)
{
    std::string text;
    char buffer[65536];
    while (text.size() < limit) {
        std::size_t want = std::min(sizeof buffer, limit - text.size());
        ssize_t got = ::pread(fd, buffer, want, static_cast<off_t>(text.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

bool writeAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        ssize_t done = ::write(fd, text.data(), text.size());
        if (done < 0 && errno == EINTR)
            continue;
        if (done < 0)
            return false;
        text.remove_prefix(static_cast<std::size_t>(done));
    }
    return true;
}

} // namespace

bool HiveFile::Stamp::operator==(const Stamp& other) const
{
    return exists == other.exists && device == other.device && inode == other.inode &&
           size == other.size && mtime.tv_sec == other.mtime.tv_sec &&
           mtime.tv_nsec == other.mtime.tv_nsec;
}

HiveFile::HiveFile(std::string path) : m_path(std::move(path)) {}

std::string HiveFile::directory() const
{
    return std::filesystem::path(m_path).parent_path().string();
}

// Reads take no lock: every write renames a whole file into place, so the
// file opened here is whole, the old one or the new one.
void HiveFile::read(const std::function<void(const Key&)>& read)
{
    refresh();
    read(m_root);
}

void HiveFile::change(const std::function<bool(Key&)>& change)
{
    std::error_code error;
    std::filesystem::create_directories(directory(), error);
    if (error)
        failWrite("cannot create the directory " + directory() + ": " + error.message());
    std::optional<FileLock> lock;
    try {
        lock.emplace(m_path + ".lock");
    } catch (const std::system_error& e) {
        failWrite(e.what());
    }
    refresh();
    try {
        if (change(m_root))
            write();
    } catch (...) {
        m_cached = false;
        throw;
    }
}

void HiveFile::refresh()
{
    UniqueFd fd(::open(m_path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd && errno == ENOENT) {
        if (!m_cached || m_stamp.exists) {
            m_root = Key{};
            m_generation = 0;
            m_stamp = Stamp{};
            m_cached = true;
        }
        return;
    }
    auto failRead = [&](int error) {
        m_cached = false;
        throw RegistryError(ERROR_CANTREAD,
                            "registry file " + m_path + ": cannot read: " + errorText(error));
    };
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0)
        failRead(errno);
    Stamp stamp{true, info.st_dev, info.st_ino, info.st_size, info.st_mtim};
    if (m_cached && stamp == m_stamp) {
        // Same as cached unless rewritten within the clock's resolution with
        // the same size and a reused inode: the generation tells.
        auto head = readFrom(fd.get(), 128);
        if (!head)
            failRead(errno);
        if (headerGeneration(head->substr(0, head->find('\n'))) == m_generation)
            return;
    }
    auto text = readFrom(fd.get(), static_cast<std::size_t>(-1));
    if (!text)
        failRead(errno);
    m_cached = false;
    try {
        HiveText hive = parseHive(*text);
        m_root = std::move(hive.root);
        m_generation = hive.generation;
    } catch (const HiveSyntaxError& e) {
        throw RegistryError(ERROR_BADDB, "registry file " + m_path + ", line " +
                                             std::to_string(e.line()) + ": " + e.what());
    }
    m_stamp = stamp;
    m_cached = true;
}

void HiveFile::failWrite(const std::string& what) const
{
    throw RegistryError(ERROR_CANTWRITE, "registry file " + m_path + ": " + what);
}

void HiveFile::write()
{
    std::uint64_t generation = m_generation + 1;
    std::string text = writeHive(m_root, generation);
    std::string temporary = m_path + ".tmp";
    UniqueFd fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd)
        failWrite("cannot create " + temporary + ": " + errorText(errno));
    if (!writeAll(fd.get(), text) || ::fsync(fd.get()) != 0 || fd.close() != 0 ||
        ::rename(temporary.c_str(), m_path.c_str()) != 0) {
        int error = errno;
        ::unlink(temporary.c_str());
        failWrite("cannot write: " + errorText(error));
    }
    // The new content is in place; the cache holds it from here on.
    m_generation = generation;
    struct stat info {};
    m_cached = ::stat(m_path.c_str(), &info) == 0;
    m_stamp = Stamp{true, info.st_dev, info.st_ino, info.st_size, info.st_mtim};
    UniqueFd dir(::open(directory().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir || ::fsync(dir.get()) != 0)
        failWrite("cannot flush the directory " + directory() + ": " + errorText(errno));
}

} // namespace registry
