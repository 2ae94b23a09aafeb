// CDSTVConvertSDSEarlyVersions: the DSTV part converter for the SDS
// versions before 6.336 (aggregatable, answers IDispatch as its own dual
// interface).
#pragma once

#include "DSTVPartConverter.h"

class CDSTVConvertSDSEarlyVersions
    : public DSTVPartConverter<
          CDSTVConvertSDSEarlyVersions, &CLSID_DSTVConvertSDSEarlyVersions,
          IDispatchImpl<IDSTVConvertSDSEarlyVersions, &IID_IDSTVConvertSDSEarlyVersions,
                        &LIBID_LUNKETTLib, 1, 0>,
          &IID_IDSTVConvertSDSEarlyVersions> {
public:
    static constexpr const char* kConversionName = "DSTV For SDS Early Versions";
    static constexpr ReaderEntry kReaderEntry = &DSTVPartReader::ReadPartSDSEarlyVersions;

    DECLARE_REGISTRY_RESOURCEID(122)

    BEGIN_COM_MAP(CDSTVConvertSDSEarlyVersions)
        COM_INTERFACE_ENTRY(IDSTVConvertSDSEarlyVersions)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
        COM_INTERFACE_ENTRY2(IDispatch, IDSTVConvertSDSEarlyVersions)
        COM_INTERFACE_ENTRY(IVLMRConvert)
    END_COM_MAP()

    BEGIN_CATEGORY_MAP(CDSTVConvertSDSEarlyVersions)
        IMPLEMENTED_CATEGORY(CATID_VelmoraCadConversion)
    END_CATEGORY_MAP()
};
