// The refusal of a quantity the database cannot hold.
#include "QuantityRange.h"

#include "com/Bstr.h"

std::optional<std::string> quantityRefusal(const CComBSTR& job, const CComBSTR& group,
                                           const CComBSTR& mark, LONG quantity)
{
    if (quantity >= kSmallestQuantity && quantity <= kLargestQuantity)
        return std::nullopt;
    const bool tooLarge = quantity > kLargestQuantity;
    return "Job " + narrowFromBstr(job) + " Group " + narrowFromBstr(group) + " Mark " +
           narrowFromBstr(mark) + " has a quantity of " + std::to_string(quantity) +
           (tooLarge ? ", more" : ", less") + " than the database can hold (" +
           std::to_string(tooLarge ? kLargestQuantity : kSmallestQuantity) + ")";
}
