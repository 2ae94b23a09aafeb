// The reader of the framework's tests: records of the three-number kind,
// texts stored as read, "FL" stored as "FB".
#pragma once

#include "recordconverters/ShapeSizeRecordReader.h"

#include <utility>

class TestReader : public ShapeSizeRecordReader {
public:
    static constexpr const char* kHoleLinesSource = "TestReader";

    explicit TestReader(PartCreator createPart)
        : ShapeSizeRecordReader({CTool::ShapeRule::AsGiven, true, kHoleLinesSource, 7},
                                std::move(createPart))
    {
    }
};
