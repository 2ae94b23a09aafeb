// ReaderFixture: what the tests of every converter's part reader share:
// COM on the test thread, a temporary folder for the files read (the
// maker's error log goes there too), the recording part(s) the reader
// creates through partCreator(), the result of a ReadPart call and the
// file-and-line end of every failure text. A converter's fixture derives
// from it, makes its reader with partCreator() and destroys it in
// dropReader().
//
//   class ReaderTest : public convertertest::ReaderFixture<RecordingPart> {
//   protected:
//       ReaderTest() : ReaderFixture("my-reader") {}
//       void SetUp() override { ReaderFixture::SetUp(); m_reader.emplace(partCreator()); }
//       void dropReader() override { m_reader.reset(); }
//       ...  readResult(reader.ReadPart(&unknown, ..., &text), unknown, textOf(text))
//   };
//
// Header-only, for GoogleTest programs that link converter_test_support.
#pragma once

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryFolder.h"
#include "vlmrlib/CString.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace convertertest {

// What one ReadPart call left.
template <class Part>
struct ReadResult {
    HRESULT hr = S_OK;
    std::string text;
    // The recording part handed out through the out-parameter; null when
    // none was.
    const Part* part = nullptr;
};

// A reader's error text, all its bytes.
inline std::string textOf(const CString& text)
{
    return std::string(text, static_cast<std::size_t>(text.GetLength()));
}
// A reader's error text handed out as a BSTR, which this frees.
inline std::string takeText(BSTR text)
{
    std::string narrow = narrowFromBstr(text);
    SysFreeString(text);
    return narrow;
}

// "File Name:<path>\r\nLine:<line>", the end of every reader failure text.
inline std::string fileAndLine(const std::string& path, int line)
{
    return "File Name:" + path + "\r\nLine:" + std::to_string(line);
}

// Part: a recording double of the part interface the reader creates
// (QueryInterface, references(), failures).
template <class Part>
class ReaderFixture : public ::testing::Test {
protected:
    explicit ReaderFixture(const std::string& folderName) : m_folder(folderName) {}

    void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
    void TearDown() override
    {
        dropReader();
        EXPECT_EQ(m_part.references(), 1u) << "the reader leaves no reference to its part";
        for (const auto& part : m_newParts)
            EXPECT_EQ(part->references(), 1u) << "a reference to a part is left";
        CoUninitialize();
    }
    // Destroys the reader: it may hold a reference to its last part till then.
    virtual void dropReader() = 0;

    // How the reader creates its parts: m_part each time, or with
    // m_newPartPerCreation a new part (told m_partFailures) each time;
    // REGDB_E_CLASSNOTREG while m_failCreation.
    std::function<HRESULT(IUnknown**)> partCreator()
    {
        return [this](IUnknown** pp) {
            ++m_partsCreated;
            m_referencesAtCreation.push_back(m_part.references());
            if (m_failCreation)
                return REGDB_E_CLASSNOTREG;
            Part* part = &m_part;
            if (m_newPartPerCreation) {
                m_newParts.push_back(std::make_unique<Part>());
                part = m_newParts.back().get();
                part->failures = m_partFailures;
            }
            return part->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(pp));
        };
    }

    // The result of a ReadPart call that answered hr, left unknown in its
    // out-parameter and text as its error text; releases the part.
    ReadResult<Part> readResult(HRESULT hr, IUnknown* unknown, std::string text)
    {
        ReadResult<Part> result{hr, std::move(text), partOf(unknown)};
        EXPECT_TRUE(unknown == nullptr || result.part) << "the out-parameter holds no test part";
        if (result.part)
            unknown->Release();
        return result;
    }

    // Writes a file into the folder and answers its path; it is the file
    // where() names.
    std::string writeFile(const std::string& content, const std::string& name)
    {
        m_path = m_folder.write(name, content);
        return m_path;
    }

    // "\r\nFile Name:<the file last written>\r\nLine:<line>", as every
    // reader failure text ends.
    std::string where(int line) const { return "\r\n" + fileAndLine(m_path, line); }

    const testsupport::TemporaryFolder m_folder;
    const std::filesystem::path m_dir = m_folder.path();
    // The maker's error log takes the failures that end a read.
    const testsupport::ScopedEnvironment m_dataHome{"XDG_DATA_HOME", (m_dir / "data").string()};
    std::string m_path; // the file last written
    Part m_part;
    bool m_failCreation = false;
    bool m_newPartPerCreation = false;
    std::map<std::string, HRESULT> m_partFailures; // given to each new part
    std::vector<std::unique_ptr<Part>> m_newParts; // one per creation
    int m_partsCreated = 0;
    std::vector<ULONG> m_referencesAtCreation; // of m_part, at each creation

private:
    const Part* partOf(IUnknown* unknown) const
    {
        if (!unknown)
            return nullptr;
        if (unknown == static_cast<const IUnknown*>(&m_part))
            return &m_part;
        for (const auto& part : m_newParts)
            if (unknown == static_cast<const IUnknown*>(part.get()))
                return part.get();
        return nullptr;
    }
};

} // namespace convertertest
