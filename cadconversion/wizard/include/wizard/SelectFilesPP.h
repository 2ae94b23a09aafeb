// Page 4 of the wizard: the files to convert, in the order chosen.
#pragma once

#include "wizard/SelectedFilesListBox.h"

#include <string>
#include <vector>

class CSelectFilesPP : public CPropertyPage {
public:
    CSelectFilesPP();

    BOOL OnSetActive() override;

    // Appends every entry's text in list order, when the list exists.
    void GetFileList(std::vector<std::string>& files) const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void OnSelectFiles();
    void OnDelete();
    void UpdateButtons();

    CSelectedFilesListBox m_files;
};
