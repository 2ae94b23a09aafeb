// The test server module: object map, exports with a registration step of
// its own (creating the test category), type library and string table.
#include "TestGadget.h"
#include "TestWidget.h"

#include "com/Runtime.h"

#include <cstring>

BEGIN_OBJECT_MAP(ObjectMap)
    OBJECT_ENTRY(CLSID_TestWidget, CTestWidget)
    OBJECT_ENTRY(CLSID_TestGadget, CTestGadget)
END_OBJECT_MAP()

CComModule _Module(ObjectMap);

BEGIN_STRING_TABLE(TestServerStrings)
    STRING_ENTRY(IDS_WIDGET_TITLE, "Test Widget")
END_STRING_TABLE()

static const comserver::TypeLibrary& testServerLibrary()
{
    using namespace comserver;
    static const TypeLibrary library{
        LIBID_TestServerLib,
        1,
        0,
        "TestServerLib",
        "TestServer 1.0 Type Library",
        {dualInterface<ITestWidget>(
             "ITestWidget", "ITestWidget Interface",
             {dispMethod<&ITestWidget::Add>(1, "Add", {"nLeft", "nRight", "pnSum"}, retval),
              dispMethod<&ITestWidget::Scale>(2, "Scale", {"dValue", "nFactor", "pdScaled"}),
              dispMethod<&ITestWidget::Join>(3, "Join", {"bstrLeft", "bstrRight", "pbstrJoined"},
                                             retval),
              dispPropGet<&ITestWidget::get_Name>(4, "Name", {"pbstrName"}),
              dispPropPut<&ITestWidget::put_Name>(4, "Name"),
              dispMethod<&ITestWidget::Bytes>(5, "Bytes", {"cUnsigned", "cSigned", "pnSum"},
                                              retval),
              dispMethod<&ITestWidget::Fail>(6, "Fail", {"bstrText", "nResult"}),
              dispMethod<&ITestWidget::FailPlain>(7, "FailPlain", {"nResult"}),
              dispMethod<&ITestWidget::Identity>(8, "Identity", {"pUnknown", "ppUnknown"}),
              dispPropGet<&ITestWidget::get_Title>(9, "Title")}),
         dualInterface<ITestCounter>("ITestCounter", "ITestCounter Interface",
                                     {dispMethod<&ITestCounter::Increment>(1, "Increment", {"nBy"}),
                                      dispPropGet<&ITestCounter::get_Count>(2, "Count")}),
         customInterface<ITestGadget>("ITestGadget", "ITestGadget Interface")},
        {coClass(CLSID_TestWidget, "TestWidget", {IID_ITestWidget, IID_ITestCounter}),
         coClass(CLSID_TestGadget, "TestGadget", {IID_ITestGadget})}};
    return library;
}
TYPELIB_RESOURCE(1, testServerLibrary)

COMSERVER_EXPORT_CLASS_OBJECTS(_Module)

// Creates the test category first, as a server that owns a category does;
// its result does not stop the registration.
COMSERVER_STDAPI DllRegisterServer()
{
    ICatRegister* categories = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_ICatRegister, reinterpret_cast<void**>(&categories)))) {
        CATEGORYINFO info{CATID_TestServers, 0x409, {}};
        const char16_t description[] = u"Test Servers";
        std::memcpy(info.szDescription, description, sizeof description);
        categories->RegisterCategories(1, &info);
        categories->Release();
    }
    return _Module.RegisterServer(TRUE);
}

COMSERVER_STDAPI DllUnregisterServer()
{
    return _Module.UnregisterServer(TRUE);
}
