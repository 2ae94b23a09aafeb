// Opening a compiled help file in the help window.
#pragma once

#include "ui/WinUser.h"

#include <string>

// Shows the help file's default topic; false when it cannot be opened.
bool openHelpFile(HWND owner, const std::string& path);
