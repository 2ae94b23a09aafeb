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
//       HRESULT setFile(const std::string& path) { return setFileOf(*m_reader, path); }
//       ReadResult read() { return readWith(*m_reader, &MyReader::ReadPart, 0, 0); }
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
#include <tuple>
#include <type_traits>
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

// A reader's error text, all its bytes; one handed out as a BSTR is freed.
inline std::string takeText(const CString& text)
{
    return std::string(text, static_cast<std::size_t>(text.GetLength()));
}
inline std::string takeText(BSTR text)
{
    std::string narrow = narrowFromBstr(text);
    SysFreeString(text);
    return narrow;
}

// The type of a reader method's last parameter, its error text out-pointer.
template <class Method>
struct ErrorTextOf;
template <class Reader, class... Parameters>
struct ErrorTextOf<HRESULT (Reader::*)(Parameters...)> {
    using type = std::remove_pointer_t<
        std::tuple_element_t<sizeof...(Parameters) - 1, std::tuple<Parameters...>>>;
};

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

    // SetFile(name, error text) of a reader; its text into *text.
    template <class Reader>
    HRESULT setFileOf(Reader& reader, const std::string& path, std::string* text = nullptr)
    {
        typename ErrorTextOf<decltype(&Reader::SetFile)>::type error{};
        BSTR name = bstrFromNarrow(path);
        const HRESULT hr = reader.SetFile(name, &error);
        SysFreeString(name);
        const std::string errorText = takeText(error);
        if (text)
            *text = errorText;
        return hr;
    }

    // A ReadPart entry of a reader, entry(&part, arguments..., &error text),
    // with m_partBeforeRead in the out-parameter; releases the part handed
    // out, which must be a test part.
    template <class Reader, class Entry, class... Arguments>
    ReadResult<Part> readWith(Reader& reader, Entry entry, Arguments... arguments)
    {
        typename ErrorTextOf<Entry>::type error{};
        IUnknown* unknown = m_partBeforeRead;
        const HRESULT hr = (reader.*entry)(&unknown, arguments..., &error);
        ReadResult<Part> result{hr, takeText(error), partOf(unknown)};
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
    // What the out-parameter holds before a read (not null: the reader must
    // write it).
    IUnknown* m_partBeforeRead = nullptr;
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
