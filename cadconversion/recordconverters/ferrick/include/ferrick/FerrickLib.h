// FerrickLib: the identity of the Ferrick record converter server's class
// and its own interface. The converter is driven through IVLMRConvert
// (HalcyraLib.h); its own interface declares no methods.
#pragma once

#include "com/Guid.h"
#include "com/Interfaces.h"

inline constexpr GUID LIBID_FERRICKLib = guidOf("12086D71-932B-11D6-A8FA-00A0CC26575D");
inline constexpr CLSID CLSID_FerrickConvert = guidOf("3EEA29C2-932C-11D6-A8FA-00A0CC26575D");
inline constexpr IID IID_IFerrickConvert = guidOf("3EEA29C1-932C-11D6-A8FA-00A0CC26575D");

// Dual.
struct IFerrickConvert : IDispatch {};
COM_DECLARE_IID(IFerrickConvert, IID_IFerrickConvert);
