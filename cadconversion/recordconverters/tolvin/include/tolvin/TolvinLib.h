// TolvinLib: the identity of the Tolvin record converter server's class
// and its own interface. The converter is driven through IVLMRConvert
// (HalcyraLib.h); its own interface declares no methods.
#pragma once

#include "com/Guid.h"
#include "com/Interfaces.h"

inline constexpr GUID LIBID_TOLVINLib = guidOf("1901D32B-F351-11D2-A3F9-00A0249F4DED");
inline constexpr CLSID CLSID_TolvinConvert = guidOf("641781E8-F65F-11D2-A3FB-00A0249F4DED");
inline constexpr IID IID_ITolvinConvert = guidOf("641781E7-F65F-11D2-A3FB-00A0249F4DED");

// Dual.
struct ITolvinConvert : IDispatch {};
COM_DECLARE_IID(ITolvinConvert, IID_ITolvinConvert);
