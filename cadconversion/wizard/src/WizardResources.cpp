// The import wizard's resources: the five page templates, entered as a
// resource script gives them (dialog units), and its string table.
#include "wizard/Resource.h"

#include "ui/DialogTemplate.h"

#include "com/server/Resources.h"

namespace {

using namespace ui;

constexpr DWORD kPageStyle = WS_CHILD | WS_CAPTION | DS_SETFONT;

DialogTemplate page(UINT id, const char* caption, short cx, std::vector<DialogControl> controls)
{
    DialogTemplate t;
    t.id = id;
    t.caption = caption;
    t.style = kPageStyle;
    t.cx = cx;
    t.cy = 170;
    t.controls = std::move(controls);
    return t;
}

const DialogTemplate kSelectFormat =
    page(IDD_SELECT_FORMAT, "Select CAD File Conversion Format - Step 1 of 5", 290,
         {
             LTEXT("File Format", IDC_STATIC, 20, 24, 120, 8),
             // The height of the closed box: the window framework sizes the list
             // that drops down by itself.
             COMBOBOX(IDC_FORMAT, 20, 36, 250, 14, CBS_DROPDOWNLIST | WS_VSCROLL),
             CONTROL("Convert To Metric", IDC_METRIC, WC_BUTTON,
                     BS_AUTOCHECKBOX | BS_LEFTTEXT | WS_TABSTOP, 20, 70, 120, 10),
             CONTROL("Convert Tool To Metric", IDC_TOOL_METRIC, WC_BUTTON,
                     BS_AUTOCHECKBOX | BS_LEFTTEXT | WS_TABSTOP, 20, 88, 120, 10),
         });

const DialogTemplate kSelectJobGroup =
    page(IDD_SELECT_JOB_GROUP, "Specify Job ID and Group Source - Step 2 of 5", 279,
         {
             GROUPBOX("Job ID", IDC_STATIC, 14, 10, 250, 50),
             CONTROL("Use from CAD File", IDC_JOB_FROM_FILE, WC_BUTTON,
                     BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 24, 24, 90, 10),
             CONTROL("Specify", IDC_JOB_SPECIFY, WC_BUTTON, BS_AUTORADIOBUTTON, 24, 40, 50, 10),
             EDITTEXT(IDC_JOB, 80, 38, 170, 14, ES_AUTOHSCROLL | WS_DISABLED | WS_GROUP),
             GROUPBOX("Group", IDC_STATIC, 14, 70, 250, 50),
             CONTROL("Use from CAD File", IDC_GROUP_FROM_FILE, WC_BUTTON,
                     BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 24, 84, 90, 10),
             CONTROL("Specify", IDC_GROUP_SPECIFY, WC_BUTTON, BS_AUTORADIOBUTTON, 24, 100, 50, 10),
             EDITTEXT(IDC_GROUP, 80, 98, 170, 14, ES_AUTOHSCROLL | WS_DISABLED | WS_GROUP),
             // The system's own text ("don't have"): keep it so.
             LTEXT("Please specify Job and Group name, Mult file don't have Job and Group.",
                   IDC_MULT_NOTE, 14, 132, 250, 20)
                 .without(WS_VISIBLE),
         });

const DialogTemplate kSpecifyLogFile =
    page(IDD_SPECIFY_LOG_FILE, "Specify Log File - Step 3 of 5", 290,
         {
             CONTROL("Use Log File", IDC_USE_LOG_FILE, WC_BUTTON, BS_AUTOCHECKBOX | WS_TABSTOP, 20,
                     24, 120, 10),
             LTEXT("Browse", IDC_STATIC, 20, 46, 60, 8),
             EDITTEXT(IDC_LOG_FILE, 20, 58, 228, 14, ES_AUTOHSCROLL),
             PUSHBUTTON("...", IDC_BROWSE_LOG_FILE, 252, 58, 18, 14),
         });

const DialogTemplate kSelectFiles =
    page(IDD_SELECT_FILES, "Select Files - Step 4 of 5", 294,
         {
             LTEXT("Files to be converted", IDC_STATIC, 10, 8, 120, 8),
             LISTBOX(IDC_SELECTED_FILES, 10, 20, 274, 118,
                     LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL),
             PUSHBUTTON("Select Files", IDC_SELECT_FILES, 10, 146, 60, 14),
             PUSHBUTTON("Delete", IDC_DELETE_FILES, 80, 146, 60, 14),
         });

const DialogTemplate kConvertingFiles = page(
    IDD_CONVERTING_FILES, "Converting Files - Step 5 of 5", 290,
    {
        LTEXT("JobID:", IDC_STATIC, 10, 10, 30, 8),
        LTEXT("Group:", IDC_STATIC, 10, 22, 30, 8),
        LTEXT("Mark:", IDC_STATIC, 10, 34, 30, 8),
        LTEXT("JobID", IDC_CURRENT_JOB, 44, 10, 236, 8),
        LTEXT("Group", IDC_CURRENT_GROUP, 44, 22, 236, 8),
        LTEXT("Mark", IDC_CURRENT_MARK, 44, 34, 236, 8),
        LTEXT("Files to be converted", IDC_STATIC, 10, 50, 120, 8),
        LISTBOX(IDC_CONVERT_FILES, 10, 62, 270, 80, LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL),
        PUSHBUTTON("Convert", IDC_CONVERT, 10, 148, 60, 14),
    });

const DialogResource kDialogs{&kSelectFormat, &kSelectJobGroup, &kSpecifyLogFile, &kSelectFiles,
                              &kConvertingFiles};

} // namespace

BEGIN_STRING_TABLE(QuillfenStrings)
    STRING_ENTRY(
        IDS_OLE_INIT_FAILED,
        "OLE initialization failed.  Make sure that the OLE libraries are the correct version.")
    // The system's own text ("count not be found"): keep it so.
    STRING_ENTRY(IDS_HELP_NOT_FOUND,
                 "The Help File count not be found.\nWould you like to browse for it?")
    STRING_ENTRY(IDS_HELP_FILE_NAME, "Quillfen.chm")
END_STRING_TABLE()
