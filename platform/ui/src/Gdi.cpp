// Device contexts for measuring text with a window's font, on any thread.
#include "Gdi.h"

#include <QFontMetrics>

#include <memory>

HDC GetDC(HWND hWnd)
{
    auto* font = reinterpret_cast<HFONT__*>(SendMessage(hWnd, WM_GETFONT, 0, 0));
    auto dc = std::make_unique<HDC__>();
    if (font)
        dc->current = *font;
    dc->initial = dc->current;
    return dc.release();
}

int ReleaseDC(HWND, HDC hdc)
{
    delete hdc;
    return hdc ? 1 : 0;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object)
{
    if (!hdc || !object)
        return nullptr;
    hdc->current = *static_cast<HFONT__*>(object);
    return &hdc->initial;
}

BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int length, LPSIZE size)
{
    if (!hdc || !size || (!text && length > 0) || length < 0)
        return FALSE;
    const QFontMetrics metrics(hdc->current.font);
    const QString s = QString::fromUtf8(text, length);
    *size = {metrics.horizontalAdvance(s), metrics.height()};
    return TRUE;
}

BOOL GetTextMetrics(HDC hdc, LPTEXTMETRIC tm)
{
    if (!hdc || !tm)
        return FALSE;
    const QFontMetrics m(hdc->current.font);
    *tm = {m.height(), m.ascent(), m.descent(), 0, m.leading(), m.averageCharWidth(), m.maxWidth()};
    return TRUE;
}
