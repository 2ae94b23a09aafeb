// A fixture for driving the Tarsis servers as their callers do: a temporary
// registry with the module registered, a temporary database (which
// TARSIS_DATABASE names), creation by
// class ID with the callers' class contexts, and Invoke by DISPID.
#pragma once

#include "StoreTestSupport.h"
#include "tarsis/SqliteStore.h"
#include "tarsis/TarsisServers.h"
#include "testing/TemporaryDatabase.h"
#include "testing/TemporaryFolder.h"
#include "testing/TemporaryRegistry.h"

#include "com/ComPtr.h"
#include "com/ComVariant.h"
#include "com/Runtime.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tarsis::testing {

using testsupport::readFile;
using testsupport::writeFile;

// A by-reference (out) argument.
CComVariant byRef(double* value);
CComVariant byRef(BSTR* value);

struct CallResult {
    HRESULT hr;  // of Invoke
    LONG result; // the method's VT_I4 result (meaningful when hr is S_OK)
    VARTYPE resultType;
};

class ServerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // CoCreateInstance for IUnknown, OleRun, QueryInterface for IDispatch.
    static CComPtr<IDispatch> create(REFCLSID clsid, DWORD context);
    static CComPtr<IDispatch> partWriter()
    {
        return create(CLSID_TarsisPartWriter, CLSCTX_LOCAL_SERVER);
    }
    static CComPtr<IDispatch> shapeServer() { return create(CLSID_TarsisShapeServer, 0x17); }
    static CComPtr<IDispatch> multWriter()
    {
        return create(CLSID_TarsisMultWriter, CLSCTX_LOCAL_SERVER);
    }

    // Arguments in declaration order; Invoke gets them reversed.
    static CallResult invoke(IDispatch* object, DISPID dispid, std::vector<CComVariant> args);
    // Invoke that must succeed; answers the method's result.
    static LONG call(IDispatch* object, DISPID dispid, std::vector<CComVariant> args);

    // The thread's error text, taken from its error info.
    static std::string errorText();

    std::unique_ptr<TarsisStore> store() const
    {
        return openSqliteStore(m_database.path(), OpenMode::CreateIfMissing);
    }
    const std::string& databasePath() const { return m_database.path(); }
    // Points TARSIS_DATABASE at another file for the rest of the test.
    void useDatabase(const std::string& path);

private:
    testsupport::TemporaryRegistry m_registry{"tarsis-server-test"};
    testsupport::TemporaryDatabase m_database;
    void* m_module = nullptr;
};

// The arguments of CreatePart for a key, the other values fixed.
std::vector<CComVariant> createPartArgs(const char* job, const char* group, const char* mark);

} // namespace tarsis::testing
