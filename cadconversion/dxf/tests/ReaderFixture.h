// The fixture of the reader's tests: a temporary folder for drawings and a
// reader whose parts are RecordingParts.
#pragma once

#include "DXFPartReader.h"
#include "RecordingPart.h"

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "testing/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

struct ReadResult {
    HRESULT hr = S_OK;
    std::string text;
    bool partHandedOut = false; // the recording part came back through the out-parameter
};

class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        m_reader.emplace([this](IUnknown** pp) {
            if (m_failCreation)
                return REGDB_E_CLASSNOTREG;
            return m_part.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(pp));
        });
    }
    void TearDown() override
    {
        m_reader.reset();
        EXPECT_EQ(m_part.references(), 1u) << "the reader leaves no reference to its part";
        CoUninitialize();
    }

    std::string writeFile(const std::string& content, const std::string& name = "part.dxf")
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
        IUnknown* part = nullptr;
        CString error;
        result.hr = m_reader->ReadPart(&part, &error);
        result.text = std::string(error, static_cast<std::size_t>(error.GetLength()));
        result.partHandedOut = part == static_cast<IUnknown*>(&m_part);
        if (part)
            part->Release();
        return result;
    }

    // Writes the drawing, sets it and reads one part.
    ReadResult convert(const std::string& content)
    {
        m_path = writeFile(content);
        EXPECT_EQ(setFile(m_path), S_OK);
        return read();
    }

    // The ending every ReadPart failure text has.
    std::string where(int line) const
    {
        return "File Name:" + m_path + "\r\nLine:" + std::to_string(line);
    }

    const testsupport::TemporaryFolder m_folder{"ostrane-reader"};
    const std::filesystem::path m_dir = m_folder.path();
    std::string m_path; // of the last convert
    RecordingPart m_part;
    bool m_failCreation = false;
    std::optional<DXFPartReader> m_reader;
};
