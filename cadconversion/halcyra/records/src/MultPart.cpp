// CMultPart: a piece of a mult.
#include "halcyra/MultPart.h"

#include "RecordText.h"

#include "com/Bstr.h"

#include <memory>

namespace {
struct BstrFree {
    void operator()(OLECHAR* bstr) const { SysFreeString(bstr); }
};
using OwnedBstr = std::unique_ptr<OLECHAR, BstrFree>;
} // namespace

CMultPart::CMultPart(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark, LONG nQuantity)
    : Job(nullptr), Group(nullptr), Mark(nullptr), Quantity(nQuantity)
{
    // Copied so that a failing copy frees the ones already made.
    OwnedBstr job(bstrCopy(bstrJob));
    OwnedBstr group(bstrCopy(bstrGroup));
    OwnedBstr mark(bstrCopy(bstrMark));
    Job = job.release();
    Group = group.release();
    Mark = mark.release();
}

CMultPart::~CMultPart()
{
    SysFreeString(Job);
    SysFreeString(Group);
    SysFreeString(Mark);
}
