// Inside the runtime: the class factory of the built-in component
// categories manager.
#pragma once

#include "com/Types.h"

HRESULT getCategoriesManagerFactory(REFIID riid, void** ppv);
