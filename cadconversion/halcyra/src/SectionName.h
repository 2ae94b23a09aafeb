// How the saves compare a part's section with the names their rules list:
// as the Tarsis shape catalog compares sections, without regard to case
// (ASCII letters only), so that a section the catalog knows as "L" gets the
// rules of "L" also when a converter wrote it "l". A null section is the
// empty one.
#pragma once

#include "com/Types.h"

#include <string_view>

bool sectionIs(BSTR section, std::u16string_view name);
