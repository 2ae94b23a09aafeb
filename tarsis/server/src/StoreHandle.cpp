// Store access and failure results shared by the Tarsis servers.
#include "StoreHandle.h"

#include "tarsis/DatabasePath.h"
#include "tarsis/SqliteStore.h"
#include "tarsis/StoreError.h"

#include "com/Bstr.h"
#include "com/server/CoClass.h"

#include <sys/stat.h>

#include <map>
#include <new>

namespace tarsis {
namespace {

constexpr ULONG kErrorFileNotFound = 2;
constexpr ULONG kErrorBadFormat = 11;
constexpr ULONG kErrorLockViolation = 33;
constexpr ULONG kErrorCannotMake = 82;
constexpr ULONG kErrorDiskFull = 112;
constexpr ULONG kErrorFileCorrupt = 1392;

HRESULT resultFor(StoreError::Kind kind)
{
    switch (kind) {
    case StoreError::Kind::Busy:
        return HRESULT_FROM_WIN32(kErrorLockViolation);
    case StoreError::Kind::Full:
        return HRESULT_FROM_WIN32(kErrorDiskFull);
    case StoreError::Kind::ReadOnly:
        return E_ACCESSDENIED;
    case StoreError::Kind::CannotCreate:
        return HRESULT_FROM_WIN32(kErrorCannotMake);
    case StoreError::Kind::Missing:
        return HRESULT_FROM_WIN32(kErrorFileNotFound);
    case StoreError::Kind::Damaged:
        return HRESULT_FROM_WIN32(kErrorFileCorrupt);
    case StoreError::Kind::Incompatible:
        return HRESULT_FROM_WIN32(kErrorBadFormat);
    default:
        return E_FAIL;
    }
}

} // namespace

StoreHandle::Shared& StoreHandle::resolve()
{
    if (m_shared)
        return *m_shared;
    static std::mutex mutex;
    static std::map<std::string, std::shared_ptr<Shared>> byPath;
    std::string path = defaultDatabasePath();
    std::lock_guard lock(mutex);
    auto& slot = byPath[path];
    if (!slot) {
        slot = std::make_shared<Shared>();
        slot->path = path;
    }
    m_shared = slot;
    return *m_shared;
}

TarsisStore& StoreHandle::Shared::current(bool checkFile)
{
    struct stat info {};
    if (store && !checkFile)
        return *store;
    if (store && ::stat(path.c_str(), &info) == 0 &&
        file == std::make_pair(info.st_dev, info.st_ino))
        return *store;
    store.reset();
    auto opened = openSqliteStore(path, OpenMode::CreateIfMissing);
    if (::stat(path.c_str(), &info) != 0)
        throw StoreError(StoreError::Kind::Failed,
                         "Tarsis database " + path + " vanished while it was opened");
    file = {info.st_dev, info.st_ino};
    store = std::move(opened);
    return *store;
}

LONG failureResult(REFCLSID clsid, REFIID iid, HRESULT hr, const std::string& text)
{
    return comserver::reportError(clsid, std::string_view(text), iid, hr);
}

LONG currentFailureResult(REFCLSID clsid, REFIID iid)
{
    try {
        throw;
    } catch (const StoreError& e) {
        return failureResult(clsid, iid, resultFor(e.kind()), e.what());
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::exception& e) {
        return failureResult(clsid, iid, E_FAIL, e.what());
    } catch (...) {
        return E_UNEXPECTED;
    }
}

std::string textOf(BSTR bstr)
{
    return narrowFromBstr(bstr);
}

HRESULT putText(BSTR* out, const std::string& text)
{
    if (!out)
        return E_POINTER;
    BSTR copy = bstrFromNarrow(text);
    if (!copy)
        return E_OUTOFMEMORY;
    SysFreeString(*out);
    *out = copy;
    return S_OK;
}

} // namespace tarsis
