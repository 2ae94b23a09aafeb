// The hole lines of the three versions: face, side, position, tool and the
// profile families, as one table per version. The part is 20 inches long,
// its flange 10 inches wide (h = 5); the tool table gives each entry its
// own sizes, so the table index shows in every hole.
#include "ReaderFixture.h"

namespace {

const char* const kTools = "10 11 12 20 21 22 30X40 31X41 32X42";

RecordedOperation hole(const char* call, double x, double u, int index)
{
    static const double sizes[9][2] = {{10, 0}, {11, 0},  {12, 0},  {20, 0}, {21, 0},
                                       {22, 0}, {30, 40}, {31, 41}, {32, 42}};
    return {call, x, u, sizes[index][0] * kTenth, sizes[index][1] * kTenth, index < 6 ? "RD" : "SL",
            0};
}

RecordedOperation mark(const char* call, double x, double u)
{
    return {call, x, u, 0, 0, "", 0};
}

// Section by designation and profile code.
struct Section {
    const char* designation;
    const char* code;
};
const Section W{"W12X26", "B"};
const Section C{"C10X15.3", "C"};
const Section MC{"MC12X31", "MC"};
const Section L{"L4X3X1/2", "L"};
const Section PL{"PL1/2X6", "PL"};
const Section FB{"FB2X1/4", "FB"};
const Section HSS{"HSS6X4X1/4", "B"}; // of no family

struct Case {
    Section section;
    std::vector<std::string> lines;
    std::vector<RecordedOperation> expected;
    HRESULT hr = S_OK;
};

class HoleLinesTest : public ReaderTest {
protected:
    void run(int version, const std::vector<Case>& cases)
    {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "version " << version << " " << c.section.designation
                                            << " " << c.lines.front());
            m_part.clear();
            MachineFile file;
            file.designation = c.section.designation;
            file.code = c.section.code;
            file.length = "5080";
            file.tools = kTools;
            file.holes = c.lines;
            const ReadResult result = convert(version, file);
            EXPECT_EQ(result.hr, c.hr) << result.text;
            const std::vector<RecordedOperation> operations = m_part.holesAndMarks();
            ASSERT_EQ(operations.size(), c.expected.size());
            for (std::size_t i = 0; i < c.expected.size(); ++i) {
                const RecordedOperation& got = operations[i];
                const RecordedOperation& want = c.expected[i];
                EXPECT_EQ(got.call, want.call);
                EXPECT_DOUBLE_EQ(got.x, want.x) << got;
                EXPECT_DOUBLE_EQ(got.u, want.u) << got;
                EXPECT_DOUBLE_EQ(got.toolSize1, want.toolSize1) << got;
                EXPECT_DOUBLE_EQ(got.toolSize2, want.toolSize2) << got;
                EXPECT_EQ(got.toolShape, want.toolShape);
                EXPECT_EQ(got.orientation, 0);
            }
        }
    }
};

TEST_F(HoleLinesTest, Version3)
{
    run(3, {
               {W, {"101600 12700.1010"}, {hole("SetWebHole", 4, 0.5, 0)}},
               // Flange positions from the middle of a W flange; holes and
               // marks take opposite sides on the bottom flange.
               {W, {"101600 12700.2010"}, {hole("SetBFFarHole", 4, 4.5, 1)}},
               {W, {"101600 152400.2010"}, {hole("SetBFNearHole", 4, 1, 1)}},
               {W, {"101600 12700.2000"}, {mark("SetBFNearMark", 4, 4.5)}},
               {W, {"101600 152400.2000"}, {mark("SetBFFarMark", 4, 1)}},
               {W, {"101600 12700.3010"}, {hole("SetTFFarHole", 4, 4.5, 2)}},
               {W, {"101600 152400.3010"}, {hole("SetTFNearHole", 4, 1, 2)}},
               {W, {"101600 12700.3000"}, {mark("SetTFFarMark", 4, 4.5)}},
               {W, {"101600 152400.3000"}, {mark("SetTFNearMark", 4, 1)}},
               // Y equal to h.
               {W,
                {"101600 127000.2010", "101600 127000.2000", "101600 127000.3000"},
                {hole("SetBFFarHole", 4, 0, 1), mark("SetBFNearMark", 4, 0),
                 mark("SetTFFarMark", 4, 0)}},
               // Tool and mirror digit; the table index of tools 2 and 3.
               {W, {"101600 12700.1011"}, {hole("SetWebHole", 16, 0.5, 0)}},
               {W, {"101600 12700.1020"}, {hole("SetWebHole", 4, 0.5, 3)}},
               {W, {"101600 12700.2030"}, {hole("SetBFFarHole", 4, 4.5, 7)}},
               {W, {"101600 12700.3031"}, {hole("SetTFFarHole", 16, 4.5, 8)}},
               {W, {"101600 12700.1005"}, {mark("SetWebMark", 4, 0.5)}},
               {W, {"101600 12700.1"}, {mark("SetWebMark", 4, 0.5)}},
               // Channels: flange holes on the far side, U as it stands; no marks.
               {C, {"101600 12700.2010"}, {hole("SetBFFarHole", 4, 0.5, 1)}},
               {C, {"101600 12700.3010"}, {hole("SetTFFarHole", 4, 0.5, 2)}},
               {MC, {"101600 12700.1010"}, {hole("SetWebHole", 4, 0.5, 0)}},
               {C, {"101600 12700.1000", "101600 12700.3000"}, {}},
               // Angles, flat bars and plates: web and top flange near side.
               {L, {"101600 12700.3010"}, {hole("SetTFNearHole", 4, 0.5, 2)}},
               {L, {"101600 12700.3000"}, {mark("SetTFNearMark", 4, 0.5)}},
               {FB, {"101600 12700.1000"}, {mark("SetWebMark", 4, 0.5)}},
               {PL, {"101600 12700.1010"}, {hole("SetWebHole", 4, 0.5, 0)}},
               {PL, {"101600 12700.3000"}, {}},
               // Lines that are skipped.
               {W, {"101600 12700.1010 A"}, {}},
               {HSS, {"101600 12700.1010", "101600 12700.1000"}, {}},
               // A face the family does not have ends the read; what was
               // placed before stays on the part.
               {L,
                {"101600 12700.1010", "101600 12700.2010"},
                {hole("SetWebHole", 4, 0.5, 0)},
                E_UNEXPECTED},
               {W, {"101600 12700.4010"}, {}, E_UNEXPECTED},
               {W, {"101600 12700.4000"}, {}, E_UNEXPECTED},
               {W, {"101600 12700.1040"}, {}, E_CONVERT_BAD_CODE},
           });
}

TEST_F(HoleLinesTest, Version2)
{
    run(2, {
               {W, {"1016000012700.1011"}, {hole("SetWebHole", 16, 0.5, 0)}},
               {W, {"1016000012700.2010"}, {hole("SetBFFarHole", 4, 4.5, 1)}},
               {W, {"0001016000012700.2000"}, {mark("SetBFNearMark", 4, 4.5)}},
               {W, {"1016000012700.10"}, {hole("SetWebHole", 4, 0.5, 0)}},
               // No room for X and Y, or nothing at all: skipped.
               {W, {"12700.1010", "0000000000000.", "1016000012700"}, {}},
               {C, {"1016000012700.3010"}, {hole("SetTFFarHole", 4, 0.5, 2)}},
               {MC, {"1016000012700.1010"}, {}},
               {C, {"1016000012700.2000"}, {}},
               // Angle-like marks, plates among them, on the top flange's both sides.
               {L, {"1016000012700.3000"}, {mark("SetTFNearFarMark", 4, 0.5)}},
               {PL, {"1016000012700.3000"}, {mark("SetTFNearFarMark", 4, 0.5)}},
               {PL, {"1016000012700.1000"}, {mark("SetWebMark", 4, 0.5)}},
               {L, {"1016000012700.2000"}, {}, E_UNEXPECTED},
               {W, {"1016000012700.1040"}, {}, E_CONVERT_BAD_CODE},
           });
}

TEST_F(HoleLinesTest, Version1)
{
    run(1, {
               {W, {"1016012711"}, {hole("SetWebHole", 4, 0.5, 0)}},
               {W, {"1016012731"}, {hole("SetTFFarHole", 4, 4.5, 2)}},
               {W, {"1016012722"}, {hole("SetBFFarHole", 4, 4.5, 4)}},
               // Tenths of a millimetre, rounded to 1/16 inch; no mirroring.
               {W, {"1000010011"}, {hole("SetWebHole", 3.9375, 0.375, 0)}},
               {W, {"0127012710"}, {mark("SetWebMark", 0.5, 0.5)}},
               // Channel marks: web, bottom flange far, top flange far.
               {C, {"1016012710"}, {mark("SetWebMark", 4, 0.5)}},
               {C, {"1016012720"}, {mark("SetBFFarMark", 4, 0.5)}},
               {MC, {"1016012730"}, {mark("SetTFFarMark", 4, 0.5)}},
               {MC, {"1016012723"}, {hole("SetBFFarHole", 4, 0.5, 7)}},
               {L, {"1016012730"}, {mark("SetTFNearMark", 4, 0.5)}},
               {PL, {"1016012730"}, {}},
               {C, {"1016012740"}, {}, E_UNEXPECTED},
               {W, {"1016012714"}, {}, E_CONVERT_BAD_CODE},
               {W, {"101612"}, {}, E_CONVERT_BAD_CODE},
           });
}

TEST_F(HoleLinesTest, ACountOfOneOrLessReadsNoLine)
{
    for (int version : {3, 2, 1}) {
        for (const char* count : {"1", "0", "-2147483648"}) {
            m_part.clear();
            MachineFile file;
            file.count = count;
            file.holes = {"not a hole line"};
            EXPECT_EQ(convert(version, file).hr, S_OK);
            EXPECT_TRUE(m_part.holesAndMarks().empty());
        }
    }
}

} // namespace
