// What the GDI handles stand for: a font is a Qt font, a device context
// the font it measures with.
#pragma once

#include "ui/WinUser.h"

#include <QFont>

struct HFONT__ {
    QFont font;
};

struct HDC__ {
    HFONT__ current;
    HFONT__ initial; // answered by the first SelectObject
};
