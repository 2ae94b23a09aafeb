// The control classes' text readers.
#include "ui/ControlClasses.h"

void CComboBox::GetLBText(int index, std::string& text) const
{
    const auto length = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length < 0) {
        text.clear();
        return;
    }
    std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
    SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    text.assign(buffer.data(), static_cast<std::size_t>(length));
}

void CListBox::GetText(int index, std::string& text) const
{
    const int length = GetTextLen(index);
    if (length < 0) {
        text.clear();
        return;
    }
    std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
    GetText(index, buffer.data());
    text.assign(buffer.data(), static_cast<std::size_t>(length));
}
