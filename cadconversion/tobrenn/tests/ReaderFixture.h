// The fixture of the reader's tests (the converters' reader fixture): a
// reader of each version whose parts are RecordingParts, and a builder for
// the files.
#pragma once

#include "MachineFileReader.h"

#include "convertertest/ReaderFixture.h"
#include "convertertest/RecordingPart.h"

#include "com/Bstr.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

// A machine part file. Lengths in tenths of a millimetre as the file has
// them (2540 is 10 inches); the holes as their lines stand.
struct MachineFile {
    std::string mark = "B12";
    std::string designation = "W12X26";
    std::string code = "B";
    std::string quantity = "3";
    std::string depth = "3104";
    std::string webThickness = "58";
    std::string flangeWidth = "2540";
    std::string flangeThickness = "97";
    std::string ignored = "0 0 0";
    std::string length = "50800";
    std::string tools = "22 22 22 26 26 26 22X40 22X40 22X40";
    std::vector<std::string> holes;
    std::string count; // empty: one more than the hole lines
    std::string eol = "\r\n";

    std::string text() const
    {
        std::string file = mark + eol + designation + eol + code + " " + quantity + eol + depth +
                           " " + webThickness + " " + flangeWidth + " " + flangeThickness + eol +
                           ignored + eol + length + eol + tools + eol +
                           (count.empty() ? std::to_string(holes.size() + 1) : count) + eol;
        for (const std::string& hole : holes)
            file += hole + eol;
        return file;
    }
};

using convertertest::RecordedOperation;
using convertertest::RecordingPart;
using ReadResult = convertertest::ReadResult<RecordingPart>;

inline const MachineFileVersion& versionOf(int version)
{
    return version == 3 ? kVersion30 : version == 2 ? kVersion20 : kVersion10;
}

class ReaderTest : public convertertest::ReaderFixture<RecordingPart> {
protected:
    ReaderTest() : ReaderFixture("tobrenn-reader") {}
    void dropReader() override { m_reader.reset(); }

    // The reader of a version (3, 2 or 1), made anew when the version changes.
    MachineFileReader& reader(int version)
    {
        if (!m_reader || &versionOf(version) != m_readerVersion) {
            m_reader.reset();
            m_readerVersion = &versionOf(version);
            m_reader.emplace(*m_readerVersion, partCreator());
        }
        return *m_reader;
    }

    std::string writeFile(const std::string& content, const std::string& name = "part.txt")
    {
        return ReaderFixture::writeFile(content, name);
    }

    HRESULT setFile(int version, const std::string& path, std::string* text = nullptr)
    {
        return setFileOf(reader(version), path, text);
    }

    ReadResult read(int version)
    {
        return readWith(reader(version), &MachineFileReader::ReadPart, 0, 0);
    }

    // Writes the file, sets it and reads one part.
    ReadResult convert(int version, const std::string& content)
    {
        EXPECT_EQ(setFile(version, writeFile(content)), S_OK);
        return read(version);
    }
    ReadResult convert(int version, const MachineFile& file)
    {
        return convert(version, file.text());
    }

private:
    const MachineFileVersion* m_readerVersion = nullptr;
    std::optional<MachineFileReader> m_reader;
};

// Tenths of a millimetre and micrometres in inches.
inline constexpr double kTenth = 1 / 254.0;
inline constexpr double kMicrometre = 1 / 25400.0;
