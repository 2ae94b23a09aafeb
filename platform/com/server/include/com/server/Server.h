// The COM server framework: everything a server module includes.
//
// A server module is a cadconv_module() linking `comserver`. In outline:
//
//   // Widget.h ------------------------------------------------------------
//   class CWidget : public CComObjectRootEx<CComSingleThreadModel>,
//                   public CComCoClass<CWidget, &CLSID_Widget>,
//                   public ISupportErrorInfoImpl<&IID_IWidget>,
//                   public IDispatchImpl<IWidget, &IID_IWidget, &LIBID_WidgetLib, 1, 0> {
//   public:
//       DECLARE_REGISTRY_RESOURCEID(101)
//       DECLARE_NOT_AGGREGATABLE(CWidget)        // leave out: aggregatable
//       BEGIN_COM_MAP(CWidget)
//           COM_INTERFACE_ENTRY(IWidget)
//           COM_INTERFACE_ENTRY(ISupportErrorInfo)
//           COM_INTERFACE_ENTRY2(IDispatch, IWidget)
//       END_COM_MAP()
//       BEGIN_CATEGORY_MAP(CWidget)
//           IMPLEMENTED_CATEGORY(CATID_Widgets)
//       END_CATEGORY_MAP()
//       HRESULT FinalConstruct();                 // optional
//       void FinalRelease();                      // optional, before ~CWidget
//       HRESULT SetName(BSTR bstrName) override
//       {
//           if (!bstrName) return Error("no name", IID_IWidget, E_INVALIDARG);
//           ...
//       }
//   };
//
//   // Server.cpp ----------------------------------------------------------
//   BEGIN_OBJECT_MAP(ObjectMap)
//       OBJECT_ENTRY(CLSID_Widget, CWidget)
//   END_OBJECT_MAP()
//   CComModule _Module(ObjectMap);
//   TYPELIB_RESOURCE(1, widgetTypeLibrary)       // see TypeLibrary.h; registered
//   TYPELIB_RESOURCE(2, otherTypeLibrary)        // another server's library whose
//                                                // dual interfaces this one implements:
//                                                // dispatched, never registered here
//   BEGIN_STRING_TABLE(WidgetStrings)
//       STRING_ENTRY(100, "Widget")
//   END_STRING_TABLE()
//   COMSERVER_EXPORTS(_Module)                   // the four exports
//   // or, with a step of its own before registration:
//   COMSERVER_EXPORT_CLASS_OBJECTS(_Module)
//   COMSERVER_STDAPI DllRegisterServer()
//   {
//       createMyCategory();                      // result ignored
//       return _Module.RegisterServer(TRUE);
//   }
//   COMSERVER_STDAPI DllUnregisterServer() { return _Module.UnregisterServer(TRUE); }
//
//   // CMakeLists.txt ------------------------------------------------------
//   cadconv_module(widget Server.cpp Widget.cpp)
//   target_link_libraries(widget PRIVATE comserver)
//   cadconv_resources(widget REGISTRY 101 Widget.rgs)
//
// Widget.rgs is a registrar script (Registrar.h) using %MODULE%.
// LoadString(_Module.GetResourceInstance(), 100, buffer, size) reads the
// module's string table (Resources.h).
#pragma once

#include "com/server/CategoryMap.h"
#include "com/server/CoClass.h"
#include "com/server/ComObject.h"
#include "com/server/DispatchImpl.h"
#include "com/server/Module.h"
#include "com/server/ObjectRoot.h"
#include "com/server/Registrar.h"
#include "com/server/Resources.h"
#include "com/server/TypeLibrary.h"
