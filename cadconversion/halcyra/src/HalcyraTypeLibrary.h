// The type library HalcyraLib of the part-model server.
#pragma once

#include "com/server/TypeLibrary.h"

const comserver::TypeLibrary& halcyraTypeLibrary();
