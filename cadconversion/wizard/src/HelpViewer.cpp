// Opening the wizard's help file. File names on this platform are case
// sensitive, while the help path is derived from the program's name with
// the extension ".CHM": a file of the same name in another case is taken.
// The build puts the help file beside the program; an installed program
// finds it in the data folder of the install (QUILLFEN_DATA_FOLDER, relative
// to the program's folder), so a path beside the program that names no file
// is looked for there too.
#include "wizard/HelpViewer.h"

#include "help/HtmlHelp.h"
#include "ui/Process.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace {

bool equalIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string existingCase(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path wanted(path);
    if (path.empty() || fs::exists(wanted, error))
        return path;
    const fs::path directory = wanted.has_parent_path() ? wanted.parent_path() : fs::path(".");
    for (const fs::directory_entry& entry : fs::directory_iterator(directory, error))
        if (equalIgnoringCase(entry.path().filename().string(), wanted.filename().string()))
            return entry.path().string();
    return path;
}

std::filesystem::path programFolder()
{
    char program[4096];
    const DWORD length = GetModuleFileName(nullptr, program, sizeof program);
    if (length == 0 || length >= sizeof program)
        return {};
    return std::filesystem::path(program).parent_path();
}

std::string helpFile(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const std::string found = existingCase(path);
    const fs::path wanted(path);
    const fs::path folder = programFolder();
    if (path.empty() || fs::exists(found, error) || folder.empty() ||
        wanted.parent_path() != folder)
        return found;
    const std::string installed = existingCase(
        (folder / QUILLFEN_DATA_FOLDER / wanted.filename()).lexically_normal().string());
    return fs::exists(installed, error) ? installed : found;
}

} // namespace

bool openHelpFile(HWND owner, const std::string& path)
{
    return HtmlHelp(owner, helpFile(path).c_str(), HH_DISPLAY_TOPIC, 0) != nullptr;
}
