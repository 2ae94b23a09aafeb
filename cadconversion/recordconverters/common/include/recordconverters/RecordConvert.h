// CRecordConvert: what the three record converter classes share: the
// converter class over a reader (CReaderConvert, halcyra/ConverterServer.h)
// with their reader, whose registrar script is the module's REGISTRY 101.
//
// A class derives from it with itself, its CLSID, its own dual interface
// (which adds nothing to IDispatch) with its IID, its type library and its
// reader, and provides
//   static constexpr const char* kConversionName;
// Its server's type library is converterLibrary's.
#pragma once

#include "recordconverters/RecordReader.h"

#include "halcyra/ConverterServer.h"

template <class T, const CLSID* pclsid, class OwnInterface, const IID* piidOwn, const GUID* plibid,
          class Reader>
using CRecordConvert = CReaderConvert<T, pclsid, OwnInterface, piidOwn, plibid, 101, Reader>;
