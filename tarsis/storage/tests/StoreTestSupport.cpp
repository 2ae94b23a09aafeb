// Test helpers; see StoreTestSupport.h.
#include "StoreTestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <string>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarsis::testing {

namespace {

sqlite3* openRaw(const std::string& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << path << ": " << sqlite3_errmsg(db);
    }
    sqlite3_busy_timeout(db, 10000);
    return db;
}

} // namespace

void execSql(const std::string& path, const std::string& sql)
{
    sqlite3* db = openRaw(path);
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK)
        ADD_FAILURE() << sql << ": " << (error ? error : "?");
    sqlite3_free(error);
    sqlite3_close(db);
}

std::string querySql(const std::string& path, const std::string& sql)
{
    sqlite3* db = openRaw(path);
    sqlite3_stmt* st = nullptr;
    std::string result;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
    } else if (sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0)) {
        result = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return result;
}

WriteLock::WriteLock(const std::string& path) : m_db(openRaw(path))
{
    if (sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        ADD_FAILURE() << "cannot lock " << path << ": " << sqlite3_errmsg(m_db);
}

WriteLock::~WriteLock()
{
    release();
    sqlite3_close(m_db);
}

void WriteLock::release()
{
    sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
}

namespace {

std::atomic<long long> g_maxPages{0};

int limitSize(sqlite3* db, char**, const sqlite3_api_routines*)
{
    const std::string sql = "PRAGMA max_page_count = " + std::to_string(g_maxPages.load());
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    return SQLITE_OK;
}

void (*limitSizeEntry())()
{
    return reinterpret_cast<void (*)()>(&limitSize);
}

} // namespace

DatabaseSizeLimit::DatabaseSizeLimit(long long maxPages)
{
    g_maxPages = maxPages;
    sqlite3_auto_extension(limitSizeEntry());
}

DatabaseSizeLimit::~DatabaseSizeLimit()
{
    sqlite3_cancel_auto_extension(limitSizeEntry());
}

long long pageCount(const std::string& path)
{
    return std::stoll(querySql(path, "PRAGMA page_count"));
}

namespace {

// Sets or clears the immutable attribute; false where it cannot be set.
bool setImmutable(const std::string& path, bool on)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

} // namespace

ReadOnlyFile::ReadOnlyFile(const std::string& path) : m_path(path)
{
    ::chmod(path.c_str(), 0444);
    if (::geteuid() == 0)
        m_immutable = setImmutable(path, true);
}

ReadOnlyFile::~ReadOnlyFile()
{
    if (m_immutable)
        setImmutable(m_path, false);
    ::chmod(m_path.c_str(), 0644);
}

bool ReadOnlyFile::works() const
{
    int fd = ::open(m_path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd >= 0)
        ::close(fd);
    return fd < 0;
}

PartRecord samplePart(const PartKey& key, int operationCount)
{
    PartRecord part;
    PartHeader& h = part.header;
    h.key = key;
    h.quantity = 3;
    h.length = 240.5;
    h.shape = {"W", "1226"};
    h.grade = "A992";
    h.text1 = "first";
    h.number = 70000;
    h.text2 = "second";
    h.text3 = "third";
    h.measuringSystem = 0;
    h.partKind = 1;
    part.entries.push_back(RefPlane{0, 3.245, 0, 0, "+", "-", "A"});
    const Face faces[] = {Face::Web,  Face::TFNear,    Face::BFFar,
                          Face::Web2, Face::TFNearFar, Face::BFNear};
    for (int i = 0; i < operationCount; ++i) {
        Operation op;
        op.face = faces[i % 6];
        op.x = 10.0 + i;
        op.u = 1.5 + i / 4.0;
        switch (i % 4) {
        case 0:
            op.kind = OperationKind::Hole;
            op.numX = 1;
            op.numU = 1;
            op.toolSize1 = 0.8125;
            op.toolShape = "RD";
            if (i % 8 == 4)
                op.toolMeasuringSystem = 2;
            break;
        case 1:
            op.kind = OperationKind::Mark;
            op.xInc = 2;
            op.uInc = 0.5;
            op.numX = 2;
            op.numU = 3;
            break;
        case 2:
            op.kind = OperationKind::HiddenMark;
            op.face = Face::Web;
            op.numX = 1;
            op.numU = 1;
            break;
        default:
            op.kind = OperationKind::Stencil;
            op.face = i % 3 == 0 ? Face::TF : Face::Web;
            op.text = "S";
            op.text += std::to_string(i);
            break;
        }
        part.entries.push_back(op);
        if (i % 5 == 4)
            part.entries.push_back(RefPlane{0, 0, 0, 0, "+", "+", "B"});
    }
    return part;
}

} // namespace tarsis::testing
