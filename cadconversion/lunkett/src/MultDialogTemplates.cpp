// The templates of the machine name dialog (123) and the mult parts
// dialog (124), in dialog units as a resource script gives them, and their
// registration for the module's lifetime.
#include "MultDialogTemplates.h"

#include "ui/CommCtrl.h"

namespace {

ui::DialogTemplate makeMultNameTemplate()
{
    using namespace ui;
    DialogTemplate t;
    t.id = IDD_MULT_NAME;
    t.caption = "Change Mult Machine Name";
    t.cx = 222;
    t.cy = 112;
    t.controls = {
        LTEXT("Mult File Name : ", IDC_STATIC, 12, 14, 54, 8),
        LTEXT("File", IDC_MULT_FILE_NAME, 72, 14, 137, 8),
        LTEXT("Machine", IDC_STATIC, 14, 32, 27, 8),
        EDITTEXT(IDC_MACHINE_NAME, 46, 29, 63, 14, ES_AUTOHSCROLL | WS_DISABLED),
        LTEXT("does not exist.", IDC_STATIC, 114, 32, 49, 8),
        LTEXT("New Machine Name :", IDC_STATIC, 15, 53, 68, 8),
        EDITTEXT(IDC_NEW_MACHINE_NAME, 89, 51, 84, 14, ES_AUTOHSCROLL),
        DEFPUSHBUTTON("OK", IDOK, 52, 76, 50, 14),
        PUSHBUTTON("Cancel", IDCANCEL, 141, 74, 50, 14),
    };
    return t;
}

ui::DialogTemplate makeChangeMultPartTemplate()
{
    using namespace ui;
    DialogTemplate t;
    t.id = IDD_CHANGE_MULT_PART;
    t.caption = "Mult Parts";
    t.cx = 330;
    t.cy = 249;
    t.controls = {
        LTEXT("Mult File Name : ", IDC_STATIC, 12, 14, 54, 8),
        LTEXT("File", IDC_PARTS_FILE_NAME, 72, 14, 233, 8),
        // The system's own texts ("does not exist", "than specify"): keep them so.
        LTEXT("Mult Part(s) does not exist ", IDC_STATIC, 7, 36, 88, 8),
        CONTROL("List1", IDC_MISSING_PARTS, WC_LISTVIEW,
                LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 7, 46, 316,
                115),
        GROUPBOX("If Mult Part(s) exist in system than specify part(s) location", IDC_STATIC, 13,
                 168, 303, 56),
        LTEXT("New Job :", IDC_STATIC, 25, 188, 33, 8),
        EDITTEXT(IDC_NEW_JOB, 67, 185, 112, 14, ES_AUTOHSCROLL),
        LTEXT("New Group :", IDC_STATIC, 17, 203, 41, 8),
        EDITTEXT(IDC_NEW_GROUP, 67, 201, 112, 14, ES_AUTOHSCROLL),
        DEFPUSHBUTTON("OK", IDOK, 216, 228, 50, 14),
        PUSHBUTTON("Cancel", IDCANCEL, 273, 228, 50, 14),
    };
    return t;
}

const ui::DialogTemplate kMultName = makeMultNameTemplate();
const ui::DialogTemplate kChangeMultPart = makeChangeMultPartTemplate();
const ui::DialogResource kMultDialogs{&kMultName, &kChangeMultPart};

} // namespace

const ui::DialogTemplate& multNameTemplate()
{
    return kMultName;
}

const ui::DialogTemplate& changeMultPartTemplate()
{
    return kChangeMultPart;
}
