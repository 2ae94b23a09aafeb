// Dialog templates the tests build: a machine-name dialog and a parts
// dialog with a report list view, entered as a resource script gives them.
#pragma once

#include "ui/CommCtrl.h"
#include "ui/DialogTemplate.h"

inline ui::DialogTemplate machineNameTemplate()
{
    using namespace ui;
    DialogTemplate t;
    t.id = 123;
    t.caption = "Change Mult Machine Name";
    t.cx = 222;
    t.cy = 112;
    t.controls = {
        LTEXT("Mult File Name : ", IDC_STATIC, 12, 14, 54, 8),
        LTEXT("File", 204, 72, 14, 137, 8),
        LTEXT("Machine", IDC_STATIC, 14, 32, 27, 8),
        EDITTEXT(201, 46, 29, 63, 14, ES_AUTOHSCROLL | WS_DISABLED),
        LTEXT("does not exist.", IDC_STATIC, 114, 32, 49, 8),
        LTEXT("New Machine Name :", IDC_STATIC, 15, 53, 68, 8),
        EDITTEXT(202, 89, 51, 84, 14, ES_AUTOHSCROLL),
        DEFPUSHBUTTON("OK", IDOK, 52, 76, 50, 14),
        PUSHBUTTON("Cancel", IDCANCEL, 141, 74, 50, 14),
    };
    return t;
}

inline ui::DialogTemplate multPartsTemplate()
{
    using namespace ui;
    DialogTemplate t;
    t.id = 124;
    t.caption = "Mult Parts";
    t.cx = 330;
    t.cy = 249;
    t.controls = {
        LTEXT("Mult File Name : ", IDC_STATIC, 12, 14, 54, 8),
        LTEXT("File", 205, 72, 14, 233, 8),
        LTEXT("Mult Part(s) does not exist ", IDC_STATIC, 7, 36, 88, 8),
        CONTROL("List1", 202, WC_LISTVIEW,
                LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 7, 46, 316,
                115),
        GROUPBOX("If Mult Part(s) exist in system than specify part(s) location", IDC_STATIC, 13,
                 168, 303, 56),
        LTEXT("New Job :", IDC_STATIC, 25, 188, 33, 8),
        EDITTEXT(201, 67, 185, 112, 14, ES_AUTOHSCROLL),
        LTEXT("New Group :", IDC_STATIC, 17, 203, 41, 8),
        EDITTEXT(204, 67, 201, 112, 14, ES_AUTOHSCROLL),
        DEFPUSHBUTTON("OK", IDOK, 216, 228, 50, 14),
        PUSHBUTTON("Cancel", IDCANCEL, 273, 228, 50, 14),
    };
    return t;
}
