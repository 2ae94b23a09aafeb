// CAmbrelConvert: the converter class of the Ambrel CAD system's record export files
// (aggregatable, answers IDispatch as its own dual interface).
#pragma once

#include "AmbrelRecordReader.h"
#include "ambrel/AmbrelLib.h"

#include "recordconverters/RecordConvert.h"

class CAmbrelConvert
    : public CRecordConvert<CAmbrelConvert, &CLSID_AmbrelConvert, IAmbrelConvert,
                            &IID_IAmbrelConvert, &LIBID_AMBRELLib, AmbrelRecordReader> {
public:
    static constexpr const char* kConversionName = "Ambrel (SDS)";
};
