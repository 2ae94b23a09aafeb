// CDSTVConvert1: the DSTV part converter for the Tolvin CAD system's
// output (aggregatable, answers IDispatch as its own dual interface).
#pragma once

#include "DSTVPartConverter.h"

class CDSTVConvert1 : public DSTVPartConverter<
                          CDSTVConvert1, &CLSID_DSTVConvert1,
                          IDispatchImpl<IDSTVConvert1, &IID_IDSTVConvert1, &LIBID_LUNKETTLib, 1, 0>,
                          &IID_IDSTVConvert1> {
public:
    static constexpr const char* kConversionName = "DSTV For Tolvin Ver : 1.0";
    static constexpr ReaderEntry kReaderEntry = &DSTVPartReader::ReadPart;

    DECLARE_REGISTRY_RESOURCEID(101)

    BEGIN_COM_MAP(CDSTVConvert1)
        COM_INTERFACE_ENTRY(IDSTVConvert1)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
        COM_INTERFACE_ENTRY2(IDispatch, IDSTVConvert1)
        COM_INTERFACE_ENTRY(IVLMRConvert)
    END_COM_MAP()

    BEGIN_CATEGORY_MAP(CDSTVConvert1)
        IMPLEMENTED_CATEGORY(CATID_VelmoraCadConversion)
    END_CATEGORY_MAP()
};
