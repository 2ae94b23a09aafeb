// The Tolvin records: texts and tool shapes as read, "FL" kept and
// described by the general row (d1 as a fraction, d2 as a decimal, both
// without delimiters).
#include "TolvinRecordReader.h"
#include "ShapeSizeVariantTests.h"

namespace {

struct Tolvin {
    using Reader = TolvinRecordReader;
    static constexpr const char* kFLSection = "FL";
    static constexpr const char* kFLDescription = "405";
};

INSTANTIATE_TYPED_TEST_SUITE_P(Tolvin, ShapeSizeVariantTest, Tolvin);

} // namespace
