// The quantity a part or mult can be stored with: the Tarsis writers take
// it as a 16-bit integer, so a larger one is refused before anything is
// written rather than stored as another number.
#pragma once

#include "com/ComBstr.h"

#include <optional>
#include <string>

inline constexpr LONG kLargestQuantity = 32767;
inline constexpr LONG kSmallestQuantity = -32768;

// The refusal's text for a quantity outside that range, else nothing:
// "Job J1 Group G1 Mark M1 has a quantity of 40000, more than the database
// can hold (32767)".
std::optional<std::string> quantityRefusal(const CComBSTR& job, const CComBSTR& group,
                                           const CComBSTR& mark, LONG quantity);
