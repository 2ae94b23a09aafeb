// CFerrickConvert: the converter class of the Ferrick CAD system's record export files
// (aggregatable, answers IDispatch as its own dual interface).
#pragma once

#include "FerrickRecordReader.h"
#include "ferrick/FerrickLib.h"

#include "recordconverters/RecordConvert.h"

class CFerrickConvert
    : public CRecordConvert<CFerrickConvert, &CLSID_FerrickConvert, IFerrickConvert,
                            &IID_IFerrickConvert, &LIBID_FERRICKLib, FerrickRecordReader> {
public:
    static constexpr const char* kConversionName = "Ferrick";
};
