// The fixture of the reader's tests (the converters' reader fixture): a
// reader whose parts are RecordingParts.
#pragma once

#include "DXFPartReader.h"

#include "convertertest/ReaderFixture.h"
#include "convertertest/RecordingPart.h"

#include "com/Bstr.h"

#include <optional>
#include <string>

using convertertest::RecordingPart;
using ReadResult = convertertest::ReadResult<RecordingPart>;

class ReaderTest : public convertertest::ReaderFixture<RecordingPart> {
protected:
    ReaderTest() : ReaderFixture("ostrane-reader") {}

    void SetUp() override
    {
        ReaderFixture::SetUp();
        m_reader.emplace(partCreator());
    }
    void dropReader() override { m_reader.reset(); }

    std::string writeFile(const std::string& content, const std::string& name = "part.dxf")
    {
        return ReaderFixture::writeFile(content, name);
    }

    HRESULT setFile(const std::string& path, std::string* text = nullptr)
    {
        return setFileOf(*m_reader, path, text);
    }

    ReadResult read() { return readWith(*m_reader, &DXFPartReader::ReadPart); }

    // Writes the drawing, sets it and reads one part.
    ReadResult convert(const std::string& content)
    {
        EXPECT_EQ(setFile(writeFile(content)), S_OK);
        return read();
    }

    // The ending every ReadPart failure text has: the last drawing written.
    std::string fileAndLine(int line) const { return convertertest::fileAndLine(m_path, line); }

    std::optional<DXFPartReader> m_reader;
};
