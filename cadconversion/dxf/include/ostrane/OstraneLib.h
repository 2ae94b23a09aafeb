// OstraneLib: the identities of the DXF converter server Ostrane, its one
// class VLMROstrane and that class's own interface. The converter is driven
// through IVLMRConvert (HalcyraLib.h); IVLMROstrane declares no methods and
// only names the class in the type library.
#pragma once

#include "com/Guid.h"
#include "com/Interfaces.h"

inline constexpr GUID LIBID_OstraneLib = guidOf("1CEDDF51-A301-4A59-933C-7B64C343F8F8");

inline constexpr CLSID CLSID_VLMROstrane = guidOf("BBD777CF-8D0C-4FAB-BE69-33E519004C07");
inline constexpr IID IID_IVLMROstrane = guidOf("94CD9EFC-298E-448D-AE08-788CAA3EAFEC");

// The server's AppID (registered under the name "Ostrane" and the key
// "Ostrane.DLL"; the class names it too).
inline constexpr GUID APPID_Ostrane = guidOf("7A43489B-1658-41EF-A9CF-1B874C84989A");

// Dual, derived from IDispatch, no methods of its own.
struct IVLMROstrane : IDispatch {};
COM_DECLARE_IID(IVLMROstrane, IID_IVLMROstrane);
