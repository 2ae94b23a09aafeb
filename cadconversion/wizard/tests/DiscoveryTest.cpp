// Converter discovery: the category read twelve class IDs at a time, the
// names listed in enumeration order, and the end of the program when no
// converter can be listed.
#include "WizardFixture.h"

#include <cstdio>

TEST_F(WizardTest, DiscoveryListsEveryConverterAcrossBatchesOfTwelve)
{
    for (const int installed : {12, 13, 25}) {
        SCOPED_TRACE(installed);
        // A registry of its own each time; the fixture's puts the variable back.
        setenv("VLMR_REGISTRY", (m_dir / ("registry" + std::to_string(installed))).c_str(), 1);
        std::vector<std::string> expected;
        for (int n = 1; n <= installed; ++n) {
            installConverter(countedConverterClsid(static_cast<unsigned char>(n)));
            char name[32];
            std::snprintf(name, sizeof name, "Counted Converter %02d", n);
            expected.push_back(name);
        }
        // A saved converter that is no longer installed chooses none.
        setProfileString("Conversion", "CLSID", "{FA4E1000-0000-4000-8000-000000000001}");
        CCadConversionPropSheet sheet("Cad Conversion");
        runSheet(sheet, [&](HWND h) {
            const HWND combo = GetDlgItem(sheet.m_formatPage.m_hWnd, IDC_FORMAT);
            EXPECT_EQ(comboEntries(combo), expected);
            EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), -1);
            press(h, IDCANCEL);
        });
    }
}

// Each case ends the program after its message, with exit status 1; the
// message goes to stderr too, for the parent process to see.
TEST_F(WizardTest, NoUsableConverterEndsTheProgramAfterItsMessage)
{
    struct Case {
        const char* name;
        std::function<void(WizardTest&)> install;
        const char* message;
    };
    const Case cases[] = {
        {"nothing installed", [](WizardTest&) {},
         "There are no CAD Conversion Components Installed\non this Computer"},
        {"a module that cannot be loaded",
         [](WizardTest& t) {
             t.installConverter(countedConverterClsid(1), "/nonexistent/libgone.so");
         },
         "Non-Specific Error\nThis program will TERMINATE"},
        // A registry cut short is no registry without converters: the
        // message names the damaged file and line.
        {"a damaged registry",
         [](WizardTest& t) {
             t.installConverter(countedConverterClsid(1));
             const auto hive = t.m_registry.directory() / "HKLM.reg";
             std::string text = testsupport::readFile(hive);
             text.erase(text.rfind("vlmr-registry end\n"));
             testsupport::writeFile(hive, text);
         },
         "There are no CAD Conversion Components Installed\nOn this Computer\nThe registry is "
         "damaged: registry file .*/HKLM.reg, line [0-9]+: the end line \"vlmr-registry end\" is "
         "missing: the file is cut short"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EXIT(
            {
                c.install(*this);
                ui::setDialogAnswerer(
                    [](const ui::DialogRequest& r) -> std::optional<ui::DialogAnswer> {
                        std::fprintf(stderr, "message: [%s]\n", r.text.c_str());
                        return ui::DialogAnswer{IDOK, {}};
                    });
                CCadConversionPropSheet sheet("Cad Conversion");
                sheet.DoModal();
            },
            ::testing::ExitedWithCode(1), std::string("message: \\[") + c.message + "\\]");
    }
}
