// The open and save file dialogs in their Win32 form. Filters are pairs of
// NUL-terminated strings (name, patterns separated by ';') ending with an
// empty string; as on Windows a pattern ending in ".*" also matches names
// without an extension ("*.*" every file). The chosen files are written
// into lpstrFile: one path, or with OFN_ALLOWMULTISELECT and several files
// the directory followed by each name, every part NUL-terminated and an
// extra NUL at the end. When that does not fit nMaxFile the call answers
// FALSE, leaves the buffer as it was and CommDlgExtendedError() tells
// FNERR_BUFFERTOOSMALL; cancelled, it answers FALSE with 0 there.
#pragma once

#include "ui/WinUser.h"

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_CREATEPROMPT = 0x00002000;
constexpr DWORD OFN_EXPLORER = 0x00080000;

struct OPENFILENAME {
    DWORD lStructSize;
    HWND hwndOwner;
    LPCSTR lpstrFilter;
    DWORD nFilterIndex; // 1-based
    LPSTR lpstrFile;    // in: the initial name; out: the choice
    DWORD nMaxFile;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;    // of the (first) name in lpstrFile
    WORD nFileExtension; // of the extension after the '.', 0 when none
    LPCSTR lpstrDefExt;  // appended to a name without extension
};
using LPOPENFILENAME = OPENFILENAME*;

// On the GUI thread, also when called from a worker; the test hook
// (TestHooks.h) is asked first. OFN_CREATEPROMPT on an open dialog asks
// before a missing file is accepted, OFN_OVERWRITEPROMPT on a save dialog
// before an existing one is; either question answered No cancels.
BOOL GetOpenFileName(LPOPENFILENAME ofn);
BOOL GetSaveFileName(LPOPENFILENAME ofn);

constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;
// Why the calling thread's last file dialog answered FALSE: 0 when the
// user cancelled.
DWORD CommDlgExtendedError();
