// Class IDs of the test converter module. It serves a part converter and a
// mult converter driven by a script file, and answers any class ID of the
// counting family {FA4E0000-0000-0000-0000-0000000000NN} with a converter
// named "Counted Converter NN", so that a test can install any number of
// converters by registry entries alone.
//
// Script lines, one read each:
//   part JOB GROUP MARK       a part (ICADPart2) holding these values
//   mult MARK                 a mult (ICADMult)
//   readfail TEXT             the read fails with TEXT as error info
//   savefail MARK TEXT        a part whose save fails with TEXT
//   gate PATH MARK            a part whose save creates PATH.waiting and
//                             waits until PATH exists
// The parts and mults append what they receive to the file named by the
// environment variable FAKE_CONVERTER_RECORD, one line per call.
#pragma once

#include "com/Guid.h"

inline constexpr CLSID CLSID_FakePartConverter = guidOf("FA4E1000-0000-4000-8000-000000000001");
inline constexpr CLSID CLSID_FakeMultConverter = guidOf("FA4E1000-0000-4000-8000-000000000002");

constexpr CLSID countedConverterClsid(unsigned char n)
{
    CLSID clsid = guidOf("FA4E0000-0000-0000-0000-000000000000");
    clsid.Data4[7] = n;
    return clsid;
}
