// The fixture of the reader's tests (the converters' reader fixture): a
// reader whose parts are RecordingParts, and a builder for the ST header.
#pragma once

#include "DSTVPartReader.h"
#include "RecordingPart.h"

#include "convertertest/ReaderFixture.h"

#include "com/Bstr.h"

#include <optional>
#include <string>

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

using ReadResult = convertertest::ReadResult<RecordingPart>;

class ReaderTest : public convertertest::ReaderFixture<RecordingPart> {
protected:
    ReaderTest() : ReaderFixture("lunkett-reader") {}

    void SetUp() override
    {
        ReaderFixture::SetUp();
        m_reader.emplace(partCreator());
    }
    void dropReader() override { m_reader.reset(); }

    std::string writeFile(const std::string& content, const std::string& name = "part.nc1")
    {
        return ReaderFixture::writeFile(content, name);
    }

    HRESULT setFile(const std::string& path, std::string* text = nullptr)
    {
        return setFileOf(*m_reader, path, text);
    }

    ReadResult read(ReadVariant variant = ReadVariant::Standard, LONG bIsMetric = 0,
                    LONG bIsToolMetric = 0)
    {
        switch (variant) {
        case ReadVariant::SDS6_336:
            return readWith(*m_reader, &DSTVPartReader::ReadPartSDS6_336, bIsMetric, bIsToolMetric);
        case ReadVariant::SDSEarlyVersions:
            return readWith(*m_reader, &DSTVPartReader::ReadPartSDSEarlyVersions, bIsMetric,
                            bIsToolMetric);
        case ReadVariant::Standard:
            break;
        }
        return readWith(*m_reader, &DSTVPartReader::ReadPart, bIsMetric, bIsToolMetric);
    }

    // Writes the file, sets it and reads one part.
    ReadResult convert(const std::string& content, ReadVariant variant = ReadVariant::Standard,
                       LONG bIsMetric = 0, LONG bIsToolMetric = 0)
    {
        EXPECT_EQ(setFile(writeFile(content)), S_OK);
        return read(variant, bIsMetric, bIsToolMetric);
    }

    std::optional<DSTVPartReader> m_reader;
};

inline constexpr double kMm = 1 / 25.4;
