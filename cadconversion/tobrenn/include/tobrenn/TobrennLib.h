// TobrennLib: the identities of the machine-file converter server's
// classes and their own interfaces. The converters are driven through
// IVLMRConvert (HalcyraLib.h); their own interfaces declare no methods and
// only name the classes in the type library.
#pragma once

#include "com/Guid.h"
#include "com/Interfaces.h"

inline constexpr GUID LIBID_TOBRENNLib = guidOf("E4062585-770C-11D4-ACE0-006008A85237");

// Version 3.0 of the machine part file.
inline constexpr CLSID CLSID_Convert = guidOf("E4062593-770C-11D4-ACE0-006008A85237");
inline constexpr IID IID_IConvert = guidOf("E4062592-770C-11D4-ACE0-006008A85237");
// Version 2.0.
inline constexpr CLSID CLSID_OldConvert = guidOf("CFE434B6-78F2-11D4-ACE2-006008A85237");
inline constexpr IID IID_IOldConvert = guidOf("CFE434B5-78F2-11D4-ACE2-006008A85237");
// Version 1.0. The system's own names ("COldestConver"): keep them so.
inline constexpr CLSID CLSID_COldestConver = guidOf("C6DF1452-7EBD-11D4-ACF7-006008A85237");
inline constexpr IID IID_ICOldestConver = guidOf("C6DF1451-7EBD-11D4-ACF7-006008A85237");

// Dual.
struct IConvert : IDispatch {};
COM_DECLARE_IID(IConvert, IID_IConvert);

// Dual.
struct IOldConvert : IDispatch {};
COM_DECLARE_IID(IOldConvert, IID_IOldConvert);

// Dual.
struct ICOldestConver : IDispatch {};
COM_DECLARE_IID(ICOldestConver, IID_ICOldestConver);
