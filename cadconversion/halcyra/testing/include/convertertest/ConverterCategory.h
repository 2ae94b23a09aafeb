// The converter category as a test or benchmark reaches it through the
// component runtime: its classes (enumerated twelve at a time, as the
// wizard does), a converter created by class ID or found by its
// ConversionName, and the ConversionName of a converter. Nothing here
// asserts: a failure answers empty or null.
//
//   IVLMRConvert* converter = convertertest::findConverter("Ferrick");
//   EXPECT_EQ(convertertest::conversionNamesOfTheCategory(), (std::vector<std::string>{...}));
//
// Header-only; the program links the component runtime (comrt).
#pragma once

#include "halcyra/HalcyraLib.h"

#include "com/Bstr.h"
#include "com/Runtime.h"

#include <algorithm>
#include <string>
#include <vector>

namespace convertertest {

// The classes of CATID_VelmoraCadConversion, in the order enumerated.
inline std::vector<CLSID> convertersOfTheCategory()
{
    std::vector<CLSID> found;
    ICatInformation* categories = nullptr;
    if (FAILED(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                IID_ICatInformation, reinterpret_cast<void**>(&categories))))
        return found;
    IEnumGUID* classes = nullptr;
    categories->EnumClassesOfCategories(1, &CATID_VelmoraCadConversion, 0, nullptr, &classes);
    categories->Release();
    if (!classes)
        return found;
    GUID batch[12];
    ULONG count = 0;
    while (classes->Next(12, batch, &count) == S_OK)
        found.insert(found.end(), batch, batch + count);
    found.insert(found.end(), batch, batch + count); // the last, short batch
    classes->Release();
    return found;
}

// The converter class as IVLMRConvert (all contexts); null when it cannot be
// created.
inline IVLMRConvert* createConverter(REFCLSID clsid)
{
    IVLMRConvert* converter = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IVLMRConvert,
                                reinterpret_cast<void**>(&converter))))
        return nullptr;
    return converter;
}

// The converter's ConversionName; empty when it answers none.
inline std::string conversionName(IVLMRConvert* converter)
{
    BSTR name = nullptr;
    if (converter->get_ConversionName(&name) != S_OK)
        return {};
    std::string text = narrowFromBstr(name);
    SysFreeString(name);
    return text;
}

// The ConversionName of every class of the category, sorted; a class that
// cannot be created gives an empty name.
inline std::vector<std::string> conversionNamesOfTheCategory()
{
    std::vector<std::string> names;
    for (const CLSID& clsid : convertersOfTheCategory()) {
        IVLMRConvert* converter = createConverter(clsid);
        names.push_back(converter ? conversionName(converter) : std::string());
        if (converter)
            converter->Release();
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The converter of the category whose ConversionName is name (one
// reference for the caller); null when there is none.
inline IVLMRConvert* findConverter(const std::string& name)
{
    for (const CLSID& clsid : convertersOfTheCategory()) {
        IVLMRConvert* converter = createConverter(clsid);
        if (!converter)
            continue;
        if (conversionName(converter) == name)
            return converter;
        converter->Release();
    }
    return nullptr;
}

} // namespace convertertest
