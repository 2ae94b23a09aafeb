// The fixture of the record readers' tests (the converters' reader
// fixture): a reader whose parts are RecordingParts, a new one per
// ReadPart.
#pragma once

#include "recordconverters/RecordReader.h"

#include "convertertest/ReaderFixture.h"
#include "convertertest/RecordingPart.h"

#include "com/Bstr.h"

#include <optional>
#include <string>
#include <vector>

using convertertest::RecordingPart;
using ReadResult = convertertest::ReadResult<RecordingPart>;

// Reader is constructible from a RecordReader::PartCreator.
template <class Reader>
class RecordReaderTest : public convertertest::ReaderFixture<RecordingPart> {
protected:
    RecordReaderTest() : ReaderFixture("record-reader")
    {
        m_newPartPerCreation = true;
        m_partBeforeRead = reinterpret_cast<IUnknown*>(0x1); // the reader must overwrite it
    }

    void SetUp() override
    {
        ReaderFixture::SetUp();
        m_reader.emplace(partCreator());
    }
    void dropReader() override { m_reader.reset(); }

    std::string writeFile(const std::string& content, const std::string& name = "export.txt")
    {
        return ReaderFixture::writeFile(content, name);
    }

    HRESULT setFile(const std::string& path, std::string* text = nullptr)
    {
        return setFileOf(*m_reader, path, text);
    }

    ReadResult read() { return readWith(*m_reader, &RecordReader::ReadPart, 0, 0); }

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

    std::optional<Reader> m_reader;
};
