// Creating a component category for a server's registration.
#pragma once

#include "com/Types.h"

// Registers the category with its description (narrow text, cut to the
// platform's 127 characters) through the component categories manager,
// unless the category exists already, in which case nothing changes.
// S_OK on success or when it exists; otherwise the failing HRESULT (for
// instance CO_E_NOTINITIALIZED on a thread without COM). Never throws.
HRESULT CreateComponentCategory(CATID catid, const char* description);
