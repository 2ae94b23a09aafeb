// Raising smart pointers of the interfaces the wizard calls.
#pragma once

#include "halcyra/HalcyraLib.h"

#include "com/ComPtr.h"

COM_SMARTPTR_TYPEDEF(IVLMRConvert);
COM_SMARTPTR_TYPEDEF(IVLMRMultConvert);
COM_SMARTPTR_TYPEDEF(ICADPart);
COM_SMARTPTR_TYPEDEF(ICADPart2);
COM_SMARTPTR_TYPEDEF(ICADMult);
COM_SMARTPTR_TYPEDEF(IUnknown);
