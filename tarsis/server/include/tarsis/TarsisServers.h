// Identities of the Tarsis automation servers: class IDs, dispatch
// interface IDs and DISPIDs, as their callers use them. The servers are
// dispatch-only: every method is called through IDispatch::Invoke with
// DISPATCH_METHOD, takes the arguments listed in its comment and answers a
// VT_I4 result (0 done, negative a failure, 1 "not found" where so noted).
#pragma once

#include "com/Guid.h"
#include "com/Types.h"

namespace tarsis {

inline constexpr GUID LIBID_TarsisLib = guidOf("9A14371A-32BD-4021-9CEA-65115CD829DD");

inline constexpr CLSID CLSID_TarsisPartWriter = guidOf("D9FD2771-23CD-11D2-AA41-006008A85237");
inline constexpr CLSID CLSID_TarsisShapeServer = guidOf("34773D21-227C-11D2-AA3F-006008A85237");
inline constexpr CLSID CLSID_TarsisMultWriter = guidOf("6FBFB4C1-BFC7-11D4-984C-006008A85237");

inline constexpr IID IID_ITarsisPartWriter = guidOf("848171C1-23CC-11D2-AA41-006008A85237");
inline constexpr IID IID_ITarsisShapeServer = guidOf("5F773EB1-2B14-11D2-AA49-006008A85237");
inline constexpr IID IID_ITarsisMultWriter = guidOf("26F966C0-BFC7-11D4-984C-006008A85237");

// ITarsisPartWriter. Types: I2 SHORT, I4 LONG, R8 double, BSTR.
namespace partwriter {
// BSTR job, group, mark; I2 quantity; R8 length; BSTR section, description,
// grade, text1; I4 number; BSTR text2, text3; I2 measuring system, part kind.
inline constexpr DISPID CreatePart = 1;
// R8 start X, start U, rise, run; BSTR direction X, direction U, pattern.
inline constexpr DISPID SetRefPlane = 2;
// Holes: R8 X, U, XInc, UInc; I2 NumX, NumU; R8 tool size 1, 2; BSTR shape;
// I2 orientation. The Ex forms add I2 tool measuring system.
inline constexpr DISPID AddWebHole = 3, AddTFNearHole = 5, AddTFFarHole = 7, AddTFNearFarHole = 9,
                        AddBFNearHole = 0xb, AddBFFarHole = 0xd, AddBFNearFarHole = 0xf,
                        AddWeb2Hole = 0x1d;
inline constexpr DISPID AddWebHoleEx = 0x1e, AddTFNearHoleEx = 0x1f, AddTFFarHoleEx = 0x20,
                        AddTFNearFarHoleEx = 0x21, AddBFNearHoleEx = 0x22, AddBFFarHoleEx = 0x23,
                        AddBFNearFarHoleEx = 0x24, AddWeb2HoleEx = 0x25;
// Marks: R8 X, U, XInc, UInc; I2 NumX, NumU.
inline constexpr DISPID AddWebMark = 4, AddTFNearMark = 6, AddTFFarMark = 8, AddTFNearFarMark = 0xa,
                        AddBFNearMark = 0xc, AddBFFarMark = 0xe, AddBFNearFarMark = 0x10,
                        AddWebHiddenMark = 0x12;
// Stencils: R8 X, U; BSTR text.
inline constexpr DISPID AddWebStencil = 0x19, AddTFStencil = 0x1a, AddBFStencil = 0x1b;
// No arguments.
inline constexpr DISPID SavePart = 0x11;
} // namespace partwriter

// ITarsisShapeServer.
namespace shapeserver {
// BSTR section, description; out R8 depth, web thickness, flange width,
// flange thickness, surface, weight; out BSTR formal name. 1: unknown shape.
inline constexpr DISPID LookupShape = 3;
} // namespace shapeserver

// ITarsisMultWriter.
namespace multwriter {
// BSTR job, group, mark; I2 number, quantity; R8 length, kerf; BSTR section,
// description, grade, machine, text1, text2; I2 measuring system.
inline constexpr DISPID CreateMult = 1;
inline constexpr DISPID SaveMult = 3; // no arguments
// BSTR job, group, mark; I4 quantity.
inline constexpr DISPID AddMultPart = 4;
// BSTR job, group, mark; out BSTR section, description. 1: no such part.
inline constexpr DISPID GetMultSectionAndDescription = 5;
// BSTR machine. 1: unknown machine.
inline constexpr DISPID CheckMachine = 6;
// BSTR job, group, mark. 1: no such part.
inline constexpr DISPID CheckPart = 7;
} // namespace multwriter

} // namespace tarsis
