// The Ambrel records: texts and tool shapes as read, "FL" stored and
// described as a flat bar (thickness d3, then width d1).
#include "AmbrelRecordReader.h"
#include "ShapeSizeVariantTests.h"

namespace {

struct Ambrel {
    using Reader = AmbrelRecordReader;
    static constexpr const char* kFLSection = "FB";
    static constexpr const char* kFLDescription = "0384";
};

INSTANTIATE_TYPED_TEST_SUITE_P(Ambrel, ShapeSizeVariantTest, Ambrel);

} // namespace
