// The record reader framework: SetFile, many records per file, the part
// handed out before each read, and the texts of every failure.
#include "ReaderFixture.h"
#include "RecordTexts.h"
#include "TestReader.h"

namespace {

using RecordFrameworkTest = RecordReaderTest<TestReader>;

const std::vector<std::string> kRecordPuts = {"put_JobId(J1)",
                                              "put_Group(G1)",
                                              "put_Mark(B1)",
                                              "put_Length(240)",
                                              "put_Quantity(2)",
                                              "put_Section(W)",
                                              "put_SectionDescription(1226)"};

TEST_F(RecordFrameworkTest, ReadsEveryRecordIntoANewPartThenAnswersSFalseWithAnEmptyPart)
{
    ShapeSizeRecord first;
    first.holes = {"10 2 1", "20 3 6"};
    ShapeSizeRecord second;
    second.mark = "B2";
    ShapeSizeRecord third;
    third.mark = "B3";
    third.holes = {"30 1 20 S1"};
    const std::vector<ReadResult> results = readAll(first.text() + second.text() + third.text());

    ASSERT_EQ(results.size(), 4u);
    for (const ReadResult& result : results)
        ASSERT_NE(result.part, nullptr) << "every call hands out its part";
    EXPECT_EQ(m_newParts.size(), 4u);
    std::vector<std::string> expected = kRecordPuts;
    expected.insert(expected.end(), {"SetWebHole(10, 2, 0.1, 0, T1, 0)", "SetWebMark(20, 3)"});
    EXPECT_EQ(results[0].part->texts(), expected);
    EXPECT_EQ(results[1].part->texts().at(2), "put_Mark(B2)");
    EXPECT_EQ(results[1].part->operations(), std::vector<std::string>{});
    EXPECT_EQ(results[2].part->operations(), std::vector<std::string>{"SetWebStencil(30, 1, S1)"});
    EXPECT_EQ(results[3].hr, S_FALSE);
    EXPECT_EQ(results[3].text, "");
    EXPECT_TRUE(results[3].part->log.empty());

    // The file is closed: a further call finds nothing either.
    EXPECT_EQ(read().hr, S_FALSE);
}

TEST_F(RecordFrameworkTest, AnEmptyFileOrOneOfWhiteSpaceHoldsNoRecord)
{
    for (const char* content : {"", "  \r\n\t\n", "\xEF\xBB\xBF", "\xEF\xBB\xBF \n"}) {
        const std::vector<ReadResult> results = readAll(content);
        ASSERT_EQ(results.size(), 1u);
        EXPECT_EQ(results[0].hr, S_FALSE);
        ASSERT_NE(results[0].part, nullptr);
        EXPECT_TRUE(results[0].part->log.empty());
    }
}

TEST_F(RecordFrameworkTest, SkipsAByteOrderMarkAtTheStartOfTheFile)
{
    ShapeSizeRecord record;
    const std::vector<ReadResult> results = readAll("\xEF\xBB\xBF" + record.text());
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].part->texts(), kRecordPuts);
}

TEST_F(RecordFrameworkTest, SetFileClosesTheOpenFileAndAFailingOneLeavesNoneOpen)
{
    ShapeSizeRecord first;
    ShapeSizeRecord second;
    second.mark = "B2";
    ASSERT_EQ(setFile(writeFile(first.text() + second.text(), "a.txt")), S_OK);
    ASSERT_EQ(read().hr, S_OK);
    // A new file starts at its first record.
    ASSERT_EQ(setFile(writeFile(second.text() + first.text(), "b.txt")), S_OK);
    ReadResult result = read();
    ASSERT_EQ(result.hr, S_OK);
    EXPECT_EQ(result.part->texts().at(2), "put_Mark(B2)");

    const std::string missing = (m_dir / "missing.txt").string();
    std::string text;
    EXPECT_EQ(setFile(missing, &text), E_CONVERT_FILE_OPEN);
    EXPECT_EQ(text, "File Open Failure " + missing);
    EXPECT_EQ(read().hr, S_FALSE) << "no file is open after a failing SetFile";
}

TEST_F(RecordFrameworkTest, SetFileRefusesAFolderAndANameWithANulInside)
{
    std::string text;
    EXPECT_EQ(setFile(m_dir.string(), &text), E_CONVERT_FILE_OPEN);
    EXPECT_EQ(text, "File Open Failure " + m_dir.string());

    const std::string path = writeFile(ShapeSizeRecord().text());
    BSTR name = bstrFromNarrow(path + std::string(1, '\0') + "more");
    CString error;
    EXPECT_EQ(m_reader->SetFile(name, &error), E_CONVERT_FILE_OPEN);
    SysFreeString(name);
    EXPECT_EQ(std::string(error), "File Open Failure " + path);
}

// The record is on line 1, its tools on line 2; every text ends with the
// file and the line being read.
TEST_F(RecordFrameworkTest, ReportsEveryFailureOfARecordWithItsTextFileAndLine)
{
    struct Case {
        const char* name;
        std::string content;
        HRESULT hr;
        std::string text; // before the file and line
        int line;
    };
    ShapeSizeRecord record;
    ShapeSizeRecord badLength;
    badLength.length = "24O";
    ShapeSizeRecord badQuantity;
    badQuantity.quantity = "2.5";
    const std::string full = record.text();
    const std::string second = "\n" + full;
    const Case cases[] = {
        {"end after the job", "J1", E_CONVERT_UNEXPECTED_EOF,
         "Unexpected end of file. Unexpected EOF while reading part", 1},
        {"end inside the tools", full.substr(0, full.find(" T3")), E_CONVERT_UNEXPECTED_EOF,
         "Unexpected end of file. Unexpected EOF while reading part", 2},
        {"end before the hole-line count", full.substr(0, full.rfind("0\n")),
         E_CONVERT_UNEXPECTED_EOF, "Unexpected end of file. Unexpected EOF while reading part", 2},
        {"a length that is no number", badLength.text(), E_CONVERT_NUMERIC,
         "Not a number: \"24O\" in @, line 1. Numeric Conversion Error while reading part", 1},
        {"a quantity that is no integer", badQuantity.text(), E_CONVERT_NUMERIC,
         "Not an integer: \"2.5\" in @, line 1. Numeric Conversion Error while reading part", 1},
        {"the second record cut short", full + second.substr(0, 10), E_CONVERT_UNEXPECTED_EOF,
         "Unexpected end of file. Unexpected EOF while reading part", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = writeFile(c.content);
        ASSERT_EQ(setFile(path), S_OK);
        ReadResult result = read();
        if (result.hr == S_OK)
            result = read();
        std::string text = c.text;
        if (const auto at = text.find('@'); at != std::string::npos)
            text.replace(at, 1, path);
        EXPECT_EQ(result.hr, c.hr);
        EXPECT_EQ(result.text,
                  text + "\r\nFile Name:" + path + "\r\nLine:" + std::to_string(c.line));
        EXPECT_NE(result.part, nullptr);
    }
}

TEST_F(RecordFrameworkTest, AFailingPartCallIsReportedWithThePlatformsMessageForItsHResult)
{
    struct Case {
        const char* call;
        HRESULT hr;
        const char* message;
        std::size_t putsBefore;
    };
    const Case cases[] = {
        {"put_JobId", E_CONVERT_BAD_CODE, "Unknown error 0x80040004", 0},
        {"put_Quantity", hresult(0x80040201), "IDispatch error #1", 4},
        {"put_SectionDescription", E_OUTOFMEMORY, nullptr, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        m_partFailures = {{c.call, c.hr}};
        const std::string path = writeFile(ShapeSizeRecord().text());
        ASSERT_EQ(setFile(path), S_OK);
        const ReadResult result = read();
        EXPECT_EQ(result.hr, c.hr);
        const std::string message = c.message ? c.message : hresultMessage(c.hr);
        EXPECT_EQ(result.text,
                  message + "\r\nCom Error while reading part\r\nFile Name:" + path + "\r\nLine:2");
        ASSERT_NE(result.part, nullptr);
        // The puts before the failing one, then that one; nothing after it.
        EXPECT_EQ(
            result.part->texts(),
            std::vector<std::string>(kRecordPuts.begin(), kRecordPuts.begin() + c.putsBefore + 1));
    }
}

TEST_F(RecordFrameworkTest, APartThatCannotBeCreatedIsAnInvalidPointer)
{
    m_failCreation = true;
    const std::string path = writeFile(ShapeSizeRecord().text());
    ASSERT_EQ(setFile(path), S_OK);
    const ReadResult result = read();
    EXPECT_EQ(result.hr, E_POINTER);
    EXPECT_EQ(result.text, hresultMessage(E_POINTER) +
                               "\r\nCom Error while reading part\r\nFile Name:" + path +
                               "\r\nLine:1");
    EXPECT_EQ(result.part, nullptr);
}

TEST_F(RecordFrameworkTest, ANullOutParameterIsAnInvalidPointer)
{
    ASSERT_EQ(setFile(writeFile(ShapeSizeRecord().text())), S_OK);
    CString error;
    EXPECT_EQ(m_reader->ReadPart(nullptr, 0, 0, &error), E_POINTER);
    EXPECT_EQ(std::string(error).rfind(hresultMessage(E_POINTER) + "\r\nCom Error", 0), 0u);
}

} // namespace
