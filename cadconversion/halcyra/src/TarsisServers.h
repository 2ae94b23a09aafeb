// The outside Tarsis automation servers that the part objects write
// through: their class IDs, their dispatch interfaces and the DISPIDs of
// the methods called. Every method is called with DISPATCH_METHOD and
// answers a 32-bit integer.
#pragma once

#include "com/Guid.h"
#include "com/Interfaces.h"

inline constexpr CLSID CLSID_TarsisPartWriter = guidOf("D9FD2771-23CD-11D2-AA41-006008A85237");
inline constexpr CLSID CLSID_TarsisShapeServer = guidOf("34773D21-227C-11D2-AA3F-006008A85237");
inline constexpr CLSID CLSID_TarsisMultWriter = guidOf("6FBFB4C1-BFC7-11D4-984C-006008A85237");

inline constexpr IID IID_ITarsisPartWriter = guidOf("848171C1-23CC-11D2-AA41-006008A85237");
inline constexpr IID IID_ITarsisShapeServer = guidOf("5F773EB1-2B14-11D2-AA49-006008A85237");
inline constexpr IID IID_ITarsisMultWriter = guidOf("26F966C0-BFC7-11D4-984C-006008A85237");

// Reached only through IDispatch::Invoke.
struct ITarsisPartWriter : IDispatch {};
struct ITarsisShapeServer : IDispatch {};
struct ITarsisMultWriter : IDispatch {};
COM_DECLARE_IID(ITarsisPartWriter, IID_ITarsisPartWriter);
COM_DECLARE_IID(ITarsisShapeServer, IID_ITarsisShapeServer);
COM_DECLARE_IID(ITarsisMultWriter, IID_ITarsisMultWriter);

// The shape server is asked for in every context but the remote handler.
inline constexpr DWORD kShapeServerContext = 0x17;

namespace tarsis_part_writer {
// (job, group, mark: BSTR; quantity: I2; length: R8; section, description,
// grade, text: BSTR; number: I4; text, text: BSTR; measuring system, part
// kind: I2)
inline constexpr DISPID CreatePart = 1;
// (R8 x4; BSTR x3, one character each)
inline constexpr DISPID SetRefPlane = 2;
inline constexpr DISPID SavePart = 0x11;

// A hole: (X, U, XInc, UInc: R8; NumX, NumU: I2; ToolSize1, ToolSize2: R8;
// shape: BSTR; orientation: I2), the Ex form then the tool's measuring
// system (I2). A mark: (X, U, XInc, UInc: R8; NumX, NumU: I2).
inline constexpr DISPID AddWebHole = 3;
inline constexpr DISPID AddWebMark = 4;
inline constexpr DISPID AddTFNearHole = 5;
inline constexpr DISPID AddTFNearMark = 6;
inline constexpr DISPID AddTFFarHole = 7;
inline constexpr DISPID AddTFFarMark = 8;
inline constexpr DISPID AddTFNearFarHole = 9;
inline constexpr DISPID AddTFNearFarMark = 0xa;
inline constexpr DISPID AddBFNearHole = 0xb;
inline constexpr DISPID AddBFNearMark = 0xc;
inline constexpr DISPID AddBFFarHole = 0xd;
inline constexpr DISPID AddBFFarMark = 0xe;
inline constexpr DISPID AddBFNearFarHole = 0xf;
inline constexpr DISPID AddBFNearFarMark = 0x10;
inline constexpr DISPID AddWebHiddenMark = 0x12;
inline constexpr DISPID AddWeb2Hole = 0x1d;
inline constexpr DISPID AddWebHoleEx = 0x1e;
inline constexpr DISPID AddTFNearHoleEx = 0x1f;
inline constexpr DISPID AddTFFarHoleEx = 0x20;
inline constexpr DISPID AddTFNearFarHoleEx = 0x21;
inline constexpr DISPID AddBFNearHoleEx = 0x22;
inline constexpr DISPID AddBFFarHoleEx = 0x23;
inline constexpr DISPID AddBFNearFarHoleEx = 0x24;
inline constexpr DISPID AddWeb2HoleEx = 0x25;

// A stencil: (X, U: R8; text: BSTR).
inline constexpr DISPID AddWebStencil = 0x19;
inline constexpr DISPID AddTFStencil = 0x1a;
inline constexpr DISPID AddBFStencil = 0x1b;
} // namespace tarsis_part_writer

namespace tarsis_shape_server {
// (section, description: BSTR; out R8 x6; out BSTR). 1: undefined section.
// The six numbers come in inches whatever the catalog row's own unit:
// depth, web thickness, flange width, flange thickness (inches), surface
// (square feet per foot), weight (pounds per foot).
inline constexpr DISPID LookupShape = 3;
} // namespace tarsis_shape_server

inline constexpr double kMillimetresPerInch = 25.4;

namespace tarsis_mult_writer {
// (job, group, mark: BSTR; I2, quantity: I2; length, kerf: R8; section,
// description, grade, machine, text, text: BSTR; measuring system: I2)
inline constexpr DISPID CreateMult = 1;
inline constexpr DISPID SaveMult = 3;
// (job, group, mark: BSTR; quantity: I4)
inline constexpr DISPID AddMultPart = 4;
// (job, group, mark: BSTR; out section, out description: BSTR)
inline constexpr DISPID GetMultSectionAndDescription = 5;
// (machine: BSTR); nonzero: not known.
inline constexpr DISPID CheckMachine = 6;
// (job, group, mark: BSTR); nonzero: not known.
inline constexpr DISPID CheckPart = 7;
} // namespace tarsis_mult_writer
