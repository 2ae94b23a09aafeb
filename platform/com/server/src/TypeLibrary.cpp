// Finding interface descriptions in the module's libraries, and the
// registration script of a library.
#include "com/server/TypeLibrary.h"

#include "com/server/Resources.h"

#include <cstdio>
#include <filesystem>

namespace comserver {

const InterfaceDesc* findInterface(REFGUID libid, WORD major, WORD minor, REFIID iid,
                                   const void* cppType)
{
    for (const TypeLibrary* library : moduleResources().typeLibraries()) {
        if (library->libid != libid || library->major != major || library->minor < minor)
            continue;
        for (const InterfaceDesc& desc : library->interfaces)
            if (desc.iid == iid && desc.cppType == cppType && desc.kind != InterfaceKind::Custom)
                return &desc;
    }
    return nullptr;
}

namespace {

// A script name or text: quoted, with quotes and percent signs escaped.
std::string scriptQuoted(const std::string& text)
{
    std::string result = "'";
    for (char c : text) {
        if (c == '\'' || c == '%')
            result += c;
        result += c;
    }
    return result + "'";
}

// Universal marshalers: dual interfaces, and dispinterfaces.
constexpr const char* oleAutomationProxy = "{00020424-0000-0000-C000-000000000046}";
constexpr const char* dispatchProxy = "{00020420-0000-0000-C000-000000000046}";

} // namespace

std::string typeLibraryScript(const TypeLibrary& library, const std::string& modulePath)
{
    char version[24];
    std::snprintf(version, sizeof version, "%x.%x", library.major, library.minor);
    const std::string directory = std::filesystem::path(modulePath).parent_path().string();
    std::string libid = guidToString(library.libid);

    std::string script =
        "HKCR\n{\n NoRemove TypeLib\n {\n  NoRemove " + scriptQuoted(libid) + "\n  {\n";
    script += "   ForceRemove " + scriptQuoted(version) + " = s " +
              scriptQuoted(library.helpString) + "\n   {\n";
    script += "    '0' { 'win32' = s " + scriptQuoted(modulePath) + " }\n";
    script += "    'FLAGS' = s '0'\n";
    script += "    'HELPDIR' = s " + scriptQuoted(directory) + "\n   }\n  }\n }\n";
    script += " NoRemove Interface\n {\n";
    for (const InterfaceDesc& desc : library.interfaces) {
        script += "  ForceRemove " + scriptQuoted(guidToString(desc.iid)) + " = s " +
                  scriptQuoted(desc.name) + "\n  {\n";
        if (desc.kind == InterfaceKind::Dual)
            script += "   'ProxyStubClsid32' = s " + scriptQuoted(oleAutomationProxy) + "\n";
        else if (desc.kind == InterfaceKind::DispatchOnly)
            script += "   'ProxyStubClsid32' = s " + scriptQuoted(dispatchProxy) + "\n";
        script += "   'TypeLib' = s " + scriptQuoted(libid) + " { val 'Version' = s " +
                  scriptQuoted(version) + " }\n  }\n";
    }
    script += " }\n}\n";
    return script;
}

} // namespace comserver
