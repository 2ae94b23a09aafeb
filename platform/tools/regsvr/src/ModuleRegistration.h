// Loading a server module and calling its registration export.
#pragma once

#include <ostream>
#include <string>

// Calls DllRegisterServer (or DllUnregisterServer) of the module at path on
// a thread initialised for COM. Reports to out (the confirmation) or err
// (what went wrong: the loader's text, a missing export, or the HRESULT with
// its message and the error info's description). Answers the exit code.
int runModuleRegistration(const std::string& path, bool reg, std::ostream& out, std::ostream& err);
