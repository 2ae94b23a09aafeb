// MachineFileVersion: the three versions of the machine maker's part file
// (3.0, 2.0 and 1.0) and every point in which they differ. The reader does
// everything else alike for the three; what one version does differently
// stands in its row below and nowhere else.
#pragma once

#include <array>
#include <cstring>

// How a hole line is written.
enum class HoleLineForm {
    // 3.0: two numbers, X and Y.FFTT, in micrometres; text after them skips
    // the line.
    TwoNumbers,
    // 2.0: one token XXXXXXYYYYYYY.FFTT, micrometres: X, exactly seven
    // digits of Y, a point, the face and tool code.
    PackedMicrometres,
    // 1.0: one token XXXXXYYYYFT, tenths of a millimetre: X, four digits of
    // Y, a face digit and a tool digit.
    PackedTenths,
};

// The call that places a mark on the top flange of an angle-like section.
enum class TopFlangeMark { Near, NearFar };

// Section names of one profile family, compared exactly.
struct SectionNames {
    std::array<const char*, 4> names{}; // unused entries are null

    bool contains(const char* section) const
    {
        for (const char* name : names)
            if (name && std::strcmp(name, section) == 0)
                return true;
        return false;
    }
};

struct MachineFileVersion {
    const char* conversionName;
    // The source name that CLog entries of this version's reader carry.
    const char* sourceFile;

    // Header.
    bool skipsRestOfDesignationLine; // else the profile code may follow on the line
    bool ignoredValuesAreIntegers;   // the three unused header values
    bool roundsHeaderToSixteenths;   // dimensions and length, after the division by 254
    bool skipsRestOfToolLine;        // else the hole-line count may follow on the line

    // Hole lines.
    HoleLineForm holeLines;
    int faceUnit;            // face codes are 1, 2, 3 times this: web, bottom, top flange
    int toolUnit;            // a tool code is the tool number times this (plus a mirror digit)
    double positionsPerInch; // 25400 micrometres or 254 tenths of a millimetre
    bool roundsPositionsToSixteenths;
    bool mirrorsX; // a tool code x1 measures X from the far end

    // Profile families beyond the W family ("W", "w"), which all share.
    SectionNames channelHoles;
    SectionNames channelMarks; // empty: marks on channels are skipped
    SectionNames angleHoles;
    SectionNames angleMarks;
    TopFlangeMark angleTopFlangeMark;
};

inline constexpr SectionNames kWideFlangeNames{{"W", "w"}};

inline constexpr MachineFileVersion kVersion30{
    .conversionName = "Tobrenn Ver : 3.0",
    .sourceFile = "convert",
    .skipsRestOfDesignationLine = true,
    .ignoredValuesAreIntegers = true,
    .roundsHeaderToSixteenths = false,
    .skipsRestOfToolLine = true,
    .holeLines = HoleLineForm::TwoNumbers,
    .faceUnit = 10,
    .toolUnit = 10,
    .positionsPerInch = 25400.0,
    .roundsPositionsToSixteenths = false,
    .mirrorsX = true,
    .channelHoles = {{"C", "c", "MC", "mc"}},
    .channelMarks = {},
    .angleHoles = {{"L", "l", "FB", "PL"}},
    .angleMarks = {{"L", "l", "FB"}},
    .angleTopFlangeMark = TopFlangeMark::Near,
};

inline constexpr MachineFileVersion kVersion20{
    .conversionName = "Tobrenn Ver : 2.0",
    .sourceFile = "oldconvert",
    .skipsRestOfDesignationLine = false,
    .ignoredValuesAreIntegers = false,
    .roundsHeaderToSixteenths = false,
    .skipsRestOfToolLine = false,
    .holeLines = HoleLineForm::PackedMicrometres,
    .faceUnit = 10,
    .toolUnit = 10,
    .positionsPerInch = 25400.0,
    .roundsPositionsToSixteenths = false,
    .mirrorsX = true,
    .channelHoles = {{"C", "c"}},
    .channelMarks = {},
    .angleHoles = {{"L", "l", "FB", "PL"}},
    .angleMarks = {{"L", "l", "FB", "PL"}},
    .angleTopFlangeMark = TopFlangeMark::NearFar,
};

inline constexpr MachineFileVersion kVersion10{
    .conversionName = "Tobrenn Ver : 1.0",
    .sourceFile = "coldestconver",
    .skipsRestOfDesignationLine = false,
    .ignoredValuesAreIntegers = false,
    .roundsHeaderToSixteenths = true,
    .skipsRestOfToolLine = false,
    .holeLines = HoleLineForm::PackedTenths,
    .faceUnit = 1,
    .toolUnit = 1,
    .positionsPerInch = 254.0,
    .roundsPositionsToSixteenths = true,
    .mirrorsX = false,
    .channelHoles = {{"C", "c", "MC", "mc"}},
    .channelMarks = {{"C", "c", "MC", "mc"}},
    .angleHoles = {{"L", "l", "FB", "PL"}},
    .angleMarks = {{"L", "l", "FB"}},
    .angleTopFlangeMark = TopFlangeMark::Near,
};
