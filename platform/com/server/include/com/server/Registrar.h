// The registrar: applies a registration script to the registry and takes
// it away again.
//
// Grammar (tokens are separated by white space; names and values may be
// quoted with ' and a '' inside stands for one quote):
//   script  := { root }
//   root    := HKCR | HKEY_CLASSES_ROOT | HKLM | HKEY_LOCAL_MACHINE
//              | HKCU | HKEY_CURRENT_USER, then '{' { key } '}'
//   key     := [ NoRemove | ForceRemove | Delete ] name [ '=' value ]
//              [ '{' { key | 'val' name '=' value } '}' ]
//   value   := s 'text' | d 'number'       (decimal, or hexadecimal with 0x)
// %NAME% anywhere is replaced by the replacement of that name (the text is
// taken as it is, also inside quotes); %% stands for one percent sign.
//
// Register: ForceRemove deletes the key's tree first; Delete deletes the
// key; every other key is created (or opened) with its values, so running a
// script twice leaves one set of keys. Unregister: a key is deleted with its
// whole tree unless it is NoRemove; a NoRemove key stays, while the values
// and subkeys the script names under it are removed; Delete keys are left.
// A script is parsed completely before anything is written: a malformed one
// writes nothing and fails with DISP_E_EXCEPTION and error info
// "<label>, line <n>: <what>".
#pragma once

#include "com/Types.h"

#include <map>
#include <string>
#include <string_view>

namespace comserver {

using Replacements = std::map<std::string, std::string>;

class Registrar {
public:
    // label names the script in error texts, e.g. "registrar script 101".
    explicit Registrar(std::string label);

    void addReplacement(const std::string& name, const std::string& value);

    // HRESULT plus the thread's error info on failure.
    HRESULT registerScript(std::string_view script) const;
    HRESULT unregisterScript(std::string_view script) const;

private:
    HRESULT run(std::string_view script, bool reg) const;

    std::string m_label;
    Replacements m_replacements;
};

} // namespace comserver
