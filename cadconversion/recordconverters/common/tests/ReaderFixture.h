// The fixture of the record readers' tests: a temporary folder for export
// files, a reader whose parts are RecordingParts (a new one per ReadPart),
// and the maker's error log kept in the folder.
#pragma once

#include "RecordingPart.h"

#include "recordconverters/RecordReader.h"

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct ReadResult {
    HRESULT hr = S_OK;
    std::string text;
    // The part handed out through the out-parameter, null when none was.
    const RecordingPart* part = nullptr;
};

// Reader is constructible from a RecordReader::PartCreator.
template <class Reader>
class RecordReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        m_reader.emplace([this](IUnknown** pp) {
            if (m_failCreation)
                return REGDB_E_CLASSNOTREG;
            m_parts.push_back(std::make_unique<RecordingPart>());
            m_parts.back()->failures = m_partFailures;
            return m_parts.back()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(pp));
        });
    }
    void TearDown() override
    {
        m_reader.reset();
        for (const auto& part : m_parts)
            EXPECT_EQ(part->references(), 1u) << "a reference to a part is left";
        CoUninitialize();
    }

    std::string writeFile(const std::string& content, const std::string& name = "export.txt")
    {
        return m_folder.write(name, content);
    }

    HRESULT setFile(const std::string& path, std::string* text = nullptr)
    {
        BSTR name = bstrFromNarrow(path);
        CString error;
        const HRESULT hr = m_reader->SetFile(name, &error);
        SysFreeString(name);
        if (text)
            *text = static_cast<const char*>(error);
        return hr;
    }

    ReadResult read()
    {
        ReadResult result;
        IUnknown* unknown = reinterpret_cast<IUnknown*>(0x1); // the reader must overwrite it
        CString error;
        result.hr = m_reader->ReadPart(&unknown, 0, 0, &error);
        result.text = static_cast<const char*>(error);
        for (const auto& part : m_parts)
            if (unknown == static_cast<IUnknown*>(part.get()))
                result.part = part.get();
        EXPECT_TRUE(unknown == nullptr || result.part) << "the out-parameter was not written";
        if (result.part)
            unknown->Release();
        return result;
    }

    // Writes the file, sets it and reads one record.
    ReadResult convert(const std::string& content)
    {
        EXPECT_EQ(setFile(writeFile(content)), S_OK);
        return read();
    }

    // Every ReadPart result until the first that is not S_OK.
    std::vector<ReadResult> readAll(const std::string& content)
    {
        EXPECT_EQ(setFile(writeFile(content)), S_OK);
        std::vector<ReadResult> results;
        do
            results.push_back(read());
        while (results.back().hr == S_OK && results.size() < 1000);
        return results;
    }

    const testsupport::TemporaryFolder m_folder{"record-reader"};
    const std::filesystem::path m_dir = m_folder.path();
    // The maker's error log, where a failing hole-line result goes.
    const testsupport::ScopedEnvironment m_dataHome{"XDG_DATA_HOME", (m_dir / "data").string()};
    std::optional<Reader> m_reader;
    std::vector<std::unique_ptr<RecordingPart>> m_parts; // one per ReadPart
    std::map<std::string, HRESULT> m_partFailures;       // given to each new part
    bool m_failCreation = false;
};
