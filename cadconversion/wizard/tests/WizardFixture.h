// The fixture of the wizard's tests: a temporary registry and folder per
// test, the test converters installed by registry entries,
// message boxes and file dialogs answered from a script, and helpers that
// drive the wizard sheet. Every test must leave no window behind.
#pragma once

#include "FakeConverters.h"

#include "wizard/CadConversionPropSheet.h"
#include "wizard/Resource.h"

#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryRegistry.h"
#include "ui/TestHooks.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class WizardTest : public ::testing::Test {
public:
    // HKCR entries of one class of the test module, in the converter
    // category; modulePath names another module when given.
    void installConverter(const CLSID& clsid, const std::string& modulePath = "");
    void setProfileString(const char* section, const char* entry, const char* value);
    void setProfileInt(const char* section, const char* entry, int value);
    std::string profileString(const char* section, const char* entry);
    int profileInt(const char* section, const char* entry);

    // The answer to the next message box or file dialog; a question with no
    // answer queued is answered IDOK and fails the test.
    void answer(ui::DialogAnswer a, std::function<void(const ui::DialogRequest&)> before = {});
    std::vector<ui::DialogRequest> asked;

    // A file of the test's folder with the content given; answers its path.
    std::string writeFile(const std::string& name, const std::string& content);
    static std::string readFile(const std::string& path);
    std::string recorded() const { return readFile(m_record); }

    // Runs the sheet modally; steps drive it and must close it.
    void runSheet(CCadConversionPropSheet& sheet, const std::function<void(HWND)>& steps);

    // The test's registry (VLMR_REGISTRY) and its folder for other files.
    testsupport::TemporaryRegistry m_registry{"wizard-case"};
    const std::filesystem::path m_dir = m_registry.folder();

protected:
    void SetUp() override;
    void TearDown() override;

private:
    struct Queued {
        ui::DialogAnswer answer;
        std::function<void(const ui::DialogRequest&)> before;
    };
    std::deque<Queued> m_answers;
    const std::string m_record = (m_dir / "record.txt").string();
    const testsupport::ScopedEnvironment m_recordVariable{"FAKE_CONVERTER_RECORD", m_record};
};

// Sheet helpers, for use inside runSheet's steps.
void press(HWND hWnd, int id);
// As the user clicks: the button takes the focus first.
void click(HWND hWnd, int id);
// The Return key, where the sheet's focus is.
void pressReturn(HWND sheet);
bool buttonEnabled(HWND sheet, int id);
bool checked(HWND page, int id);
std::string itemText(HWND page, int id);
std::vector<std::string> listEntries(HWND list);
// The entries of a combo box, in order.
std::vector<std::string> comboEntries(HWND combo);
void settle();
// The conversion log without its first line's date and time.
std::string withoutTimes(const std::string& log);
// Keeps the GUI thread pumping, as a waiting GUI thread must, until done.
void pumpUntil(const std::function<bool()>& done);
