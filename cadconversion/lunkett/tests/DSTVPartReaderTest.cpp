// The reader's frame: the file, part creation, the ST header, the block
// loop, the completion at "EN" and the error reports.
#include "ReaderFixture.h"

#include "com/Runtime.h"
#include "testing/TemporaryRegistry.h"

namespace {

const std::string kEnd = "EN\n";

TEST_F(ReaderTest, HeaderFieldsReachThePartInInchesAtTheEnd)
{
    StHeader st;
    st.piece = "C:\\parts\\B12"; // the piece keeps its last path component
    ReadResult result = convert(st.text() + kEnd);
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_TRUE(result.part);
    EXPECT_EQ(result.text, "");

    const std::vector<std::string> expected{
        "put_JobId",  "put_Group",    "put_Mark",    "put_Grade",
        "put_Length", "put_Quantity", "put_Section", "put_SectionDescription"};
    EXPECT_EQ(m_part.names(), expected);
    EXPECT_EQ(m_part.strings["JobId"], "J100");
    EXPECT_EQ(m_part.strings["Group"], "G2");
    EXPECT_EQ(m_part.strings["Mark"], "B12");
    EXPECT_EQ(m_part.strings["Grade"], "A992");
    EXPECT_EQ(m_part.quantity, 3);
    EXPECT_DOUBLE_EQ(m_part.length, 6000 / 25.4);
    EXPECT_EQ(m_part.strings["Section"], "W");
    EXPECT_EQ(m_part.strings["SectionDescription"], "1226");
}

TEST_F(ReaderTest, OnePartPerFileThenSFalseAndTheFileIsClosed)
{
    StHeader st;
    // A second part after the first "EN" is never read.
    ASSERT_EQ(setFile(writeFile(st.text() + kEnd + st.text() + kEnd)), S_OK);
    EXPECT_EQ(read().hr, S_OK);
    EXPECT_EQ(m_partsCreated, 1);
    ReadResult second = read();
    EXPECT_EQ(second.hr, S_FALSE);
    EXPECT_EQ(second.text, "");
    EXPECT_FALSE(second.part);
    EXPECT_EQ(m_partsCreated, 1);
    EXPECT_EQ(read().hr, S_FALSE);
}

TEST_F(ReaderTest, EmptyFileAndUnsetFileAnswerSFalseWithoutAPart)
{
    EXPECT_EQ(read().hr, S_FALSE);
    EXPECT_EQ(convert("").hr, S_FALSE);
    EXPECT_EQ(m_partsCreated, 0);
}

TEST_F(ReaderTest, SetFileThatCannotOpenNamesTheFile)
{
    const std::string missing = (m_dir / "missing.nc1").string();
    std::string text;
    EXPECT_EQ(setFile(missing, &text), E_CONVERT_FILE_OPEN);
    EXPECT_EQ(text, "File open Failure " + missing);
    // A directory is no file either.
    EXPECT_EQ(setFile(m_dir.string(), &text), E_CONVERT_FILE_OPEN);
    // Nor a name whose front part names a file.
    const std::string existing = writeFile("ST\n");
    EXPECT_EQ(setFile(existing + std::string(1, '\0') + "more", &text), E_CONVERT_FILE_OPEN);
    EXPECT_EQ(read().hr, S_FALSE);
}

TEST_F(ReaderTest, SetFileAgainStartsTheNewFile)
{
    StHeader st;
    const std::string first = writeFile(st.text() + kEnd, "first.nc1");
    st.piece = "B13";
    const std::string second = writeFile(st.text() + kEnd, "second.nc1");
    ASSERT_EQ(setFile(first), S_OK);
    ASSERT_EQ(setFile(second), S_OK);
    EXPECT_EQ(read().hr, S_OK);
    EXPECT_EQ(m_part.strings["Mark"], "B13");
}

TEST_F(ReaderTest, CommentsAreSkippedEverywhereButALoneStarIsALine)
{
    StHeader st;
    std::string text = st.text();
    // A comment before ST, between two ST fields and among blocks.
    text.insert(0, "** written by a test\n");
    text.insert(text.find("  G2"), "**between fields\n");
    ReadResult result = convert(text + "** before the end\n" + kEnd);
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(m_part.strings["Group"], "G2");

    st.phase = "*";
    ASSERT_EQ(convert(st.text() + kEnd).hr, S_OK);
    EXPECT_EQ(m_part.strings["Group"], "*");
}

TEST_F(ReaderTest, FirstWordMustBeST)
{
    StHeader st;
    std::string withWords = st.text();
    withWords.replace(0, 2, "ST  part list 7");
    EXPECT_EQ(convert(withWords + kEnd).hr, S_OK);

    std::string lower = st.text();
    lower.replace(0, 2, "st");
    ReadResult result = convert(lower + kEnd);
    EXPECT_EQ(result.hr, E_CONVERT_READ);
    EXPECT_EQ(result.text, "Code Block ST was not found." + where(1));
    EXPECT_TRUE(result.part) << "the part is handed out before anything is read";
    EXPECT_EQ(read().hr, S_FALSE) << "the file was closed";
}

TEST_F(ReaderTest, AByteOrderMarkBeforeSTIsSkipped)
{
    StHeader st;
    ReadResult result = convert("\xEF\xBB\xBF" + st.text() + kEnd);
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(m_part.strings["JobId"], "J100");
    // A file of nothing but the mark holds no part.
    EXPECT_EQ(convert("\xEF\xBB\xBF").hr, S_FALSE);
}

TEST_F(ReaderTest, CodeProfileOutsideTheSixIsRefusedAndClosesTheFile)
{
    for (const char* code : {"I", "U", "L", "M", "B", "T"}) {
        SCOPED_TRACE(code);
        StHeader st;
        st.code = code;
        EXPECT_EQ(convert(st.text() + kEnd).hr, S_OK);
    }
    StHeader st;
    st.code = "RO";
    ReadResult result = convert(st.text() + kEnd);
    EXPECT_EQ(result.hr, E_CONVERT_READ);
    EXPECT_EQ(result.text, "Code Profile \"RO\" is not covertable." + where(9));
    EXPECT_EQ(read().hr, S_FALSE);
}

TEST_F(ReaderTest, QuantityZeroBecomesOne)
{
    StHeader st;
    st.quantity = "0";
    ASSERT_EQ(convert(st.text() + kEnd).hr, S_OK);
    EXPECT_EQ(m_part.quantity, 1);
}

TEST_F(ReaderTest, LengthLineGivesPartAndMirrorLength)
{
    // The mirror length shows in the stencil X of an "L" profile.
    const std::string stencil = "SI\n  v 1000.00o 50.00 0.00 10r1\n";
    struct Case {
        const char* length;
        double partLength;
        double mirrorLength;
    } cases[] = {{"6000,5990", 6000, 5990}, {"6000", 6000, 6000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        m_part.stencils.clear();
        StHeader st;
        st.code = "L";
        st.profile = "L100X100X10";
        st.length = c.length;
        ASSERT_EQ(convert(st.text() + stencil + kEnd, ReadVariant::Standard, 1).hr, S_OK);
        EXPECT_DOUBLE_EQ(m_part.length, c.partLength * kMm);
        ASSERT_EQ(m_part.stencils.size(), 1u);
        EXPECT_DOUBLE_EQ(m_part.stencils[0].x, c.mirrorLength * kMm - 1000 * kMm);
    }
}

TEST_F(ReaderTest, SectionRewrites)
{
    struct Case {
        const char* profile;
        const char* section;
    } cases[] = {{"HSS6X6X1/4", "TS"},
                 {"hss4x4", "TS"},
                 {"RCT200x100", "TS"},
                 {"Rct8", "TS"},
                 {"HEB400", "HEB"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.profile);
        StHeader st;
        st.profile = c.profile;
        ASSERT_EQ(convert(st.text() + kEnd, ReadVariant::Standard, 1).hr, S_OK);
        EXPECT_EQ(m_part.strings["Section"], c.section);
    }
}

TEST_F(ReaderTest, TeeSectionTurnsIntoCodeProfileTWithHeightAndWidthExchanged)
{
    StHeader st;
    st.profile = "WT6X13";
    st.code = "I";
    st.height = "150";
    st.flangeWidth = "200";
    // A web hole from the top: code "T" turns it to the top flange, placed
    // across the flange width, which is now the former height.
    ASSERT_EQ(convert(st.text() + "BO\n  v 100.00o 40.00 22.00\n" + kEnd).hr, S_OK);
    ASSERT_EQ(m_part.operations.size(), 1u);
    EXPECT_EQ(m_part.operations[0].face, 'T');
    EXPECT_DOUBLE_EQ(m_part.operations[0].u, 150 * kMm - 40 * kMm);
}

TEST_F(ReaderTest, OtherBlocksAreSkipped)
{
    StHeader st;
    const std::string blocks =
        "AK\n  v 0.00u 0.00 0.00\n  v 100.00u 0.00 0.00\n\nKO\n  v 10.00 10.00\nIK\n"
        "  o 5.00 5.00\n";
    ReadResult result = convert(st.text() + blocks + kEnd);
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_TRUE(m_part.operations.empty());
    EXPECT_TRUE(m_part.stencils.empty());
}

TEST_F(ReaderTest, CreationFailureIsReported)
{
    m_failCreation = true;
    StHeader st;
    ReadResult result = convert(st.text() + kEnd);
    EXPECT_EQ(result.hr, E_CONVERT_READ);
    EXPECT_EQ(result.text, "Failed to create CLSID_CADPart2. It may not be registered");
    EXPECT_FALSE(result.part);
}

TEST_F(ReaderTest, UnregisteredPartClassIsReportedThroughTheRuntime)
{
    // The default creator asks the runtime, which finds no class in an
    // empty registry.
    const testsupport::TemporaryRegistry registry;
    DSTVPartReader reader;
    StHeader st;
    BSTR name = bstrFromNarrow(writeFile(st.text() + kEnd));
    BSTR error = nullptr;
    ASSERT_EQ(reader.SetFile(name, &error), S_OK);
    IUnknown* part = reinterpret_cast<IUnknown*>(&m_part); // a stale value the reader must clear
    EXPECT_EQ(reader.ReadPart(&part, 0, 0, &error), E_CONVERT_READ);
    EXPECT_EQ(part, nullptr);
    EXPECT_EQ(narrowFromBstr(error), "Failed to create CLSID_CADPart2. It may not be registered");
    SysFreeString(error);
    SysFreeString(name);
}

TEST_F(ReaderTest, NullPartPointerIsRefusedWithoutText)
{
    StHeader st;
    ASSERT_EQ(setFile(writeFile(st.text() + kEnd)), S_OK);
    BSTR error = nullptr;
    EXPECT_EQ(m_reader->ReadPart(nullptr, 0, 0, &error), E_POINTER);
    EXPECT_EQ(error, nullptr);
    EXPECT_EQ(m_partsCreated, 0);
}

TEST_F(ReaderTest, EndOfFileBeforeENNamesFileAndLine)
{
    StHeader st;
    const std::string path = writeFile(st.text() + "BO\n  v 100.00o 50.00 22.00\n");
    ASSERT_EQ(setFile(path), S_OK);
    ReadResult result = read();
    EXPECT_EQ(result.hr, E_CONVERT_READ);
    EXPECT_EQ(result.text,
              "Unexpected end of file. Unexpected EOF while reading part\r\nFile Name:" + path +
                  "\r\nLine:27");
    EXPECT_TRUE(result.part);
}

TEST_F(ReaderTest, FileCutShortAtEveryLineFailsCleanly)
{
    StHeader st;
    const std::string whole =
        st.text() + "SI\n  v 10.00o 20.00 0.00 10r1\nBO\n  v 100.00o 50.00 22.00\n" + kEnd;
    for (std::size_t cut = whole.find('\n'); cut + 1 < whole.size();
         cut = whole.find('\n', cut + 1)) {
        SCOPED_TRACE(cut);
        ReadResult result = convert(whole.substr(0, cut + 1));
        EXPECT_EQ(result.hr, E_CONVERT_READ);
        EXPECT_FALSE(result.text.empty());
    }
}

TEST_F(ReaderTest, NumericErrorsNameTheText)
{
    StHeader st;
    st.height = "tall";
    ReadResult result = convert(st.text() + kEnd);
    EXPECT_EQ(result.hr, E_CONVERT_READ);
    EXPECT_EQ(result.text,
              "Not a number: \"tall\". Numeric Conversion Error while reading part" + where(11));
}

TEST_F(ReaderTest, FailingPartCallIsAComError)
{
    m_part.failures["put_Mark"] = E_FAIL;
    StHeader st;
    ReadResult result = convert(st.text() + kEnd);
    EXPECT_EQ(result.hr, E_CONVERT_READ);
    const std::string message = hresultMessage(E_FAIL);
    EXPECT_EQ(result.text, message + (message.empty() ? "" : "\r\n") +
                               "Com Error while reading part" + where(26));
}

TEST_F(ReaderTest, FailingSectionDescriptionIsIgnored)
{
    m_part.failures["put_SectionDescription"] = E_FAIL;
    StHeader st;
    EXPECT_EQ(convert(st.text() + kEnd).hr, S_OK);
}

TEST_F(ReaderTest, EachReadCreatesANewPartAndReleasesTheLast)
{
    StHeader st;
    const std::string path = writeFile(st.text() + kEnd);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(setFile(path), S_OK);
        ASSERT_EQ(read().hr, S_OK);
        EXPECT_EQ(m_part.references(), 2u) << "the reader holds exactly one reference";
    }
    EXPECT_EQ(m_partsCreated, 3);
    // Each new part is made while the reader still holds the last one.
    EXPECT_EQ(m_referencesAtCreation, (std::vector<ULONG>{1, 2, 2}));
}

} // namespace
