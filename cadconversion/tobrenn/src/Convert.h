// CTobrennConvert: the converter of version 3.0 of the machine part file.
#pragma once

#include "MachineFileConverter.h"

class CTobrennConvert : public MachineFileConverter<CTobrennConvert, &CLSID_Convert, IConvert,
                                                    &IID_IConvert, &kVersion30, 101> {};
