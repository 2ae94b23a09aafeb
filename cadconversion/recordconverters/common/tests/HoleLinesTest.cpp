// ConvertHoleLines through ReadPart: every code with the call and the
// arguments it makes, the tool slots, unknown codes and lines cut short.
#include "ReaderFixture.h"
#include "RecordTexts.h"
#include "TestReader.h"

namespace {

class HoleLinesTest : public RecordReaderTest<TestReader> {
protected:
    // The operations of one record with these hole lines.
    std::vector<std::string> operationsOf(const std::vector<std::string>& holes)
    {
        ShapeSizeRecord record;
        record.holes = holes;
        const std::vector<ReadResult> results = readAll(record.text());
        EXPECT_EQ(results.size(), 2u);
        EXPECT_EQ(results.at(0).hr, S_OK) << results.at(0).text;
        return results.at(0).part ? results.at(0).part->operations() : std::vector<std::string>{};
    }
};

TEST_F(HoleLinesTest, EveryCodeMakesItsCallWithTheSlotsToolAndHalvesUOnlyOnOneFlangeSide)
{
    struct Case {
        const char* line;
        const char* call;
    };
    const Case cases[] = {
        {"12.5 3 1", "SetWebHole(12.5, 3, 0.1, 0, T1, 0)"},
        {"12.5 3 2", "SetTFNearHole(12.5, 1.5, 0.2, 0, T2, 0)"},
        {"12.5 3 3", "SetTFFarHole(12.5, 1.5, 0.3, 0, T3, 0)"},
        {"12.5 3 4", "SetBFNearHole(12.5, 1.5, 0.4, 0, T4, 0)"},
        {"12.5 3 5", "SetBFFarHole(12.5, 1.5, 0.5, 0, T5, 0)"},
        {"12.5 3 6", "SetWebMark(12.5, 3)"},
        {"12.5 3 7", "SetTFNearMark(12.5, 1.5)"},
        {"12.5 3 8", "SetTFFarMark(12.5, 1.5)"},
        {"12.5 3 9", "SetBFNearMark(12.5, 1.5)"},
        {"12.5 3 10", "SetBFFarMark(12.5, 1.5)"},
        {"12.5 3 11", "SetWebHiddenMark(12.5, 3)"},
        {"12.5 3 12", "SetTFNearFarHole(12.5, 3, 0.2, 0, T2, 0)"},
        {"12.5 3 14", "SetBFNearFarHole(12.5, 3, 0.4, 0, T4, 0)"},
        {"12.5 3 17", "SetTFNearFarMark(12.5, 3)"},
        {"12.5 3 19", "SetBFNearFarMark(12.5, 3)"},
        {"48 1 20 A_1", "SetWebStencil(48, 1, A_1)"},
        {"48 1 21 B", "SetTFStencil(48, 1, B)"},
        {"48 1 22 C-3", "SetBFStencil(48, 1, C-3)"},
        {"-7 -3 2", "SetTFNearHole(-7, -1.5, 0.2, 0, T2, 0)"},
        {"1e2 .5 6", "SetWebMark(100, 0.5)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(operationsOf({c.line}), std::vector<std::string>{c.call});
    }
}

TEST_F(HoleLinesTest, ToolSlotCodesSetTheSlotForTheLinesBehindThem)
{
    struct Case {
        const char* slotLine;
        const char* holeLine;
        const char* call;
    };
    const Case cases[] = {
        {"100 0.5 30 ER", "10 4 1", "SetWebHole(10, 4, 100, 0.5, ER, 0)"},
        {"100 0.5 31 RD", "10 4 2", "SetTFNearHole(10, 2, 100, 0.5, RD, 0)"},
        {"0.75 0 32 _", "10 4 3", "SetTFFarHole(10, 2, 0.75, 0, _, 0)"},
        {"0.75 2 33 SL", "10 4 14", "SetBFNearFarHole(10, 4, 0.75, 2, SL, 0)"},
        {"0.5 0 34 HC", "10 4 5", "SetBFFarHole(10, 2, 0.5, 0, HC, 0)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slotLine);
        EXPECT_EQ(operationsOf({c.holeLine, c.slotLine, c.holeLine}),
                  (std::vector<std::string>{operationsOf({c.holeLine}).at(0), c.call}));
    }
}

TEST_F(HoleLinesTest, ACountOfZeroOrBelowReadsNoLine)
{
    for (const char* count : {"0", "-3"}) {
        SCOPED_TRACE(count);
        ShapeSizeRecord first;
        first.count = count;
        ShapeSizeRecord second;
        second.mark = "B2";
        second.holes = {"5 6 6"};
        const std::vector<ReadResult> results = readAll(first.text() + second.text());
        ASSERT_EQ(results.size(), 3u);
        EXPECT_EQ(results[0].hr, S_OK);
        EXPECT_TRUE(results[0].part->operations().empty());
        EXPECT_EQ(results[1].hr, S_OK);
        EXPECT_EQ(results[1].part->operations(), std::vector<std::string>{"SetWebMark(5, 6)"});
        EXPECT_EQ(results[2].hr, S_FALSE);
    }
}

TEST_F(HoleLinesTest, AnUnknownCodeEndsTheRecordWithItsFileAndLineAndKeepsTheLinesBefore)
{
    for (int code : {0, -1, 13, 15, 16, 18, 23, 24, 25, 26, 27, 28, 29, 35, 100}) {
        SCOPED_TRACE(code);
        ShapeSizeRecord record;
        record.holes = {"1 1 6", "10 2 " + std::to_string(code), "5 5 6"};
        const std::string path = writeFile(record.text());
        ASSERT_EQ(setFile(path), S_OK);
        const ReadResult result = read();
        EXPECT_EQ(result.hr, E_UNEXPECTED);
        EXPECT_EQ(result.text,
                  "Unexpected ERROR while reading part\r\nFile Name:" + path + "\r\nLine:5");
        ASSERT_NE(result.part, nullptr);
        EXPECT_EQ(result.part->operations(), std::vector<std::string>{"SetWebMark(1, 1)"});
    }
    // The failing result went to the maker's error log with the reader's place.
    const std::string entries =
        testsupport::readFile(m_dir / "data" / "vlmr" / "log" / "error.log");
    EXPECT_NE(entries.find("TestReader(7): HRESULT 0x80040004"), std::string::npos) << entries;
}

TEST_F(HoleLinesTest, ALineCutShortIsReportedAsAnEndOfFileInTheHoles)
{
    for (const char* cut : {"12.5", "12.5 3", "48 1 20"}) {
        SCOPED_TRACE(cut);
        ShapeSizeRecord record;
        record.holes = {"1 1 6", cut};
        std::string text = record.text();
        text.erase(text.find_last_not_of('\n') + 1); // no line end behind the cut
        const std::string path = writeFile(text);
        ASSERT_EQ(setFile(path), S_OK);
        const ReadResult result = read();
        EXPECT_EQ(result.hr, E_CONVERT_UNEXPECTED_EOF);
        EXPECT_EQ(result.text, "Unexpected end of file. Error in Convert holes\r\n"
                               "Unexpected EOF while reading part\r\nFile Name:" +
                                   path + "\r\nLine:5");
        EXPECT_EQ(result.part->operations(), std::vector<std::string>{"SetWebMark(1, 1)"});
    }
}

TEST_F(HoleLinesTest, ANumberThatIsNoneIsReportedAsANumericErrorInTheHoles)
{
    ShapeSizeRecord record;
    record.holes = {"12.5 3 1", "12.5 x3 2"};
    const std::string path = writeFile(record.text());
    ASSERT_EQ(setFile(path), S_OK);
    const ReadResult result = read();
    EXPECT_EQ(result.hr, E_CONVERT_NUMERIC);
    EXPECT_EQ(result.text, "Not a number: \"x3\" in " + path +
                               ", line 5. Error in Convert holes\r\n"
                               "Numeric Conversion Error while reading part\r\nFile Name:" +
                               path + "\r\nLine:5");
}

TEST_F(HoleLinesTest, AFailingPartCallEndsTheRecordWithItsHResult)
{
    m_partFailures["SetTFFarMark"] = E_OUTOFMEMORY;
    ShapeSizeRecord record;
    record.holes = {"1 1 6", "2 2 8", "3 3 6"};
    const std::string path = writeFile(record.text());
    ASSERT_EQ(setFile(path), S_OK);
    const ReadResult result = read();
    EXPECT_EQ(result.hr, E_OUTOFMEMORY);
    EXPECT_EQ(result.text, hresultMessage(E_OUTOFMEMORY) +
                               "\r\nCom Error while reading part\r\nFile Name:" + path +
                               "\r\nLine:5");
    EXPECT_EQ(result.part->operations(), std::vector<std::string>{"SetWebMark(1, 1)"});
}

} // namespace
