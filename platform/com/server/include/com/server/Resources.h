// Resources compiled into a module: blobs keyed by type and id (registrar
// scripts are type REGISTRY), string tables, and type-library descriptions
// (TYPELIB). Each module has its own table; its HINSTANCE identifies it.
//
// Files are embedded with cadconv_resources() (cmake/Resources.cmake);
// strings and type libraries are declared in C++:
//   BEGIN_STRING_TABLE(ServerStrings)
//       STRING_ENTRY(100, "Halcyra")
//   END_STRING_TABLE()
//   TYPELIB_RESOURCE(1, halcyraTypeLibrary)   // const TypeLibrary& halcyraTypeLibrary()
// Resources register themselves while the module loads; the first
// definition of a type and id is kept.
#pragma once

#include "com/Types.h"

#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace comserver {

struct TypeLibrary;
using TypeLibraryFunction = const TypeLibrary& (*)();

class ResourceTable {
public:
    // data must outlive the table (embedded data is static).
    void add(std::string_view type, UINT id, std::string_view data);
    std::optional<std::string_view> find(std::string_view type, UINT id) const;

    void addString(UINT id, const char* text);
    const char* findString(UINT id) const; // null when absent

    void addTypeLibrary(UINT id, TypeLibraryFunction library);
    const TypeLibrary* typeLibrary(UINT id) const; // null when absent
    std::vector<const TypeLibrary*> typeLibraries() const;

private:
    std::map<std::pair<std::string, UINT>, std::string_view> m_data;
    std::map<UINT, const char*> m_strings;
    std::map<UINT, TypeLibraryFunction> m_typeLibraries;
};

// The table of the module this code is linked into, and its handle.
ResourceTable& moduleResources();
HINSTANCE moduleInstance();
// The table a handle names; a null handle names the calling module's.
const ResourceTable& resourcesOf(HINSTANCE instance);

struct ResourceRegistration {
    ResourceRegistration(const char* type, UINT id, const unsigned char* data, std::size_t size);
};
struct StringTableRegistration {
    StringTableRegistration(std::initializer_list<std::pair<UINT, const char*>> strings);
};
struct TypeLibraryRegistration {
    TypeLibraryRegistration(UINT id, TypeLibraryFunction library);
};

} // namespace comserver

// Win32 LoadString: copies at most bufferMax-1 characters of string id and a
// NUL into buffer and answers the number of characters copied; 0 (and an
// empty buffer when there is room) when the string does not exist. A cut
// never splits a character: a UTF-8 sequence or a surrogate pair.
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax);
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax);
inline int LoadString(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax)
{
    return LoadStringA(instance, id, buffer, bufferMax);
}
inline int LoadString(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax)
{
    return LoadStringW(instance, id, buffer, bufferMax);
}

#define BEGIN_STRING_TABLE(name)                                                                   \
    static const ::comserver::StringTableRegistration name                                         \
    {
#define STRING_ENTRY(id, text) {id, text},
#define END_STRING_TABLE()                                                                         \
    }                                                                                              \
    ;

#define TYPELIB_RESOURCE(id, function)                                                             \
    static const ::comserver::TypeLibraryRegistration typeLibraryResource##id{id, &(function)};
