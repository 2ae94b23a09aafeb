// The dialog templates of the DSTV bar converter's two dialogs, registered
// for the life of the module that carries them (MultDialogTemplates.cpp).
#pragma once

#include "ui/DialogTemplate.h"

enum MultDialogId : UINT {
    IDD_MULT_NAME = 123,        // "Change Mult Machine Name"
    IDD_CHANGE_MULT_PART = 124, // "Mult Parts"
};

// Controls of IDD_MULT_NAME.
enum : int {
    IDC_MACHINE_NAME = 201,     // the unknown machine, disabled
    IDC_NEW_MACHINE_NAME = 202, // the name the user types
    IDC_MULT_FILE_NAME = 204,
};

// Controls of IDD_CHANGE_MULT_PART.
enum : int {
    IDC_NEW_JOB = 201,
    IDC_MISSING_PARTS = 202, // list view: job, group, mark
    IDC_NEW_GROUP = 204,
    IDC_PARTS_FILE_NAME = 205,
};

const ui::DialogTemplate& multNameTemplate();
const ui::DialogTemplate& changeMultPartTemplate();
