// TolvinRecordReader: the Tolvin CAD system's records: three numbers behind
// the section, texts as read, "FL" kept, tool shapes as read.
#pragma once

#include "recordconverters/ShapeSizeRecordReader.h"

#include <utility>

class TolvinRecordReader : public ShapeSizeRecordReader {
public:
    explicit TolvinRecordReader(PartCreator createPart = createRegisteredPart)
        : ShapeSizeRecordReader({CTool::ShapeRule::AsGiven, false, ".\\Convert", 527},
                                std::move(createPart))
    {
    }
};
