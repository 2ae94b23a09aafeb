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
// its schema and built-in catalog on first use. One connection per database
// file serves every object of the module in this process and stays open
// until the module unloads, so that a writer made for each part costs no
// connection of its own; calls on it are serialised.
//
// A write first makes sure that the file at the path is still the one
// opened (one stat): when it was deleted or replaced, the write goes into
// the new file, never into the old one, which nobody would find again.
// Reads skip that check: a read from a file replaced since the last write
// answers from the file that was opened, and loses nothing.
class StoreHandle {
public:
    // Runs body(TarsisStore&), which only reads, and answers its result;
    // throws StoreError.
    template <class Body>
    auto read(Body&& body)
    {
        Shared& shared = resolve();
        std::lock_guard lock(shared.mutex);
        return body(shared.current(false));
    }

    // As read, for a body that writes.
    template <class Body>
    auto write(Body&& body)
    {
        Shared& shared = resolve();
        std::lock_guard lock(shared.mutex);
        return body(shared.current(true));
    }

    struct Shared {
        std::string path;
        std::mutex mutex;
        std::unique_ptr<TarsisStore> store;
        std::pair<dev_t, ino_t> file{};
        // With mutex held; checkFile: reopen when the file was replaced.
        TarsisStore& current(bool checkFile);
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
