# Run by cadconv_resources() at build time: writes OUTPUT, a C++ source that
# adds the bytes of INPUT to its module's resource table as TYPE/ID.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT} by cadconv_resources(); do not edit.
#include \"com/server/Resources.h\"

namespace {
// The bytes, then a NUL that is not counted.
const unsigned char data[] = {${bytes}0x00};
const comserver::ResourceRegistration registration(\"${TYPE}\", ${ID}, data, ${size});
} // namespace
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
