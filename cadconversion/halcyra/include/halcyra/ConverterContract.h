// The converter contract: IVLMRConvert and IVLMRMultConvert as the type
// library HalcyraLib describes them, once. The part-model server builds its
// library from these descriptions; every converter server declares
// halcyraConverterLibrary() as a second type-library resource so that its
// converter classes answer IDispatch calls (the part-model server registers
// HalcyraLib, a converter server never does). A converter server:
//
//   #include "halcyra/ConverterContract.h"
//
//   class CMyConvert : public CComObjectRootEx<CComSingleThreadModel>,
//                      public CComCoClass<CMyConvert, &CLSID_MyConvert>,
//                      public ISupportErrorInfoImpl<&IID_IMyConvert, &IID_IVLMRConvert>,
//                      public IDispatchImpl<IMyConvert, &IID_IMyConvert, &LIBID_MyLib, 1, 0>,
//                      public IVLMRConvertDispatch {   // + IVLMRMultConvertDispatch
//       BEGIN_COM_MAP(CMyConvert)
//           ...
//           COM_INTERFACE_ENTRY(IVLMRConvert)
//       END_COM_MAP()
//       BEGIN_CATEGORY_MAP(CMyConvert)
//           IMPLEMENTED_CATEGORY(CATID_VelmoraCadConversion)
//       END_CATEGORY_MAP()
//       ...
//   };
//
//   TYPELIB_RESOURCE(1, myTypeLibrary)              // the server's own library
//   TYPELIB_RESOURCE(2, halcyraConverterLibrary)    // dispatch of IVLMRConvert
//
// Header-only; the module links `comserver` (and `halcyra_interfaces`).
#pragma once

#include "halcyra/HalcyraLib.h"

#include "com/server/DispatchImpl.h"
#include "com/server/TypeLibrary.h"

#include <utility>
#include <vector>

// IDispatch of the two converter interfaces, served from HalcyraLib 1.0.
using IVLMRConvertDispatch =
    IDispatchImpl<IVLMRConvert, &IID_IVLMRConvert, &LIBID_HALCYRALib, 1, 0>;
using IVLMRMultConvertDispatch =
    IDispatchImpl<IVLMRMultConvert, &IID_IVLMRMultConvert, &LIBID_HALCYRALib, 1, 0>;

inline comserver::InterfaceDesc convertInterfaceDescription()
{
    using namespace comserver;
    return dualInterface<IVLMRConvert>(
        "IVLMRConvert", "IVLMRConvert Interface",
        {dispMethod<&IVLMRConvert::SetFile>(1, "SetFile", {"bstrFilename"}),
         dispMethod<&IVLMRConvert::ReadPart>(2, "ReadPart",
                                             {"ppIUnkCADPart", "bIsMetric", "bIsToolMetric"}),
         dispPropGet<&IVLMRConvert::get_ConversionName>(3, "ConversionName", {"pVal"})});
}

inline comserver::InterfaceDesc multConvertInterfaceDescription()
{
    using namespace comserver;
    return dualInterface<IVLMRMultConvert>(
        "IVLMRMultConvert", "IVLMRMultConvert Interface",
        {dispMethod<&IVLMRMultConvert::ReadMult>(1, "ReadMult", {"ppIUnkCADMult"})});
}

// HalcyraLib 1.0 with the given interfaces and classes.
inline comserver::TypeLibrary halcyraLibrary(std::vector<comserver::InterfaceDesc> interfaces,
                                             std::vector<comserver::CoClassDesc> coclasses = {})
{
    return comserver::TypeLibrary{
        LIBID_HALCYRALib,    1, 0, "HalcyraLib", "Halcyra 1.0 Type Library", std::move(interfaces),
        std::move(coclasses)};
}

// HalcyraLib as a converter server declares it: the two converter
// interfaces only, for dispatching.
inline const comserver::TypeLibrary& halcyraConverterLibrary()
{
    static const comserver::TypeLibrary library =
        halcyraLibrary({convertInterfaceDescription(), multConvertInterfaceDescription()});
    return library;
}
