// CFile: open modes as the wizard's log uses them, seeks and refusals.
#include "vlmrlib/CFile.h"

#include "testing/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(CFile, CreateWithoutTruncateAppendsAfterSeekToEnd)
{
    const testsupport::TemporaryFolder dir("vlmrlib");
    std::string name = (dir.path() / "log.txt").string();
    const UINT logMode = CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite;
    for (const char* entry : {"CAD Conversion Begin\r\n", "Conversion On File Aborted\r\n"}) {
        CFile log;
        ASSERT_TRUE(log.Open(name.c_str(), logMode));
        log.SeekToEnd();
        log.Write(entry, static_cast<UINT>(std::char_traits<char>::length(entry)));
    }
    EXPECT_EQ(testsupport::readFile(name),
              "CAD Conversion Begin\r\nConversion On File Aborted\r\n");

    CFile truncating;
    ASSERT_TRUE(truncating.Open(name.c_str(), CFile::modeCreate | CFile::modeWrite));
    EXPECT_EQ(truncating.GetLength(), 0u);
}

TEST(CFile, ReadSeekAndPositionFollowTheOrigins)
{
    const testsupport::TemporaryFolder dir("vlmrlib");
    std::string name = dir.write("data.bin", std::string("0123456789", 10));
    CFile f;
    ASSERT_TRUE(f.Open(name.c_str(), CFile::modeRead));
    EXPECT_EQ(f.GetFileLength(), 10u);
    EXPECT_TRUE(f.GetFileName() == name.c_str());
    EXPECT_EQ(f.Seek(3, CFile::begin), 3u);
    EXPECT_EQ(f.Seek(2, CFile::current), 5u);
    EXPECT_EQ(f.Seek(-1, CFile::end), 9u);
    EXPECT_EQ(f.Seek(-20, CFile::current), 9u); // before the start: not moved
    char buf[8] = {};
    EXPECT_EQ(f.Read(buf, sizeof buf), 1u);
    EXPECT_EQ(buf[0], '9');
    EXPECT_EQ(f.Read(buf, sizeof buf), 0u);
    EXPECT_EQ(f.GetPosition(), 10u);
    f.Close();
    EXPECT_TRUE(f.GetFileName() == name.c_str());
    EXPECT_EQ(f.GetPosition(), 0u);
    EXPECT_EQ(f.GetLength(), 0u);
    EXPECT_EQ(f.Read(buf, sizeof buf), 0u);
}

TEST(CFile, OpenRefusesWhatIsNoRegularFile)
{
    const testsupport::TemporaryFolder dir("vlmrlib");
    std::string fifo = (dir.path() / "fifo").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (std::string name :
         {(dir.path() / "missing").string(), dir.path().string(), fifo, std::string()}) {
        SCOPED_TRACE(name);
        CFile f;
        EXPECT_FALSE(f.Open(name.c_str(), CFile::modeRead)); // a FIFO must not block the open
        EXPECT_EQ(f.GetLength(), 0u);
    }
    CFile f;
    EXPECT_FALSE(f.Open(nullptr, CFile::modeRead));
    EXPECT_FALSE(f.Open(dir.write("x", "x").c_str(), 0x3)); // no such access mode
}
