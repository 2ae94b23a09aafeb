// The frame of the parts' SaveToTarsis: a quantity the database cannot hold
// is refused before anything is sent; every failure of the save is
// reported as guardedSave reports it; after any failure the thread's shared
// Tarsis servers are dropped, so the next save starts with new ones.
#pragma once

#include "QuantityRange.h"
#include "SaveGuard.h"
#include "TarsisSession.h"

#include "com/ComBstr.h"

// shapeAdvice follows an undefined shape's text (guardedSave).
template <class Class, class Save>
HRESULT savePart(REFIID iid, const char* shapeAdvice, TarsisSession& session, const CComBSTR& job,
                 const CComBSTR& group, const CComBSTR& mark, LONG quantity, Save&& save)
{
    const HRESULT hr =
        guardedSave<Class>(iid, u"Com Error while SaveToTarsis", shapeAdvice, [&]() -> HRESULT {
            if (const auto refusal = quantityRefusal(job, group, mark, quantity))
                return Class::Error(refusal->c_str(), iid, DISP_E_OVERFLOW);
            save();
            return S_OK;
        });
    if (FAILED(hr))
        session.drop();
    return hr;
}
