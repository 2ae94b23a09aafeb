// What the recording double of the Tarsis servers shares with the tests:
// every call it receives, rendered as text, and the answers it is scripted
// to give. The double is a server module; a test reaches this state by
// loading the same module and asking for tarsisRecording().
//
// A call reads "Name(arg, ...)": BSTRs as "text" or null, I2 values with
// the suffix s, I4 values with L, R8 values as plain numbers, out-values
// as &r8 or &bstr. A call with unexpected flags or named arguments is
// rendered with a leading "!".
#pragma once

#include "com/Types.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

struct TarsisRecording {
    std::vector<std::string> calls;

    // Scripted answers by method name; 0 when none is given.
    std::map<std::string, LONG> results;
    // The error info a method sets with its scripted (negative) result, as
    // a failing Tarsis server describes its failure.
    std::map<std::string, std::u16string> errorTexts;
    // Methods whose Invoke itself fails with this HRESULT.
    std::map<std::string, HRESULT> invokeFailures;
    // The six numbers and the text LookupShape hands out.
    double lookupNumbers[6] = {0, 0, 0, 0, 0, 0};
    std::optional<std::u16string> lookupText = u"formal";
    // What GetMultSectionAndDescription hands out.
    std::u16string multSection = u"W";
    std::u16string multDescription = u"W8X10";

    // Servers of the double alive now (every one must be released), and
    // made since the last reset.
    int liveServers = 0;
    int createdServers = 0;

    void reset() { *this = TarsisRecording(); }
};

extern "C" TarsisRecording* tarsisRecording();
