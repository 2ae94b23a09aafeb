// CTolvinConvert: the converter class of the Tolvin CAD system's record export files
// (aggregatable, answers IDispatch as its own dual interface).
#pragma once

#include "TolvinRecordReader.h"
#include "tolvin/TolvinLib.h"

#include "recordconverters/RecordConvert.h"

class CTolvinConvert
    : public CRecordConvert<CTolvinConvert, &CLSID_TolvinConvert, ITolvinConvert,
                            &IID_ITolvinConvert, &LIBID_TOLVINLib, TolvinRecordReader> {
public:
    static constexpr const char* kConversionName = "Tolvin";
};
