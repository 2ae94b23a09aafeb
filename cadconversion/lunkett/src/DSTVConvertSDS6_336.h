// CDSTVConvertSDS6_336: the DSTV part converter for SDS version 6.336
// (aggregatable; its dual interface does not answer IDispatch).
#pragma once

#include "DSTVPartConverter.h"

class CDSTVConvertSDS6_336
    : public DSTVPartConverter<
          CDSTVConvertSDS6_336, &CLSID_DSTVConvertSDS6_336,
          IDispatchImpl<IDSTVConvertSDS6_336, &IID_IDSTVConvertSDS6_336, &LIBID_LUNKETTLib, 1, 0>,
          &IID_IDSTVConvertSDS6_336> {
public:
    static constexpr const char* kConversionName = "DSTV For SDS v6.336";
    static constexpr ReaderEntry kReaderEntry = &DSTVPartReader::ReadPartSDS6_336;

    DECLARE_REGISTRY_RESOURCEID(121)

    BEGIN_COM_MAP(CDSTVConvertSDS6_336)
        COM_INTERFACE_ENTRY(IDSTVConvertSDS6_336)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
        COM_INTERFACE_ENTRY(IVLMRConvert)
    END_COM_MAP()

    BEGIN_CATEGORY_MAP(CDSTVConvertSDS6_336)
        IMPLEMENTED_CATEGORY(CATID_VelmoraCadConversion)
    END_CATEGORY_MAP()
};
