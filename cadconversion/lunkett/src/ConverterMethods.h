// What the DSTV converter classes' methods share: the error wrapper of a
// reader call with an error-text out-parameter (their ConversionName getter
// is the converters' getConversionName, halcyra/ConverterServer.h, which
// frees the incoming string).
// The wrapper passes S_OK and S_FALSE unchanged (a text is dropped);
// reports any other result with the reader's text ("Unknown Error" without
// one) against IVLMRConvert; and reports an exception that leaves the
// reader as "Unexpected Error" with E_UNEXPECTED.
#pragma once

#include "halcyra/ConverterServer.h"
#include "halcyra/HalcyraLib.h"

#include "com/ComBstr.h"
#include "vlmrlib/CString.h"

// CoClass is the converter class (its CComCoClass::Error reports); call
// takes the BSTR* for the text and answers the reader's result.
template <class CoClass, class Call>
HRESULT wrapReaderCall(Call call)
{
    try {
        CComBSTR text;
        const HRESULT hr = call(&text);
        if (hr == S_OK || hr == S_FALSE)
            return hr;
        if (text.Length() == 0)
            return CoClass::Error("Unknown Error", IID_IVLMRConvert, hr);
        return CoClass::Error(static_cast<LPCOLESTR>(text), IID_IVLMRConvert, hr);
    } catch (...) {
        return CoClass::Error("Unexpected Error", IID_IVLMRConvert, E_UNEXPECTED);
    }
}
