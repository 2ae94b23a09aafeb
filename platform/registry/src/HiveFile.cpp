// Hive files on disk: locking, reading, and writing them whole.
#include "HiveFile.h"

#include "FileLock.h"
#include "HiveText.h"
#include "RegistryError.h"
#include "UniqueFd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
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

// Every change of any hive's content in this process takes a new number.
std::uint64_t nextVersion()
{
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

} // namespace

bool HiveFile::Stamp::operator==(const Stamp& other) const
{
    return device == other.device && inode == other.inode && size == other.size &&
           mtime.tv_sec == other.mtime.tv_sec && mtime.tv_nsec == other.mtime.tv_nsec &&
           ctime.tv_sec == other.ctime.tv_sec && ctime.tv_nsec == other.ctime.tv_nsec;
}

HiveFile::Stamp HiveFile::stampOf(const struct stat& info)
{
    return Stamp{info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
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

std::uint64_t HiveFile::version()
{
    refresh();
    return m_version;
}

void HiveFile::lockDirectory(std::optional<FileLock>& lock)
{
    std::error_code error;
    std::filesystem::create_directories(directory(), error);
    if (error)
        failWrite("cannot create the directory " + directory() + ": " + error.message());
    try {
        lock.emplace(m_path + ".lock");
    } catch (const LockBusy& e) {
        throw RegistryError(ERROR_BUSY, "registry file " + m_path + ": " + e.what());
    } catch (const std::system_error& e) {
        failWrite(e.what());
    }
}

void HiveFile::change(const std::function<bool(Key&)>& change)
{
    std::optional<FileLock> lock;
    if (!m_groupLock)
        lockDirectory(lock);
    refresh();
    try {
        if (change(m_root)) {
            if (m_groupLock) {
                m_pending = true;
                m_version = nextVersion();
            } else {
                write();
            }
        }
    } catch (...) {
        if (m_pending)
            m_version = nextVersion(); // the change may have begun
        else
            m_cached = false;
        throw;
    }
}

void HiveFile::beginGroup()
{
    lockDirectory(m_groupLock);
}

void HiveFile::endGroup(bool commit)
{
    struct Release {
        std::optional<FileLock>& lock;
        ~Release() { lock.reset(); }
    } release{m_groupLock};
    if (!m_pending)
        return;
    m_pending = false;
    if (!commit) {
        m_cached = false; // read again from the file the group never touched
        return;
    }
    try {
        write();
    } catch (...) {
        m_cached = false;
        throw;
    }
}

// One stat while the cache is the file's content; otherwise the file is
// read again. A group's changes not yet written are the content.
void HiveFile::refresh()
{
    if (m_pending)
        return;
    struct stat info {};
    if (::stat(m_path.c_str(), &info) != 0) {
        if (errno != ENOENT)
            failRead(errno);
        if (!m_cached || m_file)
            becomeEmpty();
        return;
    }
    if (m_cached && m_file && stampOf(info) == m_stamp)
        return;
    load();
}

void HiveFile::failRead(int error)
{
    m_cached = false;
    throw RegistryError(ERROR_CANTREAD,
                        "registry file " + m_path + ": cannot read: " + errorText(error));
}

void HiveFile::load()
{
    m_cached = false;
    m_file = UniqueFd();
    UniqueFd fd(::open(m_path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd && errno == ENOENT) {
        becomeEmpty(); // removed since the stat
        return;
    }
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0)
        failRead(errno);
    auto text = readFrom(fd.get(), static_cast<std::size_t>(-1));
    if (!text)
        failRead(errno);
    try {
        HiveText hive = parseHive(*text);
        m_root = std::move(hive.root);
        m_generation = hive.generation;
    } catch (const HiveSyntaxError& e) {
        throw RegistryError(ERROR_BADDB, "registry file " + m_path + ", line " +
                                             std::to_string(e.line()) + ": " + e.what());
    }
    m_file = std::move(fd);
    m_stamp = stampOf(info);
    m_version = nextVersion();
    m_cached = true;
}

void HiveFile::becomeEmpty()
{
    m_root = Key{};
    m_generation = 0;
    m_file = UniqueFd();
    m_stamp = Stamp{};
    m_version = nextVersion();
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
    if (!writeAll(fd.get(), text) || ::fsync(fd.get()) != 0 ||
        ::rename(temporary.c_str(), m_path.c_str()) != 0) {
        int error = errno;
        ::unlink(temporary.c_str());
        failWrite("cannot write: " + errorText(error));
    }
    // The new content is in place; the cache holds it from here on, with the
    // file written kept open (stamped after the rename, which sets its ctime).
    m_generation = generation;
    m_version = nextVersion();
    struct stat info {};
    m_cached = ::fstat(fd.get(), &info) == 0;
    m_stamp = stampOf(info);
    m_file = std::move(fd);
    UniqueFd dir(::open(directory().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir || ::fsync(dir.get()) != 0)
        failWrite("cannot flush the directory " + directory() + ": " + errorText(errno));
}

} // namespace registry
