// MachineFileConverter: the three machine-file converter classes, which
// differ only in their identities and in the file version their reader
// reads: the converter class over a reader (CReaderConvert) with an
// embedded MachineFileReader of the version and its conversion name.
//
// A class derives from it with itself, its CLSID, its own interface and
// that interface's IID, the version it reads and its registrar script.
#pragma once

#include "MachineFileReader.h"
#include "MachineFileVersion.h"

#include "halcyra/ConverterServer.h"
#include "halcyra/HalcyraLib.h"
#include "tobrenn/TobrennLib.h"

// The reader of one version, as the converter class embeds it.
template <const MachineFileVersion* pVersion>
class VersionReader : public MachineFileReader {
public:
    VersionReader() : MachineFileReader(*pVersion) {}
};

template <class T, const CLSID* pclsid, class OwnInterface, const IID* piidOwn,
          const MachineFileVersion* pVersion, UINT registryId>
class MachineFileConverter
    : public CReaderConvert<T, pclsid, OwnInterface, piidOwn, &LIBID_TOBRENNLib, registryId,
                            VersionReader<pVersion>> {
public:
    static constexpr const char* kConversionName = pVersion->conversionName;
};
