// The inch texts of section descriptions, each written by the maker's
// formatter into a buffer of 24 characters.
#pragma once

#include "vlmrlib/CString.h"

namespace inchtext {

CString fraction(double inches);           // 3.5 -> "3-1/2"
CString fractionNoDelimits(double inches); // 3.5 -> "312"
CString decimal(double inches);            // 15.3 -> "15.3"
CString decimalNoDelimits(double inches);  // 15.3 -> "153"

} // namespace inchtext
