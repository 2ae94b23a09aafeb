// AmbrelLib: the identity of the Ambrel record converter server's class
// and its own interface. The converter is driven through IVLMRConvert
// (HalcyraLib.h); its own interface declares no methods.
#pragma once

#include "com/Guid.h"
#include "com/Interfaces.h"

inline constexpr GUID LIBID_AMBRELLib = guidOf("5488C4F2-F999-11D2-A400-00A0249F4DED");
inline constexpr CLSID CLSID_AmbrelConvert = guidOf("5488C4F3-F999-11D2-A400-00A0249F4DED");
inline constexpr IID IID_IAmbrelConvert = guidOf("5488C4F1-F999-11D2-A400-00A0249F4DED");

// Dual.
struct IAmbrelConvert : IDispatch {};
COM_DECLARE_IID(IAmbrelConvert, IID_IAmbrelConvert);
