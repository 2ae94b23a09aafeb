// The error log file under the user's data directory, and ThrowHResult.
#include "vlmrexcept/CLog.h"
#include "vlmrexcept/CHResultException.h"
#include "vlmrexcept/CvmException.h"

#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Points XDG_DATA_HOME and HOME at a fresh directory for one test.
class LogTest : public ::testing::Test {
protected:
    std::vector<std::string> lines(const fs::path& file) const
    {
        std::vector<std::string> result;
        std::ifstream in(file);
        for (std::string line; std::getline(in, line);)
            result.push_back(line);
        return result;
    }
    fs::path logFile() const { return m_dir / "data" / "vlmr" / "log" / "error.log"; }

    const testsupport::TemporaryFolder m_folder{"vlmrlog"};
    const fs::path m_dir = m_folder.path();
    testsupport::ScopedEnvironment m_data{"XDG_DATA_HOME", (m_dir / "data").string()};
    const testsupport::ScopedEnvironment m_home{"HOME", (m_dir / "home").string()};
};

const std::regex entryPattern(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d (.*)\((-?\d+)\): (.*))");

} // namespace

TEST_F(LogTest, AppendsOneLinePerEntryWithTimeSourceAndText)
{
    CLog::LogError(".\\ListTmplt", 340, "In CListTmplt::RemoveAt and pNode is NULL");
    CLog::LogError("reader", 7, "first\r\nsecond");
    CLog::LogError(nullptr, 0, nullptr);

    std::vector<std::string> got = lines(logFile());
    ASSERT_EQ(got.size(), 3u);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(got[0], m, entryPattern)) << got[0];
    EXPECT_EQ(m[1], ".\\ListTmplt");
    EXPECT_EQ(m[2], "340");
    EXPECT_EQ(m[3], "In CListTmplt::RemoveAt and pNode is NULL");
    ASSERT_TRUE(std::regex_match(got[1], m, entryPattern)) << got[1];
    EXPECT_EQ(m[3], "first  second");
    ASSERT_TRUE(std::regex_match(got[2], m, entryPattern)) << got[2];
}

TEST_F(LogTest, RelativeDataHomeFallsBackToTheHomeDirectory)
{
    m_data.set("relative/dir");
    CLog::LogError("f", 1, "t");
    EXPECT_EQ(lines(m_dir / "home" / ".local" / "share" / "vlmr" / "log" / "error.log").size(), 1u);
}

TEST_F(LogTest, AnUnwritableLocationDropsTheEntryWithoutThrowing)
{
    std::ofstream(m_dir / "plainfile") << "x";
    m_data.set((m_dir / "plainfile").string());
    EXPECT_NO_THROW(CLog::LogError("f", 1, "t"));
}

TEST_F(LogTest, EntriesOfConcurrentThreadsStayWhole)
{
    const int threads = 8, perThread = 50;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([t] {
            std::string text = "thread " + std::to_string(t) + " " + std::string(200, 'a' + t);
            for (int i = 0; i < perThread; ++i)
                CLog::LogError("worker", i, text.c_str());
        });
    for (std::thread& w : workers)
        w.join();

    std::vector<std::string> got = lines(logFile());
    ASSERT_EQ(got.size(), static_cast<std::size_t>(threads * perThread));
    const std::regex whole(R"(.* worker\(\d+\): thread (\d) ([a-h])\2{199})");
    for (const std::string& line : got)
        ASSERT_TRUE(std::regex_match(line, whole)) << line;
}

TEST_F(LogTest, ThrowHResultRaisesAnExceptionOutsideTheFamilyAndLogsIt)
{
    bool caught = false;
    try {
        CLog::ThrowHResult(".\\FerrickConvert", 673, static_cast<HRESULT>(0x80040004));
    } catch (const CvmException&) {
        FAIL() << "a CvmException handler must not see it";
    } catch (const CHResultException& e) {
        caught = true;
        EXPECT_STREQ(e.GetFileName(), ".\\FerrickConvert");
        EXPECT_EQ(e.GetLine(), 673);
        EXPECT_EQ(e.GetHResult(), static_cast<HRESULT>(0x80040004));
        EXPECT_STREQ(e.GetMessage(), "HRESULT 0x80040004 at .\\FerrickConvert(673)");
    }
    EXPECT_TRUE(caught);
    std::vector<std::string> got = lines(logFile());
    ASSERT_EQ(got.size(), 1u);
    EXPECT_NE(got[0].find("FerrickConvert(673): HRESULT 0x80040004"), std::string::npos) << got[0];
}
