// CStrucSoftDSTV: the DSTV part converter for StrucSoft's output, version
// 7 of the format (not aggregatable; its own interface is a plain one).
#pragma once

#include "DSTVPartConverter.h"

class CStrucSoftDSTV : public DSTVPartConverter<CStrucSoftDSTV, &CLSID_StrucSoftDSTV,
                                                IStrucSoftDSTV, &IID_IStrucSoftDSTV> {
public:
    static constexpr const char* kConversionName = "DSTV Version 7";
    static constexpr ReaderEntry kReaderEntry = &DSTVPartReader::ReadPart;

    DECLARE_REGISTRY_RESOURCEID(119)
    DECLARE_NOT_AGGREGATABLE(CStrucSoftDSTV)

    BEGIN_COM_MAP(CStrucSoftDSTV)
        COM_INTERFACE_ENTRY(IStrucSoftDSTV)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
        COM_INTERFACE_ENTRY(IVLMRConvert)
    END_COM_MAP()

    BEGIN_CATEGORY_MAP(CStrucSoftDSTV)
        IMPLEMENTED_CATEGORY(CATID_VelmoraCadConversion)
    END_CATEGORY_MAP()
};
