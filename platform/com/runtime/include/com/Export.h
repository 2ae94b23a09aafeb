// Marks the runtime's classes and functions that server modules, built with
// hidden visibility, reach in the one shared copy of the runtime.
#pragma once

#define COM_API __attribute__((visibility("default")))
