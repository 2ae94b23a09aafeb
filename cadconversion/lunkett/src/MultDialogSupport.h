// What the bar converter's two dialogs share: texts between controls and
// BSTRs, the topmost placement at 400, 300, and carrying a failure of a
// handler (which runs on the GUI thread) back to the thread that called
// DoModal.
#pragma once

#include "ui/AxDialog.h"

#include "com/ComBstr.h"
#include "vlmrlib/CString.h"

#include <exception>
#include <string>
#include <utility>

namespace multdialog {

inline CComBSTR itemText(const CWindow& dialog, int id)
{
    const CWindow item = dialog.GetDlgItem(id);
    std::string text(static_cast<std::size_t>(item.GetWindowTextLength()) + 1, '\0');
    item.GetWindowText(text.data(), static_cast<int>(text.size()));
    return CComBSTR(text.c_str());
}

inline void setItemText(CWindow& dialog, int id, BSTR text)
{
    dialog.SetDlgItemText(id, CString(static_cast<const OLECHAR*>(text)));
}

// Topmost at screen position 400, 300 with the dialog's own size, shown.
inline void placeTopmost(CWindow& dialog)
{
    dialog.SetWindowPos(HWND_TOPMOST, 400, 300, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

// A handler catches into it and ends the dialog; DoModal rethrows on the
// caller's thread, as if the handler had run there.
class HandlerFailure {
public:
    void catchCurrent() { m_failure = std::current_exception(); }
    void rethrowIfAny()
    {
        if (m_failure)
            std::rethrow_exception(std::exchange(m_failure, nullptr));
    }

private:
    std::exception_ptr m_failure;
};

} // namespace multdialog
