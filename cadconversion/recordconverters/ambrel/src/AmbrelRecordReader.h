// AmbrelRecordReader: the Ambrel CAD system's records: three numbers behind
// the section, texts as read, "FL" stored as "FB", tool shapes as read.
#pragma once

#include "recordconverters/ShapeSizeRecordReader.h"

#include <utility>

class AmbrelRecordReader : public ShapeSizeRecordReader {
public:
    explicit AmbrelRecordReader(PartCreator createPart = createRegisteredPart)
        : ShapeSizeRecordReader({CTool::ShapeRule::AsGiven, true, ".\\Convert", 520},
                                std::move(createPart))
    {
    }
};
