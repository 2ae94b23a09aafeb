// HTML Help: opens a compiled help file (CHM) in a help window showing its
// default topic; links are followed inside the file. The window is a
// top-level window of the window framework, open until the user (or
// DestroyWindow) closes it. A window named as owner owns it: the help
// window stays above it, takes input also while the owner is modal, and
// closes with it.
#pragma once

#include "ui/WinUser.h"

constexpr UINT HH_DISPLAY_TOPIC = 0x0000;

// HH_DISPLAY_TOPIC only. Answers the help window, or null when the file
// cannot be opened, is no CHM or has no readable default topic. A file
// already shown for the same owner keeps its window: it shows the default
// topic again and comes to the front. From any thread; the window lives on
// the GUI thread.
HWND HtmlHelp(HWND owner, LPCSTR file, UINT command, DWORD_PTR data);
