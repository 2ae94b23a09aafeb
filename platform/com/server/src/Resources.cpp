// The module's resource table and LoadString.
#include "com/server/Resources.h"

#include "com/CodePage.h"

#include <algorithm>
#include <cstring>

namespace comserver {

void ResourceTable::add(std::string_view type, UINT id, std::string_view data)
{
    m_data.emplace(std::make_pair(std::string(type), id), data);
}

std::optional<std::string_view> ResourceTable::find(std::string_view type, UINT id) const
{
    auto it = m_data.find(std::make_pair(std::string(type), id));
    if (it == m_data.end())
        return std::nullopt;
    return it->second;
}

void ResourceTable::addString(UINT id, const char* text)
{
    m_strings.emplace(id, text);
}

const char* ResourceTable::findString(UINT id) const
{
    auto it = m_strings.find(id);
    return it == m_strings.end() ? nullptr : it->second;
}

void ResourceTable::addTypeLibrary(UINT id, TypeLibraryFunction library)
{
    m_typeLibraries.emplace(id, library);
}

const TypeLibrary* ResourceTable::typeLibrary(UINT id) const
{
    auto it = m_typeLibraries.find(id);
    return it == m_typeLibraries.end() ? nullptr : &it->second();
}

std::vector<const TypeLibrary*> ResourceTable::typeLibraries() const
{
    std::vector<const TypeLibrary*> result;
    for (const auto& [id, library] : m_typeLibraries)
        result.push_back(&library());
    return result;
}

ResourceTable& moduleResources()
{
    static ResourceTable table;
    return table;
}

HINSTANCE moduleInstance()
{
    return reinterpret_cast<HINSTANCE>(&moduleResources());
}

const ResourceTable& resourcesOf(HINSTANCE instance)
{
    return instance == nullptr ? moduleResources()
                               : *reinterpret_cast<const ResourceTable*>(instance);
}

ResourceRegistration::ResourceRegistration(const char* type, UINT id, const unsigned char* data,
                                           std::size_t size)
{
    moduleResources().add(type, id, std::string_view(reinterpret_cast<const char*>(data), size));
}

StringTableRegistration::StringTableRegistration(
    std::initializer_list<std::pair<UINT, const char*>> strings)
{
    for (const auto& [id, text] : strings)
        moduleResources().addString(id, text);
}

TypeLibraryRegistration::TypeLibraryRegistration(UINT id, TypeLibraryFunction library)
{
    moduleResources().addTypeLibrary(id, library);
}

} // namespace comserver

namespace {

// The length of the longest prefix of text[0..max) that ends on a character
// boundary: never inside a UTF-8 sequence.
std::size_t utf8Cut(const char* text, std::size_t length, std::size_t max)
{
    if (length <= max)
        return length;
    std::size_t cut = max;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return cut;
}

} // namespace

int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax)
{
    if (buffer == nullptr || bufferMax <= 0)
        return 0;
    const char* text = comserver::resourcesOf(instance).findString(id);
    if (text == nullptr) {
        buffer[0] = '\0';
        return 0;
    }
    std::size_t length = utf8Cut(text, std::strlen(text), static_cast<std::size_t>(bufferMax) - 1);
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax)
{
    if (buffer == nullptr || bufferMax <= 0)
        return 0;
    const char* text = comserver::resourcesOf(instance).findString(id);
    if (text == nullptr) {
        buffer[0] = u'\0';
        return 0;
    }
    std::u16string wide = wideFromNarrow(text);
    std::size_t length = std::min(wide.size(), static_cast<std::size_t>(bufferMax) - 1);
    // Never keep the first half of a surrogate pair without its second.
    if (length > 0 && length < wide.size() && wide[length - 1] >= 0xD800 &&
        wide[length - 1] <= 0xDBFF)
        --length;
    std::memcpy(buffer, wide.data(), length * sizeof(WCHAR));
    buffer[length] = u'\0';
    return static_cast<int>(length);
}
