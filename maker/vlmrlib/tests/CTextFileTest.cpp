// CTextFile: lines, tokens, numbers, single bytes and seeks, each run with
// several buffer sizes so that line ends and tokens also straddle refills.
#include "vlmrlib/CTextFile.h"
#include "vlmrlib/FileAndLine.h"

#include "testing/TemporaryFolder.h"

#include "vlmrexcept/CvmException.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::string bytes(const CString& s)
{
    return std::string(s, static_cast<std::size_t>(s.GetLength()));
}

class TextFileTest : public ::testing::TestWithParam<std::size_t> {
protected:
    // Opens a new file holding exactly the given bytes.
    CTextFile& open(const std::string& content)
    {
        m_file = std::make_unique<CTextFile>(GetParam());
        m_name = m_dir.write("input" + std::to_string(m_count++) + ".txt", content);
        EXPECT_TRUE(m_file->Open(m_name.c_str(), 0));
        return *m_file;
    }

    const testsupport::TemporaryFolder m_dir{"vlmrlib"};
    std::unique_ptr<CTextFile> m_file;
    std::string m_name;
    int m_count = 0;
};

struct Line {
    std::string text;
    int number;
};

} // namespace

TEST_P(TextFileTest, LinesEndAtCrLfLfOrCrAndAreNumberedFromOne)
{
    struct Case {
        std::string content;
        std::vector<Line> lines;
        int numberAtEnd;
    } cases[] = {
        {"a\r\nb\nc\rd", {{"a", 1}, {"b", 2}, {"c", 3}, {"d", 4}}, 4},
        {"a\n\nb\n", {{"a", 1}, {"", 2}, {"b", 3}}, 3},
        {"", {}, 1},
        {"\r\n", {{"", 1}}, 1},
        {"a\r\r\nb", {{"a", 1}, {"", 2}, {"b", 3}}, 3},
        {"\n\r\r\n\n", {{"", 1}, {"", 2}, {"", 3}, {"", 4}}, 4},
        {std::string("x\0y\xff\xe9\n", 6), {{std::string("x\0y\xff\xe9", 5), 1}}, 1},
        {"ST\r\n  ORDER 1 \r\n**comment\r\n", {{"ST", 1}, {"  ORDER 1 ", 2}, {"**comment", 3}}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.content));
        CTextFile& f = open(c.content);
        EXPECT_EQ(f.GetLineNumber(), 1);
        for (const Line& expected : c.lines) {
            CBreakString line("stale");
            ASSERT_TRUE(f.ReadLine(&line));
            EXPECT_EQ(bytes(line), expected.text);
            EXPECT_EQ(f.GetLineNumber(), expected.number);
        }
        CBreakString line("kept");
        EXPECT_FALSE(f.ReadLine(&line));
        EXPECT_EQ(bytes(line), "kept");
        EXPECT_EQ(f.GetLineNumber(), c.numberAtEnd);
        EXPECT_EQ(f.GetPosition(), f.GetFileLength());
    }
}

TEST_P(TextFileTest, TokensAreDelimitedByWhiteSpaceAndNamedByTheirLine)
{
    CTextFile& f = open("  J1\t G1\r\n\f M1  \r\n\r\n");
    std::vector<std::pair<std::string, int>> expected = {{"J1", 1}, {"G1", 1}, {"M1", 2}};
    for (const auto& [text, number] : expected) {
        CString token;
        ASSERT_TRUE(f.ReadToDelimit(&token));
        EXPECT_EQ(bytes(token), text);
        EXPECT_EQ(f.GetLineNumber(), number);
    }
    CString token("kept");
    EXPECT_FALSE(f.ReadToDelimit(&token));
    EXPECT_EQ(bytes(token), "kept");
    EXPECT_EQ(f.GetLineNumber(), 3); // the last line of the file
}

TEST_P(TextFileTest, NumberReadsNeedTheWholeToken)
{
    CTextFile& f = open("12 -3.5e1 +7 .25\n");
    int i = 0;
    double d = 0;
    ASSERT_TRUE(f.ReadInteger(&i));
    EXPECT_EQ(i, 12);
    ASSERT_TRUE(f.ReadDouble(&d));
    EXPECT_DOUBLE_EQ(d, -35);
    ASSERT_TRUE(f.ReadInteger(&i));
    EXPECT_EQ(i, 7);
    ASSERT_TRUE(f.ReadDouble(&d));
    EXPECT_DOUBLE_EQ(d, 0.25);
    i = 99;
    EXPECT_FALSE(f.ReadInteger(&i));
    EXPECT_FALSE(f.ReadDouble(&d));
    EXPECT_EQ(i, 99);

    struct Case {
        const char* content;
        bool integer;
        const char* start; // of the message
    } cases[] = {
        {"1\n12.5\n", true, "Not an integer: \"12.5\" in "},
        {"1\n1e5x\n", false, "Not a number: \"1e5x\" in "},
        {"1\n6000,5990\n", false, "Not a number: \"6000,5990\" in "},
        {"1\n99999999999\n", true, "Not an integer: \"99999999999\" in "},
        {"1\n-\n", false, "Not a number: \"-\" in "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        CTextFile& g = open(c.content);
        ASSERT_TRUE(g.ReadInteger(&i));
        try {
            c.integer ? g.ReadInteger(&i) : g.ReadDouble(&d);
            ADD_FAILURE() << "no exception";
        } catch (const CNumericConversionException& e) {
            EXPECT_EQ(std::string(e.GetMessage()), c.start + m_name + ", line 2. ");
        }
    }
}

TEST_P(TextFileTest, ByteReadsContinueRightAfterAToken)
{
    CTextFile& f = open("4   3X.25\r\n17\n");
    double depth = 0;
    ASSERT_TRUE(f.ReadDouble(&depth));
    char field[8];
    ASSERT_EQ(f.Read(field, 8), 8u);
    EXPECT_EQ(std::string(field, 8), "   3X.25");
    int quantity = 0;
    ASSERT_TRUE(f.ReadInteger(&quantity));
    EXPECT_EQ(quantity, 17);
    EXPECT_EQ(f.GetLineNumber(), 2);
}

TEST_P(TextFileTest, ALineReadAfterALoneCrByteSkipsTheRestOfThePair)
{
    CTextFile& f = open("ab\r\ncd\r\n");
    char c = 0;
    while (f.Read(&c, 1) == 1 && c != '\r') {
    }
    EXPECT_EQ(f.GetLineNumber(), 1);
    CBreakString line;
    ASSERT_TRUE(f.ReadLine(&line));
    EXPECT_EQ(bytes(line), "cd");
    EXPECT_EQ(f.GetLineNumber(), 2);
    EXPECT_FALSE(f.ReadLine(&line));
}

// Every position reached by a seek, from every origin, must give the same
// line number as reading byte by byte up to it.
TEST_P(TextFileTest, SeekGivesTheLineNumberOfSequentialReading)
{
    const std::string content = "ab\r\ncd\ne\rf\r\r\n\ng";
    std::vector<int> reference;
    CTextFile& sequential = open(content);
    reference.push_back(sequential.GetLineNumber());
    for (char c; sequential.Read(&c, 1) == 1;)
        reference.push_back(sequential.GetLineNumber());
    ASSERT_EQ(reference.size(), content.size() + 1);

    CTextFile& f = open(content);
    const auto size = static_cast<LONGLONG>(content.size());
    for (LONGLONG target = 0; target <= size; ++target) {
        SCOPED_TRACE(target);
        EXPECT_EQ(f.Seek(target, CFile::begin), static_cast<ULONGLONG>(target));
        EXPECT_EQ(f.GetLineNumber(), reference[target]);
        f.SeekToEnd();
        f.Seek(target - size, CFile::current);
        EXPECT_EQ(f.GetLineNumber(), reference[target]);
        f.Seek(target - size, CFile::end);
        EXPECT_EQ(f.GetLineNumber(), reference[target]);
        char c;
        if (f.Read(&c, 1) == 1) {
            EXPECT_EQ(c, content[target]);
        }
    }
}

TEST_P(TextFileTest, LookAheadSeekBackRestoresPositionAndLine)
{
    CTextFile& f = open("P1 rest\r\nW12 X26 \r\n  B\r\n");
    CString token;
    ASSERT_TRUE(f.ReadToDelimit(&token));
    CBreakString line;
    ASSERT_TRUE(f.ReadLine(&line));
    f.SkipWhiteSpace();
    ULONGLONG noted = f.GetPosition();
    int lineBefore = f.GetLineNumber();
    char c;
    for (int i = 0; i < 12 && f.Read(&c, 1) == 1;) // reads over two line ends
        ++i;
    EXPECT_EQ(f.GetLineNumber(), 3);
    f.Seek(static_cast<LONGLONG>(noted) - static_cast<LONGLONG>(f.GetPosition()), CFile::current);
    EXPECT_EQ(f.GetPosition(), noted);
    EXPECT_EQ(f.GetLineNumber(), lineBefore);
    ASSERT_TRUE(f.ReadToDelimit(&token));
    EXPECT_EQ(bytes(token), "W12");
    EXPECT_EQ(f.GetLineNumber(), 2);
}

TEST_P(TextFileTest, SeeksOutsideTheFileAreClampedOrRefused)
{
    CTextFile& f = open("abc\ndef\n");
    EXPECT_EQ(f.Seek(100, CFile::begin), 8u);
    EXPECT_EQ(f.GetLineNumber(), 2);
    CBreakString line("kept");
    EXPECT_FALSE(f.ReadLine(&line));
    EXPECT_EQ(f.Seek(-100, CFile::current), 8u); // refused: stays at the end
    EXPECT_EQ(f.Seek(-4, CFile::end), 4u);
    ASSERT_TRUE(f.ReadLine(&line));
    EXPECT_EQ(bytes(line), "def");
    EXPECT_EQ(f.Seek(0x7fffffffffffffffLL, CFile::current), 8u);
}

TEST_P(TextFileTest, AClosedOrUnopenedFileReadsAsTheEnd)
{
    CTextFile never(GetParam());
    CBreakString line;
    CString token;
    int i = 0;
    double d = 0;
    char c;
    EXPECT_FALSE(never.ReadLine(&line));
    EXPECT_FALSE(never.ReadToDelimit(&token));
    EXPECT_FALSE(never.ReadInteger(&i));
    EXPECT_FALSE(never.ReadDouble(&d));
    EXPECT_EQ(never.Read(&c, 1), 0u);
    EXPECT_EQ(never.GetPosition(), 0u);
    EXPECT_EQ(never.GetFileLength(), 0u);
    EXPECT_EQ(never.Seek(5, CFile::begin), 0u);
    never.SkipWhiteSpace();
    EXPECT_FALSE(never.Open((m_dir.path() / "missing").c_str(), 0));
    EXPECT_FALSE(never.ReadLine(&line));

    CTextFile& f = open("one\ntwo\nthree\n");
    ASSERT_TRUE(f.ReadLine(&line));
    ASSERT_TRUE(f.ReadLine(&line));
    f.Close();
    EXPECT_EQ(f.GetLineNumber(), 2); // kept for the error text
    EXPECT_TRUE(f.GetFileName() == m_name.c_str());
    EXPECT_FALSE(f.ReadLine(&line));
    EXPECT_EQ(f.GetPosition(), 0u);
    ASSERT_TRUE(f.Open(m_name.c_str(), 0));
    EXPECT_EQ(f.GetLineNumber(), 1);
    ASSERT_TRUE(f.ReadLine(&line));
    EXPECT_EQ(bytes(line), "one");
}

TEST_P(TextFileTest, AHugeLineWithoutAnEndIsOneLine)
{
    std::string huge(300000, 'x');
    huge[1234] = '\0';
    CTextFile& f = open(huge);
    CBreakString line;
    ASSERT_TRUE(f.ReadLine(&line));
    EXPECT_EQ(bytes(line), huge);
    EXPECT_EQ(f.GetLineNumber(), 1);
    EXPECT_FALSE(f.ReadLine(&line));
    f.Seek(0, CFile::begin);
    CString token;
    ASSERT_TRUE(f.ReadToDelimit(&token));
    EXPECT_EQ(token.GetLength(), 300000);
}

TEST_P(TextFileTest, WritingGoesToTheReadPosition)
{
    std::string name = m_dir.write("rw.txt", "abc\ndef\n");
    CTextFile f(GetParam());
    ASSERT_TRUE(f.Open(name.c_str(), CFile::modeReadWrite));
    CBreakString line;
    ASSERT_TRUE(f.ReadLine(&line));
    f.Write("XY\n", 3);
    EXPECT_EQ(f.GetPosition(), 7u);
    EXPECT_EQ(f.GetLineNumber(), 2);
    ASSERT_TRUE(f.ReadLine(&line));
    EXPECT_EQ(bytes(line), "");
    EXPECT_EQ(f.GetLineNumber(), 3);
    f.Close();
    EXPECT_EQ(testsupport::readFile(name), "abc\nXY\n\n");
}

TEST_P(TextFileTest, AByteOrderMarkAtTheStartIsNoPartOfTheText)
{
    CTextFile& f = open("\xEF\xBB\xBFST\r\n  J1 G1\r\n");
    EXPECT_EQ(f.GetPosition(), 3u);
    EXPECT_EQ(f.GetLineNumber(), 1);
    CBreakString line;
    ASSERT_TRUE(f.ReadLine(&line));
    EXPECT_EQ(bytes(line), "ST");
    EXPECT_EQ(f.Seek(0, CFile::begin), 3u); // no seek goes before it
    EXPECT_EQ(f.Seek(-100, CFile::current), 3u);
    CString token;
    ASSERT_TRUE(f.ReadToDelimit(&token));
    EXPECT_EQ(bytes(token), "ST");
    f.SeekToEnd();
    f.Seek(-7, CFile::end);
    ASSERT_TRUE(f.ReadToDelimit(&token));
    EXPECT_EQ(bytes(token), "J1");
    EXPECT_EQ(f.GetLineNumber(), 2);

    // A file of nothing but the mark holds no text; a mark elsewhere, or
    // half of one, is text.
    CTextFile& empty = open("\xEF\xBB\xBF");
    EXPECT_EQ(empty.GetPosition(), empty.GetFileLength());
    EXPECT_FALSE(empty.ReadLine(&line));
    for (const std::string content : {"a\xEF\xBB\xBF", "\xEF\xBBST", "\xEF\xBB"}) {
        SCOPED_TRACE(testing::PrintToString(content));
        CTextFile& g = open(content);
        EXPECT_EQ(g.GetPosition(), 0u);
        ASSERT_TRUE(g.ReadLine(&line));
        EXPECT_EQ(bytes(line), content);
    }
}

// Bytes in memory read exactly as a file of the same bytes: lines, tokens,
// numbers, positions and line numbers, also after seeks.
TEST_P(TextFileTest, BytesInMemoryReadAsAFileOfThem)
{
    auto trace = [](CTextFile& f) {
        std::string seen;
        CBreakString line;
        CString token;
        auto note = [&](const std::string& what) {
            seen += what + "@" + std::to_string(f.GetPosition()) + ":" +
                    std::to_string(f.GetLineNumber()) + "|";
        };
        note("open");
        if (f.ReadToDelimit(&token))
            note(bytes(token));
        while (f.ReadLine(&line))
            note(bytes(line));
        note("end" + std::to_string(f.GetFileLength()));
        f.Seek(4, CFile::begin);
        note("seek");
        f.Seek(-3, CFile::current);
        note("back");
        if (f.ReadToDelimit(&token))
            note(bytes(token));
        return seen;
    };
    for (const std::string content :
         {"ST\r\n  J1 G1\r\n\r\n** x\rEN", "\xEF\xBB\xBFST\nB1\n", "a\n\nb"}) {
        SCOPED_TRACE(testing::PrintToString(content));
        const std::string fromFile = trace(open(content));
        std::string fromMemory;
        CTextFile memory(GetParam());
        ASSERT_TRUE(memory.OpenBytes("memory.nc1", content.data(), content.size()));
        fromMemory = trace(memory);
        EXPECT_EQ(fromMemory, fromFile);
        EXPECT_TRUE(memory.GetFileName() == "memory.nc1");
        CBreakString line;
        memory.Write("x", 1); // nothing is written
        memory.Close();
        EXPECT_FALSE(memory.ReadLine(&line));
        EXPECT_EQ(memory.GetFileLength(), 0u);
    }
    CTextFile none(GetParam());
    EXPECT_FALSE(none.OpenBytes("none", nullptr, 5));
    EXPECT_TRUE(none.OpenBytes("empty", nullptr, 0));
    EXPECT_EQ(none.GetPosition(), none.GetFileLength());
}

INSTANTIATE_TEST_SUITE_P(BufferSizes, TextFileTest, ::testing::Values(1, 2, 3, 7, 64 * 1024),
                         [](const auto& info) { return "Buffer" + std::to_string(info.param); });

// Every reader failure text ends with the file and the line being read.
TEST(FileAndLine, EndsAFailureTextOnceWithTheFileAndTheLineBeingRead)
{
    const std::string content = "ST\r\n  J1\r\n";
    CTextFile file;
    ASSERT_TRUE(file.OpenBytes("/parts/B1.nc1", content.data(), content.size()));
    CBreakString line;
    file.ReadLine(&line);
    file.ReadLine(&line);
    const CString text = AppendFileAndLine("Illegal Surface. x", file);
    EXPECT_EQ(bytes(text), "Illegal Surface. x\r\nFile Name:/parts/B1.nc1\r\nLine:2");
    EXPECT_EQ(bytes(AppendFileAndLine(text, file)), bytes(text)); // already ends with it
    EXPECT_EQ(bytes(AppendFileAndLine("", file, "Datei:", "Zeile:")),
              "\r\nDatei:/parts/B1.nc1\r\nZeile:2");
    file.Close(); // the name and number stay for the report
    EXPECT_EQ(bytes(FileAndLineText(file)), "File Name:/parts/B1.nc1\r\nLine:2");
    EXPECT_EQ(bytes(FileAndLineText(file.GetFileName(), 7, "Datei:", "Zeile:")),
              "Datei:/parts/B1.nc1\r\nZeile:7");
}
