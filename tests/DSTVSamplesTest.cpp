// The real-world DSTV files of the shared samples folder through every
// DSTV part converter into the database: each converts, or fails with a
// text and E_CONVERT_READ; a part that converts is saved, or refused for a
// shape the database does not know.
#include "ImportFixture.h"

#include <algorithm>
#include <iostream>

namespace {

TEST_F(ImportTest, SampleFilesConvertOrFailClearly)
{
    const std::filesystem::path samples = std::filesystem::path(CADCONV_SAMPLES_DIR) / "dstv";
    if (!std::filesystem::is_directory(samples))
        GTEST_SKIP() << samples << " is not here";
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(samples))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());

    for (const auto& [name, clsid] : m_converters) {
        if (name.rfind("DSTV", 0) != 0)
            continue; // a converter of another format
        int converted = 0, stored = 0;
        for (const std::filesystem::path& file : files) {
            SCOPED_TRACE(name + ": " + file.filename().string());
            const ImportOutcome outcome = import(name, file.string(), 1, 0);
            ASSERT_EQ(outcome.setFile, S_OK);
            ASSERT_FALSE(outcome.reads.empty());
            if (outcome.reads[0] == S_OK) {
                ++converted;
                EXPECT_EQ(outcome.reads, (std::vector<HRESULT>{S_OK, S_FALSE}));
                ASSERT_EQ(outcome.saves.size(), 1u);
                if (outcome.saves[0] == S_OK) {
                    ++stored;
                    EXPECT_TRUE(store()->findPart(outcome.parts.at(0)));
                } else {
                    EXPECT_EQ(outcome.saves[0], E_CONVERT_UNDEFINED_SHAPE);
                    ASSERT_EQ(outcome.errors.size(), 1u);
                    EXPECT_NE(outcome.errors[0].find("undefined shape"), std::string::npos);
                }
            } else {
                EXPECT_EQ(outcome.reads, (std::vector<HRESULT>{E_CONVERT_READ}));
                ASSERT_EQ(outcome.errors.size(), 1u);
                EXPECT_FALSE(outcome.errors[0].empty());
                std::cout << name << ": " << file.filename().string() << ": " << outcome.errors[0]
                          << "\n";
            }
        }
        std::cout << name << ": " << converted << " of " << files.size() << " converted, " << stored
                  << " stored\n";
    }
}

} // namespace
