// Opening the wizard's help file. File names on this platform are case
// sensitive, while the help path is derived from the program's name with
// the extension ".CHM": a file of the same name in another case is taken.
#include "wizard/HelpViewer.h"

#include "help/HtmlHelp.h"

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

} // namespace

bool openHelpFile(HWND owner, const std::string& path)
{
    return HtmlHelp(owner, existingCase(path).c_str(), HH_DISPLAY_TOPIC, 0) != nullptr;
}
