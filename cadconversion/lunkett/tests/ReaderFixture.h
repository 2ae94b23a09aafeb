// The fixture of the reader's tests: a temporary folder for DSTV files, a
// reader whose parts are RecordingParts, and a builder for the ST header.
#pragma once

#include "DSTVPartReader.h"
#include "RecordingPart.h"

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "testing/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The 24 ST fields, in millimetres where they are lengths.
struct StHeader {
    std::string order = "J100";
    std::string drawing = "D7";
    std::string phase = "G2";
    std::string piece = "B12";
    std::string grade = "A992";
    std::string quantity = "3";
    std::string profile = "W12X26";
    std::string code = "I";
    std::string length = "6000";
    std::string height = "310";
    std::string flangeWidth = "165";
    std::string flangeThickness = "9.7";
    std::string webThickness = "5.8";
    std::string radius = "8.9";

    std::string text() const
    {
        std::string st = "ST\n";
        for (const std::string* field :
             {&order, &drawing, &phase, &piece, &grade, &quantity, &profile, &code, &length,
              &height, &flangeWidth, &flangeThickness, &webThickness, &radius})
            st += "  " + *field + "\n";
        st += "  38.7\n  1.2\n  0\n  0\n  0\n  0\n  -\n  -\n  -\n  -\n";
        return st;
    }
};

enum class ReadVariant { Standard, SDS6_336, SDSEarlyVersions };

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
            ++m_partsCreated;
            m_referencesAtCreation.push_back(m_part.references());
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

    std::string writeFile(const std::string& content, const std::string& name = "part.nc1")
    {
        m_lastFile = m_folder.write(name, content);
        return m_lastFile;
    }

    // The end of a failure text: the file last written and the line.
    std::string atLine(int line) const
    {
        return "\r\nFile Name:" + m_lastFile + "\r\nLine:" + std::to_string(line);
    }

    HRESULT setFile(const std::string& path, std::string* text = nullptr)
    {
        BSTR name = bstrFromNarrow(path);
        BSTR error = nullptr;
        HRESULT hr = m_reader->SetFile(name, &error);
        if (text)
            *text = narrowFromBstr(error);
        SysFreeString(error);
        SysFreeString(name);
        return hr;
    }

    ReadResult read(ReadVariant variant = ReadVariant::Standard, LONG bIsMetric = 0,
                    LONG bIsToolMetric = 0)
    {
        ReadResult result;
        IUnknown* part = nullptr;
        BSTR error = nullptr;
        switch (variant) {
        case ReadVariant::Standard:
            result.hr = m_reader->ReadPart(&part, bIsMetric, bIsToolMetric, &error);
            break;
        case ReadVariant::SDS6_336:
            result.hr = m_reader->ReadPartSDS6_336(&part, bIsMetric, bIsToolMetric, &error);
            break;
        case ReadVariant::SDSEarlyVersions:
            result.hr = m_reader->ReadPartSDSEarlyVersions(&part, bIsMetric, bIsToolMetric, &error);
            break;
        }
        result.text = narrowFromBstr(error);
        SysFreeString(error);
        result.partHandedOut = part == static_cast<IUnknown*>(&m_part);
        if (part)
            part->Release();
        return result;
    }

    // Writes the file, sets it and reads one part.
    ReadResult convert(const std::string& content, ReadVariant variant = ReadVariant::Standard,
                       LONG bIsMetric = 0, LONG bIsToolMetric = 0)
    {
        EXPECT_EQ(setFile(writeFile(content)), S_OK);
        return read(variant, bIsMetric, bIsToolMetric);
    }

    const testsupport::TemporaryFolder m_folder{"lunkett-reader"};
    const std::filesystem::path m_dir = m_folder.path();
    std::string m_lastFile;
    RecordingPart m_part;
    int m_partsCreated = 0;
    std::vector<ULONG> m_referencesAtCreation;
    bool m_failCreation = false;
    std::optional<DSTVPartReader> m_reader;
};

inline constexpr double kMm = 1 / 25.4;
