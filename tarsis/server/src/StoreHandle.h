// What the three servers share: the database each object opens on first
// use, the translation of every failure into a negative result with error
// info (no C++ exception leaves a server method), and BSTR text.
#pragma once

#include "tarsis/TarsisStore.h"

#include "com/Types.h"

#include <memory>
#include <string>

namespace tarsis {

// The database named by TARSIS_DATABASE (or the default path), created with
// its schema and seed on first use. Opened when first needed and kept for
// the object's life; a failed open is tried again at the next call.
class StoreHandle {
public:
    TarsisStore& get();

private:
    std::unique_ptr<TarsisStore> m_store;
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
LONG guardedResult(REFCLSID clsid, REFIID iid, Body&& body) {
    try {
        return body();
    } catch (...) {
        return currentFailureResult(clsid, iid);
    }
}

}  // namespace tarsis
