// LunkettLib: the identities of the DSTV converter server's classes and
// their own interfaces. The converters are driven through IVLMRConvert
// (HalcyraLib.h); their own interfaces declare no methods and only name
// the classes in the type library.
#pragma once

#include "com/Guid.h"
#include "com/Interfaces.h"

inline constexpr GUID LIBID_LUNKETTLib = guidOf("FBAB4E31-6964-11D5-927B-006008A85237");

inline constexpr CLSID CLSID_DSTVConvert1 = guidOf("FBAB4E40-6964-11D5-927B-006008A85237");
inline constexpr CLSID CLSID_DSTVConvertSDS6_336 = guidOf("9AE6D72D-A8C8-41C7-900A-3607285C127E");
inline constexpr CLSID CLSID_DSTVConvertSDSEarlyVersions =
    guidOf("0B11D6AA-02CB-4FB1-BD39-31F55707979B");
inline constexpr CLSID CLSID_StrucSoftDSTV = guidOf("78152908-0214-45F8-8A18-E64ACA4EB8CF");

inline constexpr IID IID_IDSTVConvert1 = guidOf("FBAB4E3F-6964-11D5-927B-006008A85237");
inline constexpr IID IID_IDSTVConvertSDS6_336 = guidOf("DD4D7159-A74A-451E-8EBA-1BF0452CBB0C");
inline constexpr IID IID_IDSTVConvertSDSEarlyVersions =
    guidOf("222F7EB4-9138-4B5F-BB08-3A7B3C93D7E6");
inline constexpr IID IID_IStrucSoftDSTV = guidOf("ED1745A4-9D2E-4AAA-848E-F554A2F12201");

// Dual.
struct IDSTVConvert1 : IDispatch {};
COM_DECLARE_IID(IDSTVConvert1, IID_IDSTVConvert1);

// Dual, not extensible.
struct IDSTVConvertSDS6_336 : IDispatch {};
COM_DECLARE_IID(IDSTVConvertSDS6_336, IID_IDSTVConvertSDS6_336);

// Dual, not extensible.
struct IDSTVConvertSDSEarlyVersions : IDispatch {};
COM_DECLARE_IID(IDSTVConvertSDSEarlyVersions, IID_IDSTVConvertSDSEarlyVersions);

// Derived from IUnknown.
struct IStrucSoftDSTV : IUnknown {};
COM_DECLARE_IID(IStrucSoftDSTV, IID_IStrucSoftDSTV);

inline constexpr CLSID CLSID_DSTVMultConvert = guidOf("2F73D331-D068-4E7B-89BE-842E44B226CC");
inline constexpr IID IID_IDSTVMultConvert = guidOf("230A9893-5400-4B42-9D2A-312E4494CB1F");

// Dual; the bar converter, also driven through IVLMRMultConvert.
struct IDSTVMultConvert : IDispatch {};
COM_DECLARE_IID(IDSTVMultConvert, IID_IDSTVMultConvert);
