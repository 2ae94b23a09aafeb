// CCOldestConver: the converter of version 1.0 of the machine part file.
// The system's own class name ("COldestConver"): keep it so.
#pragma once

#include "MachineFileConverter.h"

class CCOldestConver
    : public MachineFileConverter<CCOldestConver, &CLSID_COldestConver, ICOldestConver,
                                  &IID_ICOldestConver, &kVersion10, 104> {};
