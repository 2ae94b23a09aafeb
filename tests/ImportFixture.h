// The fixture of the end-to-end import tests: a temporary registry and
// database, the part-model server, the Tarsis servers and the DSTV
// converters registered from their modules, the converters found through
// the category, and a file imported the way the wizard does it.
#pragma once

#include "ServerModules.h"

#include "halcyra/HalcyraLib.h"

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "tarsis/SqliteStore.h"
#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryDatabase.h"
#include "testing/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

// What importing one file did.
struct ImportOutcome {
    HRESULT setFile = S_OK;
    std::vector<HRESULT> reads; // every ReadPart result, the last one ends the file
    std::vector<HRESULT> saves; // one per part read
    std::vector<std::string> errors;
    std::vector<tarsis::PartKey> parts; // as saved
};

class ImportTest : public ::testing::Test {
protected:
    static constexpr const char* kTypedJob = "TYPEDJOB";
    static constexpr const char* kTypedGroup = "TYPEDGRP";

    void SetUp() override
    {
        ASSERT_EQ(OleInitialize(nullptr), S_OK);
        ASSERT_EQ(m_servers.registerAll(), "");
        findConverters();
    }
    void TearDown() override
    {
        SetErrorInfo(0, nullptr);
        OleUninitialize();
        CoFreeUnusedLibraries();
    }

    const std::string& databasePath() const { return m_database.path(); }

    std::unique_ptr<tarsis::TarsisStore> store() const
    {
        return tarsis::openSqliteStore(databasePath(), tarsis::OpenMode::CreateIfMissing);
    }

    // SetFile, then ReadPart while it answers S_OK; each part gets the typed
    // job and group where it has none, SetMetric and SaveToTarsis.
    ImportOutcome import(const std::string& conversionName, const std::string& path,
                         LONG bIsMetric = 0, LONG bIsToolMetric = 0)
    {
        ImportOutcome outcome;
        auto found = m_converters.find(conversionName);
        if (found == m_converters.end()) {
            ADD_FAILURE() << "no converter named " << conversionName;
            return outcome;
        }
        IVLMRConvert* converter = nullptr;
        EXPECT_EQ(CoCreateInstance(found->second, nullptr, CLSCTX_ALL, IID_IVLMRConvert,
                                   reinterpret_cast<void**>(&converter)),
                  S_OK);
        if (!converter)
            return outcome;
        BSTR name = bstrFromNarrow(path);
        outcome.setFile = converter->SetFile(name);
        SysFreeString(name);
        if (FAILED(outcome.setFile)) {
            outcome.errors.push_back(takeErrorDescription());
            converter->Release();
            return outcome;
        }
        // A DSTV file holds one part: more than a few reads is a fault.
        for (int read = 0; read < 5; ++read) {
            IUnknown* unknown = nullptr;
            const HRESULT hr = converter->ReadPart(&unknown, bIsMetric, bIsToolMetric);
            outcome.reads.push_back(hr);
            if (hr != S_OK) {
                if (FAILED(hr))
                    outcome.errors.push_back(takeErrorDescription());
                if (unknown)
                    unknown->Release();
                break;
            }
            savePart(unknown, bIsMetric, &outcome);
            unknown->Release();
        }
        converter->Release();
        return outcome;
    }

    std::map<std::string, CLSID> m_converters; // the part converters, by conversion name

private:
    void findConverters()
    {
        ICatInformation* categories = nullptr;
        ASSERT_EQ(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_ICatInformation, reinterpret_cast<void**>(&categories)),
                  S_OK);
        IEnumGUID* classes = nullptr;
        ASSERT_EQ(categories->EnumClassesOfCategories(1, &CATID_VelmoraCadConversion, 0, nullptr,
                                                      &classes),
                  S_OK);
        GUID batch[12];
        ULONG count = 0;
        while (classes->Next(12, batch, &count) == S_OK || count > 0) {
            for (ULONG i = 0; i < count; ++i) {
                IVLMRConvert* converter = nullptr;
                if (CoCreateInstance(batch[i], nullptr, CLSCTX_ALL, IID_IVLMRConvert,
                                     reinterpret_cast<void**>(&converter)) != S_OK)
                    continue;
                // Part converters only: a mult converter reads with ReadMult.
                IUnknown* multConvert = nullptr;
                if (converter->QueryInterface(IID_IVLMRMultConvert,
                                              reinterpret_cast<void**>(&multConvert)) == S_OK) {
                    multConvert->Release();
                    converter->Release();
                    continue;
                }
                BSTR conversionName = nullptr;
                if (converter->get_ConversionName(&conversionName) == S_OK)
                    m_converters[narrowFromBstr(conversionName)] = batch[i];
                SysFreeString(conversionName);
                converter->Release();
            }
            if (count < 12)
                break;
        }
        classes->Release();
        categories->Release();
    }

    static std::string property(ICADPart2* part, HRESULT (ICADPart2::*get)(BSTR*))
    {
        BSTR value = nullptr;
        (part->*get)(&value);
        std::string text = narrowFromBstr(value);
        SysFreeString(value);
        return text;
    }

    void savePart(IUnknown* unknown, LONG bIsMetric, ImportOutcome* outcome)
    {
        ICADPart2* part = nullptr;
        ASSERT_EQ(unknown->QueryInterface(IID_ICADPart2, reinterpret_cast<void**>(&part)), S_OK);
        for (auto [get, put, typed] :
             {std::tuple{&ICADPart2::get_JobId, &ICADPart2::put_JobId, kTypedJob},
              std::tuple{&ICADPart2::get_Group, &ICADPart2::put_Group, kTypedGroup}}) {
            if (property(part, get).empty()) {
                BSTR value = bstrFromNarrow(typed);
                (part->*put)(value);
                SysFreeString(value);
            }
        }
        part->SetMetric(bIsMetric);
        const HRESULT hr = part->SaveToTarsis();
        outcome->saves.push_back(hr);
        if (FAILED(hr))
            outcome->errors.push_back(takeErrorDescription());
        else
            outcome->parts.push_back({property(part, &ICADPart2::get_JobId),
                                      property(part, &ICADPart2::get_Group),
                                      property(part, &ICADPart2::get_Mark)});
        part->Release();
    }

    const testsupport::TemporaryRegistry m_registry{"dstv-import"};
    const testsupport::TemporaryDatabase m_database;
    const testsupport::ScopedEnvironment m_data{"XDG_DATA_HOME",
                                                (m_registry.folder() / "data").string()};
    ServerModules m_servers;
};

inline const tarsis::RefPlane& planeAt(const tarsis::PartRecord& part, std::size_t i)
{
    return std::get<tarsis::RefPlane>(part.entries.at(i));
}

inline const tarsis::Operation& operationAt(const tarsis::PartRecord& part, std::size_t i)
{
    return std::get<tarsis::Operation>(part.entries.at(i));
}

inline constexpr double kMm = 1 / 25.4;
