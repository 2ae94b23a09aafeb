// The open and save file dialogs: Windows filters to Qt name filters, the
// default extension, the create and overwrite questions and the Windows
// layout of the chosen names in the caller's buffer.
#include "DialogAnswerer.h"
#include "Text.h"
#include "WindowTable.h"

#include "ui/CommDlg.h"

#include <QFileDialog>

#include <cstring>
#include <filesystem>

using namespace ui::detail;

namespace {

struct Filter {
    std::string name;
    std::string patterns;
};

std::string trimmed(std::string s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::vector<Filter> parseFilters(LPCSTR filter)
{
    std::vector<Filter> filters;
    while (filter && *filter) {
        Filter f;
        f.name = trimmed(filter);
        filter += std::strlen(filter) + 1;
        if (!*filter)
            break;
        f.patterns = trimmed(filter);
        filter += std::strlen(filter) + 1;
        filters.push_back(f);
    }
    return filters;
}

// A pattern that ends in ".*" also matches names without an extension, as
// on Windows: "*.*" matches every file, "B101.*" also "B101".
QStringList qtPatterns(const std::string& patterns)
{
    QStringList result;
    for (QString pattern : fromNarrow(patterns.c_str()).split(QLatin1Char(';'))) {
        pattern = pattern.trimmed();
        if (pattern.isEmpty())
            continue;
        if (pattern.endsWith(QLatin1String(".*"))) {
            const QString bare = pattern.chopped(2);
            if (!result.contains(bare))
                result << bare;
            if (bare == QLatin1String("*"))
                continue;
        }
        if (!result.contains(pattern))
            result << pattern;
    }
    return result;
}

// The dialog shows the filter's own name ("All Files (*.*)"); the patterns
// Qt matches follow it and are not shown (HideNameFilterDetails).
QString qtFilter(const Filter& f)
{
    return fromNarrow(f.name.c_str()) + QStringLiteral(" (") +
           qtPatterns(f.patterns).join(QLatin1Char(' ')) + QLatin1Char(')');
}

std::string withDefaultExtension(const std::string& path, LPCSTR defExt)
{
    if (!defExt || !*defExt)
        return path;
    const std::string ext = defExt[0] == '.' ? defExt + 1 : defExt;
    if (ext.empty() ||
        std::filesystem::path(path).filename().string().find('.') != std::string::npos)
        return path;
    return path + "." + ext;
}

// The paths the user chose, from the hook or the dialog; empty when cancelled.
std::vector<std::string> choose(LPOPENFILENAME ofn, bool open, const std::vector<Filter>& filters,
                                bool& fromHook)
{
    ui::DialogRequest request;
    request.kind = open ? ui::DialogRequest::Kind::OpenFile : ui::DialogRequest::Kind::SaveFile;
    request.caption = ofn->lpstrTitle ? ofn->lpstrTitle : "";
    for (const Filter& f : filters)
        request.filter += (request.filter.empty() ? "" : "|") + f.name + "|" + f.patterns;
    request.defaultExt = ofn->lpstrDefExt ? ofn->lpstrDefExt : "";
    request.flags = ofn->Flags;
    request.fileName = ofn->lpstrFile && ofn->nMaxFile ? ofn->lpstrFile : "";
    if (auto answer = askAnswerer(request)) {
        fromHook = true;
        return answer->result == IDOK ? answer->paths : std::vector<std::string>{};
    }
    fromHook = false;
    QWidget* owner = ui::windowWidget(ofn->hwndOwner);
    QFileDialog dialog(owner ? owner->window() : nullptr, fromNarrow(request.caption.c_str()));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    const bool multiple = ofn->Flags & OFN_ALLOWMULTISELECT;
    const bool mustExist = ofn->Flags & OFN_FILEMUSTEXIST;
    dialog.setFileMode(!open       ? QFileDialog::AnyFile
                       : multiple  ? QFileDialog::ExistingFiles
                       : mustExist ? QFileDialog::ExistingFile
                                   : QFileDialog::AnyFile);
    QStringList names;
    for (const Filter& f : filters)
        names << qtFilter(f);
    if (!names.isEmpty()) {
        dialog.setNameFilters(names);
        const int index = ofn->nFilterIndex > 0 ? static_cast<int>(ofn->nFilterIndex) - 1 : 0;
        if (index < names.size())
            dialog.selectNameFilter(names[index]);
    }
    if (ofn->lpstrInitialDir)
        dialog.setDirectory(fromNarrow(ofn->lpstrInitialDir));
    if (!request.fileName.empty())
        dialog.selectFile(fromNarrow(request.fileName.c_str()));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    std::vector<std::string> paths;
    for (const QString& file : dialog.selectedFiles())
        paths.push_back(toNarrow(file));
    return paths;
}

bool confirmed(LPOPENFILENAME ofn, bool open, const std::string& path)
{
    const bool exists = std::filesystem::exists(path);
    std::string question;
    if (open && !exists && (ofn->Flags & OFN_CREATEPROMPT))
        question = path + "\nThis file does not exist.\nDo you want to create it?";
    else if (!open && exists && (ofn->Flags & OFN_OVERWRITEPROMPT))
        question = path + " already exists.\nDo you want to replace it?";
    if (question.empty())
        return true;
    const char* title = ofn->lpstrTitle ? ofn->lpstrTitle : (open ? "Open" : "Save As");
    return MessageBox(ofn->hwndOwner, question.c_str(), title, MB_YESNO | MB_ICONEXCLAMATION) ==
           IDYES;
}

// Lays the names out as Windows does; false when they do not fit.
bool store(LPOPENFILENAME ofn, const std::vector<std::string>& paths)
{
    namespace fs = std::filesystem;
    const bool multiple = (ofn->Flags & OFN_ALLOWMULTISELECT) && paths.size() > 1;
    std::string out;
    std::size_t nameOffset = 0;
    if (multiple) {
        fs::path dir = fs::path(paths.front()).parent_path();
        auto inside = [&dir](const std::string& p) {
            const fs::path relative = fs::path(p).lexically_relative(dir);
            return !relative.empty() && *relative.begin() != "..";
        };
        for (const std::string& p : paths)
            while (!dir.empty() && dir != dir.root_path() && !inside(p))
                dir = dir.parent_path();
        out = dir.string() + '\0';
        nameOffset = out.size();
        for (const std::string& p : paths)
            out += fs::path(p).lexically_relative(dir).string() + '\0';
    } else {
        out = paths.front() + '\0';
        nameOffset = paths.front().size() - fs::path(paths.front()).filename().string().size();
    }
    if (ofn->Flags & OFN_ALLOWMULTISELECT)
        out += '\0';
    if (!ofn->lpstrFile || out.size() > ofn->nMaxFile)
        return false;
    std::memcpy(ofn->lpstrFile, out.data(), out.size());
    ofn->nFileOffset = static_cast<WORD>(nameOffset);
    const auto dot = multiple ? std::string::npos : paths.front().rfind('.');
    ofn->nFileExtension =
        dot != std::string::npos && dot > nameOffset ? static_cast<WORD>(dot + 1) : 0;
    return true;
}

// The calling thread's result of its last file dialog.
DWORD& lastError()
{
    thread_local DWORD error = 0;
    return error;
}

BOOL runFileDialog(LPOPENFILENAME ofn, bool open)
{
    lastError() = 0;
    if (!ofn)
        return FALSE;
    BOOL ok = FALSE;
    DWORD error = 0;
    ui::runOnGuiThread([&] {
        const std::vector<Filter> filters = parseFilters(ofn->lpstrFilter);
        for (;;) {
            bool fromHook = false;
            std::vector<std::string> paths = choose(ofn, open, filters, fromHook);
            if (paths.empty())
                return;
            for (std::string& p : paths)
                p = withDefaultExtension(p, ofn->lpstrDefExt);
            bool accepted = true;
            for (const std::string& p : paths)
                accepted = accepted && confirmed(ofn, open, p);
            if (accepted) {
                ok = store(ofn, paths) ? TRUE : FALSE;
                error = ok ? 0 : FNERR_BUFFERTOOSMALL;
                return;
            }
            if (fromHook)
                return;
        }
    });
    lastError() = error;
    return ok;
}

} // namespace

DWORD CommDlgExtendedError()
{
    return lastError();
}

BOOL GetOpenFileName(LPOPENFILENAME ofn)
{
    return runFileDialog(ofn, true);
}

BOOL GetSaveFileName(LPOPENFILENAME ofn)
{
    return runFileDialog(ofn, false);
}
