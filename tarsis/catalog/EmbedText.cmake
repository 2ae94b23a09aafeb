# cmake -DINPUT=file -DOUTPUT=file.cpp -DFUNCTION=ns::name -P EmbedText.cmake
# Writes a C++ source whose function returns the input file's bytes.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(REGEX REPLACE "^(.*)::([^:]+)$" "\\1" ns "${FUNCTION}")
string(REGEX REPLACE "^(.*)::([^:]+)$" "\\2" name "${FUNCTION}")
get_filename_component(source "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${source}; do not edit.
#include <string_view>

namespace ${ns} {
namespace {
const char kBytes[] = {${bytes} '\\0'};
}
std::string_view ${name}() { return {kBytes, sizeof kBytes - 1}; }
}  // namespace ${ns}
")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
