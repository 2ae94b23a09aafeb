// COldConvert: the converter of version 2.0 of the machine part file.
#pragma once

#include "MachineFileConverter.h"

class COldConvert : public MachineFileConverter<COldConvert, &CLSID_OldConvert, IOldConvert,
                                                &IID_IOldConvert, &kVersion20, 102> {};
