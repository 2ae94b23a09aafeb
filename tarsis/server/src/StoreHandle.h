// What the three servers share: the database each object opens on first
// use, the translation of every failure into a negative result with error
// info (no C++ exception leaves a server method), and BSTR text.
#pragma once

#include "tarsis/TarsisStore.h"

#include "com/Types.h"

#include <sys/types.h>

#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace tarsis {

// The database named by TARSIS_DATABASE (or the default path), created with
// its schema and built-in catalog on first use. One connection per database file serves
// every object of the module in this process and stays open until the module
// unloads, so that a writer made for each part costs no connection of its
// own; calls on it are serialised. When the file at the path is no longer
// the one opened (deleted, or replaced), the next call opens the new one.
class StoreHandle {
public:
    // Runs body(TarsisStore&) and answers its result; throws StoreError.
    template <class Body>
    auto use(Body&& body)
    {
        Shared& shared = resolve();
        std::lock_guard lock(shared.mutex);
        return body(shared.current());
    }

    struct Shared {
        std::string path;
        std::mutex mutex;
        std::unique_ptr<TarsisStore> store;
        std::pair<dev_t, ino_t> file{};
        TarsisStore& current(); // with mutex held
    };

private:
    Shared& resolve(); // the path is taken at the object's first call

    std::shared_ptr<Shared> m_shared;
};

// Runs body, which answers the method's result. A failure (StoreError, or
// any other exception) becomes a negative result, and its text the thread's
// error info for clsid and iid.
template <class Body>
LONG guardedResult(REFCLSID clsid, REFIID iid, Body&& body);

// The result of a failure, with its text set as error info.
LONG failureResult(REFCLSID clsid, REFIID iid, HRESULT hr, const std::string& text);
// The result for the exception being handled.
LONG currentFailureResult(REFCLSID clsid, REFIID iid);

// UTF-8 text of a BSTR (a null BSTR is empty), and back.
std::string textOf(BSTR bstr);
// Replaces *out (freeing what it held) with a copy of text.
HRESULT putText(BSTR* out, const std::string& text);

template <class Body>
LONG guardedResult(REFCLSID clsid, REFIID iid, Body&& body)
{
    try {
        return body();
    } catch (...) {
        return currentFailureResult(clsid, iid);
    }
}

} // namespace tarsis
