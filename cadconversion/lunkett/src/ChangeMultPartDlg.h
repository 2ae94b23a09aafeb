// CChangeMultPartDlg: the modal dialog that lists the bar's pieces the
// database does not know and asks for a job and a group under which every
// piece of the bar is to be looked for. It checks nothing: OK hands the two
// texts (empty ones too) to the reader.
//
// The reader fills it with AddMissingPart on the conversion worker, then
// DoModal shows it on the GUI thread while the worker waits.
#pragma once

#include "DynamicArray.h"
#include "MultDialogSupport.h"
#include "MultDialogTemplates.h"

#include "com/ComBstr.h"
#include "vlmrlib/CString.h"

class CChangeMultPartDlg : public CAxDialogImpl<CChangeMultPartDlg> {
public:
    enum { IDD = IDD_CHANGE_MULT_PART };

    explicit CChangeMultPartDlg(BSTR fileName);

    // One row of the list; null texts are empty. The index is not used: rows
    // stand in the order they are added.
    void AddMissingPart(int index, BSTR job, BSTR group, BSTR mark);

    LRESULT OnInitDialog(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnOK(WORD code, WORD id, HWND control, BOOL& bHandled);
    LRESULT OnCancel(WORD code, WORD id, HWND control, BOOL& bHandled);

    // What OK took from the two edits.
    BSTR NewJob() const { return m_bstrNewJob; }
    BSTR NewGroup() const { return m_bstrNewGroup; }

private:
    CDynamicArray<CString> m_jobs;
    CDynamicArray<CString> m_groups;
    CDynamicArray<CString> m_marks;
    CComBSTR m_bstrNewJob;
    CComBSTR m_bstrNewGroup;
    CComBSTR m_bstrFileName;
};
