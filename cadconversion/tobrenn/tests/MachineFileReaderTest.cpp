// The machine part file reader of the three versions: one part per file
// with any line ends, the designation and the header, and the text and
// HRESULT of every failure.
#include "ReaderFixture.h"

#include "com/ComError.h"

#include <filesystem>

namespace {

// One web hole of tool 1, X 4 inches and U 0.5 inch, as each version writes it.
std::string webHole(int version)
{
    return version == 3 ? "101600 12700.1010" : version == 2 ? "1016000012700.1010" : "1016012711";
}

TEST_F(ReaderTest, EachVersionReadsOnePartWhateverItsLineEnds)
{
    for (int version : {3, 2, 1}) {
        for (const char* eol : {"\r\n", "\n", "\r"}) {
            SCOPED_TRACE(testing::Message() << "version " << version << " line end "
                                            << (eol[0] == '\n' ? "LF"
                                                : eol[1]       ? "CR LF"
                                                               : "CR"));
            m_part.clear();
            MachineFile file;
            file.eol = eol;
            file.holes = {webHole(version)};
            const ReadResult first = convert(version, file.text() + "whatever follows" + eol);
            ASSERT_EQ(first.hr, S_OK) << first.text;
            EXPECT_TRUE(first.part);
            EXPECT_EQ(m_part.names(), (std::vector<std::string>{
                                          "put_Mark", "put_Length", "put_Quantity", "put_Section",
                                          "put_SectionDescription", "SetWebHole"}));
            EXPECT_EQ(m_part.strings["Mark"], "B12");
            EXPECT_EQ(m_part.strings["Section"], "W");
            EXPECT_EQ(m_part.strings["SectionDescription"], "1226");
            EXPECT_EQ(m_part.quantity, 3);
            EXPECT_DOUBLE_EQ(m_part.length, 200);
            const std::vector<RecordedOperation> operations = m_part.holesAndMarks();
            ASSERT_EQ(operations.size(), 1u);
            EXPECT_DOUBLE_EQ(operations[0].x, 4);
            EXPECT_DOUBLE_EQ(operations[0].u, 0.5);
            EXPECT_DOUBLE_EQ(operations[0].toolSize1, 22 * kTenth);

            const ReadResult second = read(version);
            EXPECT_EQ(second.hr, S_FALSE) << second.text;
            EXPECT_TRUE(second.part);
            EXPECT_EQ(read(version).hr, S_FALSE) << "the file stays at its end";
        }
    }
}

TEST_F(ReaderTest, AnEmptyFileEndsAtOnceAndTheCallerStillGetsAPart)
{
    for (const char* content : {"", " \r\n\n\t"}) {
        const ReadResult result = convert(3, content);
        EXPECT_EQ(result.hr, S_FALSE);
        EXPECT_TRUE(result.part);
        EXPECT_TRUE(m_part.log.empty());
    }
}

TEST_F(ReaderTest, AByteOrderMarkIsSkipped)
{
    for (int version : {3, 2, 1}) {
        m_part.clear();
        EXPECT_EQ(convert(version, "\xEF\xBB\xBF" + MachineFile().text()).hr, S_OK);
        EXPECT_EQ(m_part.strings["Mark"], "B12");
    }
}

TEST_F(ReaderTest, DesignationInPiecesIsJoinedUpToTheEndOfItsLine)
{
    struct Case {
        const char* designation;
        const char* code;
        const char* section;
        const char* description;
    };
    const Case cases[] = {
        {"W12 X26", "B", "W", "1226"},
        {"L4X3 X1/2", "C", "L", "4312"},
        {"L4 X3 X0.5", "MC", "L", "43012"},
        // Not whole at the end of its line: taken as it stands, the header
        // after it read as usual.
        {"W12", "B", "W", "12"},
        {"L4X3", "C", "L", "43"},
        // A designation of one character is never joined.
        {"W X26", "B", "W", ""},
    };
    for (int version : {3, 2, 1}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "version " << version << " " << c.designation);
            if (version != 3 && std::string(c.designation) == "W X26")
                continue; // the older versions read on: X26 would be the profile code
            m_part.clear();
            MachineFile file;
            file.designation = c.designation;
            file.code = c.code;
            const ReadResult result = convert(version, file);
            ASSERT_EQ(result.hr, S_OK) << result.text;
            EXPECT_EQ(m_part.strings["Section"], c.section);
            EXPECT_EQ(m_part.strings["SectionDescription"], c.description);
            EXPECT_EQ(m_part.quantity, 3);
        }
    }
}

TEST_F(ReaderTest, OlderVersionsReadTheHeaderOnAfterDesignationAndTools)
{
    // Version 3.0 skips the rest of the designation line and of the tool
    // line; 2.0 and 1.0 read the tokens there.
    const std::string packed = "B12\nW12X26 B 3\n3104 58 2540 97 0 0 0 50800\n"
                               "22 22 22 26 26 26 22X40 22X40 22X40 1\n";
    for (int version : {2, 1}) {
        m_part.clear();
        const ReadResult result = convert(version, packed);
        ASSERT_EQ(result.hr, S_OK) << result.text;
        EXPECT_EQ(m_part.strings["SectionDescription"], "1226");
        EXPECT_EQ(m_part.quantity, 3);
    }
    // 3.0 skips "B 3" with the rest of the designation line and the count
    // with the rest of the tool line, and runs out of tokens.
    EXPECT_EQ(convert(3, packed).hr, E_CONVERT_UNEXPECTED_EOF);
}

TEST_F(ReaderTest, HeaderLengthsAreTenthsOfAMillimetreRoundedToSixteenthsInVersion1)
{
    for (int version : {3, 2, 1}) {
        m_part.clear();
        MachineFile file;
        file.code = "W";
        file.depth = "3104";
        file.flangeWidth = "1648";
        file.length = "1000";
        ASSERT_EQ(convert(version, file).hr, S_OK);
        EXPECT_EQ(m_part.strings["Section"], "W");
        // 1648 tenths are 6.48819 inches, 6.5 when rounded to 1/16.
        EXPECT_EQ(m_part.strings["SectionDescription"], version == 1 ? "121465" : "121464882");
        EXPECT_DOUBLE_EQ(m_part.length, version == 1 ? 63 / 16.0 : 1000 * kTenth);
    }
}

TEST_F(ReaderTest, ThreeIgnoredValuesAreIntegersInVersion3Only)
{
    MachineFile file;
    file.ignored = "0.5 1.5 2";
    for (int version : {2, 1})
        EXPECT_EQ(convert(version, file).hr, S_OK);
    const ReadResult result = convert(3, file);
    EXPECT_EQ(result.hr, E_CONVERT_NUMERIC);
    EXPECT_EQ(result.text, "Not an integer: \"0.5\" in " + m_path +
                               ", line 5. Numeric Conversion Error while reading part" + where(5));
}

TEST_F(ReaderTest, ASectionIsNeverTakenOverFromThePartBefore)
{
    ASSERT_EQ(convert(3, MachineFile()).hr, S_OK);
    EXPECT_EQ(m_part.strings["Section"], "W");
    m_part.clear();
    MachineFile tube;
    tube.designation = "HSS6X4X1/4";
    tube.holes = {"101600 12700.1010"};
    ASSERT_EQ(convert(3, tube).hr, S_OK);
    EXPECT_EQ(m_part.strings["Section"], "");
    EXPECT_EQ(m_part.strings["SectionDescription"], "");
    EXPECT_TRUE(m_part.holesAndMarks().empty()) << "a section of no family takes no hole";
}

TEST_F(ReaderTest, FailureTextsNameTheFileAndTheLine)
{
    const std::string eofText = "Unexpected end of file. Unexpected EOF while reading part";
    const std::string holesNote = "Error in Convert holes\r\n";
    struct Case {
        const char* what;
        int version;
        MachineFile file;
        HRESULT hr;
        std::string text; // the file name and line follow
        int line;
    };
    MachineFile shortCount; // three lines announced, one there
    shortCount.count = "4";
    const auto withHole = [](const std::string& hole) {
        MachineFile file;
        file.holes = {hole};
        return file;
    };
    MachineFile badQuantity;
    badQuantity.quantity = "x3";
    std::vector<Case> cases;
    for (int version : {3, 2, 1}) {
        cases.push_back(
            {"ends after the mark line", version, {}, E_CONVERT_UNEXPECTED_EOF, eofText, 1});
        cases.push_back(
            {"ends in the hole lines", version, shortCount, E_CONVERT_UNEXPECTED_EOF,
             "Unexpected end of file. " + holesNote + "Unexpected EOF while reading part", 8});
        cases.push_back({"quantity", version, badQuantity, E_CONVERT_NUMERIC,
                         "Not an integer: \"x3\" in <file>, line 3. Numeric Conversion Error "
                         "while reading part",
                         3});
    }
    cases.push_back({"face 40", 3, withHole("101600 12700.4010"), E_UNEXPECTED,
                     "Unexpected ERROR while reading part", 9});
    cases.push_back({"face 40", 2, withHole("1016000012700.4010"), E_UNEXPECTED,
                     "Unexpected ERROR while reading part", 9});
    cases.push_back({"face 4", 1, withHole("1016012741"), E_UNEXPECTED,
                     "Unexpected ERROR while reading part", 9});
    cases.push_back({"tool 4", 3, withHole("101600 12700.1040"), E_CONVERT_BAD_CODE,
                     "Unknown tool 4 in hole line \"101600 12700.1040\": the tool table holds "
                     "tools 1 to 3",
                     9});
    cases.push_back({"tool 9", 2, withHole("1016000012700.3091"), E_CONVERT_BAD_CODE,
                     "Unknown tool 9 in hole line \"1016000012700.3091\": the tool table holds "
                     "tools 1 to 3",
                     9});
    cases.push_back({"tool 4", 1, withHole("1016012714"), E_CONVERT_BAD_CODE,
                     "Unknown tool 4 in hole line \"1016012714\": the tool table holds tools 1 "
                     "to 3",
                     9});
    cases.push_back({"short token", 1, withHole("101611"), E_CONVERT_BAD_CODE,
                     "Hole line \"101611\" is too short: it must hold X, four digits of Y, a face "
                     "digit and a tool digit",
                     9});
    cases.push_back({"control characters", 1, withHole(std::string("7\x01\0\x7f", 4)),
                     E_CONVERT_BAD_CODE,
                     "Hole line \"7???\" is too short: it must hold X, four digits of Y, a face "
                     "digit and a tool digit",
                     9});
    cases.push_back({"X no number", 3, withHole("10x600 12700.1010"), E_CONVERT_NUMERIC,
                     "Not a number: \"10x600\" in <file>, line 9. " + holesNote +
                         "Numeric Conversion Error while reading part",
                     9});
    cases.push_back({"X out of range", 2, withHole(std::string(400, '9') + "0012700.1010"),
                     E_CONVERT_NUMERIC,
                     "Number out of range: \"" + std::string(40, '9') + "\". " + holesNote +
                         "Numeric Conversion Error while reading part",
                     9});

    for (Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "version " << c.version << " " << c.what);
        const bool endsAfterMark = std::string(c.what) == "ends after the mark line";
        const ReadResult result =
            endsAfterMark ? convert(c.version, "B12\r\n") : convert(c.version, c.file);
        EXPECT_EQ(result.hr, c.hr);
        std::string expected = c.text;
        if (const auto at = expected.find("<file>"); at != std::string::npos)
            expected.replace(at, 6, m_path);
        EXPECT_EQ(result.text, expected + where(c.line));
        EXPECT_TRUE(result.part);
    }
}

TEST_F(ReaderTest, PartFailuresCarryTheirOwnHResultAndTheReadersText)
{
    const std::string comText = "\r\nCom Error while reading part";
    m_part.failures["put_Section"] = E_OUTOFMEMORY;
    ReadResult result = convert(3, MachineFile());
    EXPECT_EQ(result.hr, E_OUTOFMEMORY);
    EXPECT_EQ(result.text,
              std::string(_com_error(E_OUTOFMEMORY).ErrorMessage()) + comText + where(8));
    m_part.failures.clear();

    m_failCreation = true;
    result = convert(3, MachineFile());
    EXPECT_EQ(result.hr, E_POINTER);
    EXPECT_FALSE(result.part);
    EXPECT_EQ(result.text, std::string(_com_error(E_POINTER).ErrorMessage()) + comText + where(1));
    m_failCreation = false;

    CString text;
    EXPECT_EQ(reader(3).ReadPart(nullptr, 0, 0, &text), E_POINTER);
    EXPECT_NE(std::string(text).find("Com Error while reading part"), std::string::npos);
}

TEST_F(ReaderTest, SetFileClosesTheOpenFileAlsoWhenTheNewOneCannotBeOpened)
{
    for (int version : {3, 2, 1}) {
        ASSERT_EQ(setFile(version, writeFile(MachineFile().text())), S_OK);
        const std::string missing = (m_folder / "missing.txt").string();
        std::string text;
        EXPECT_EQ(setFile(version, missing, &text), E_CONVERT_FILE_OPEN);
        EXPECT_EQ(text, "File Open Failure " + missing);
        EXPECT_EQ(read(version).hr, S_FALSE);
    }
}

} // namespace

namespace {

// Files of other formats (the real-world samples, when they are here)
// through each version: a part or the end, else a failure whose text
// names the file and the line; never a crash or a hang.
TEST_F(ReaderTest, ForeignFilesConvertOrFailWithTheirPlace)
{
    const std::filesystem::path samples = TOBRENN_SAMPLES_DIR;
    if (!std::filesystem::is_directory(samples))
        GTEST_SKIP() << samples << " is not here";
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(samples)) {
        if (!entry.is_regular_file())
            continue;
        ++files;
        for (int version : {3, 2, 1}) {
            SCOPED_TRACE(testing::Message() << "version " << version << " " << entry.path());
            m_path = entry.path().string();
            ASSERT_EQ(setFile(version, m_path), S_OK);
            const ReadResult result = read(version);
            if (result.hr == S_OK || result.hr == S_FALSE)
                continue;
            EXPECT_TRUE(result.hr == E_CONVERT_UNEXPECTED_EOF || result.hr == E_CONVERT_NUMERIC ||
                        result.hr == E_CONVERT_BAD_CODE || result.hr == E_UNEXPECTED)
                << std::hex << result.hr;
            EXPECT_NE(result.text.find("\r\nFile Name:" + m_path + "\r\nLine:"), std::string::npos)
                << result.text;
        }
    }
    EXPECT_GT(files, 0);
}

} // namespace
