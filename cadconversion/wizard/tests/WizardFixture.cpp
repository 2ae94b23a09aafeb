// The wizard tests' fixture and sheet helpers.
#include "WizardFixture.h"

#include "halcyra/HalcyraLib.h"
#include "registry/Registry.h"
#include "testing/TemporaryFolder.h"

#include "com/CodePage.h"
#include "com/ComPtr.h"
#include "com/Guid.h"

#include "ui/Window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QThread>
#include <QWidget>

#include <regex>

namespace {

std::string profileKey(const char* section)
{
    return std::string("Software\\Velmora\\") + AfxGetAppName() + "\\" + section;
}

} // namespace

void WizardTest::SetUp()
{
    ui::setDialogAnswerer(
        [this](const ui::DialogRequest& request) -> std::optional<ui::DialogAnswer> {
            asked.push_back(request);
            if (m_answers.empty()) {
                ADD_FAILURE() << "unexpected dialog: " << request.text;
                return ui::DialogAnswer{IDOK, {}};
            }
            Queued next = std::move(m_answers.front());
            m_answers.pop_front();
            if (next.before)
                next.before(request);
            return next.answer;
        });
}

void WizardTest::TearDown()
{
    ui::setDialogAnswerer({});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ui::liveWindowCount(), 0u) << "a window was left open";
    EXPECT_TRUE(m_answers.empty()) << "an answer was not asked for";
    CoFreeUnusedLibraries();
}

void WizardTest::installConverter(const CLSID& clsid, const std::string& modulePath)
{
    const std::string module = modulePath.empty() ? FAKE_CONVERTERS_PATH : modulePath;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CLASSES_ROOT,
                             ("CLSID\\" + guidToString(clsid) + "\\InprocServer32").c_str(), 0,
                             nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueEx(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(module.c_str()),
                  static_cast<DWORD>(module.size() + 1));
    RegCloseKey(key);
    CComPtr<ICatRegister> categories;
    ASSERT_EQ(
        categories.CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER),
        S_OK);
    CATID category = CATID_VelmoraCadConversion;
    ASSERT_EQ(categories->RegisterClassImplCategories(clsid, 1, &category), S_OK);
}

void WizardTest::setProfileString(const char* section, const char* entry, const char* value)
{
    ASSERT_TRUE(AfxGetApp()->WriteProfileString(section, entry, value));
}

void WizardTest::setProfileInt(const char* section, const char* entry, int value)
{
    ASSERT_TRUE(AfxGetApp()->WriteProfileInt(section, entry, value));
}

// Read straight from the registry, so that the key's place is checked too.
std::string WizardTest::profileString(const char* section, const char* entry)
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, profileKey(section).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return "<missing>";
    char data[1024] = "";
    DWORD type = 0;
    DWORD size = sizeof data;
    const bool found = RegQueryValueEx(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(data),
                                       &size) == ERROR_SUCCESS &&
                       type == REG_SZ;
    RegCloseKey(key);
    return found ? std::string(data) : "<missing>";
}

int WizardTest::profileInt(const char* section, const char* entry)
{
    return static_cast<int>(AfxGetApp()->GetProfileInt(section, entry, -99));
}

void WizardTest::answer(ui::DialogAnswer a, std::function<void(const ui::DialogRequest&)> before)
{
    m_answers.push_back({std::move(a), std::move(before)});
}

std::string WizardTest::writeFile(const std::string& name, const std::string& content)
{
    const std::filesystem::path path = m_dir / name;
    testsupport::writeFile(path, content);
    return path.string();
}

std::string WizardTest::readFile(const std::string& path)
{
    return testsupport::readFile(path);
}

void WizardTest::runSheet(CCadConversionPropSheet& sheet, const std::function<void(HWND)>& steps)
{
    bool ran = false;
    const ui::ModalDialogDriver driver([&](HWND h) {
        if (ran)
            return;
        ran = true;
        settle();
        steps(h);
    });
    sheet.DoModal();
    EXPECT_TRUE(ran);
}

void press(HWND hWnd, int id)
{
    SendMessage(GetDlgItem(hWnd, id), BM_CLICK, 0, 0);
    settle();
}

void click(HWND hWnd, int id)
{
    ui::windowWidget(GetDlgItem(hWnd, id))->setFocus(Qt::MouseFocusReason);
    press(hWnd, id);
}

void pressReturn(HWND sheet)
{
    QWidget* frame = ui::windowWidget(sheet);
    QWidget* target = frame->focusWidget() ? frame->focusWidget() : frame;
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(target, &key);
    settle();
}

bool buttonEnabled(HWND sheet, int id)
{
    const HWND button = GetDlgItem(sheet, id);
    return IsWindowEnabled(button) && IsWindowVisible(button);
}

bool checked(HWND page, int id)
{
    return SendMessage(GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string itemText(HWND page, int id)
{
    char text[1024] = "";
    GetDlgItemText(page, id, text, sizeof text);
    return text;
}

std::vector<std::string> comboEntries(HWND combo)
{
    std::vector<std::string> entries;
    const int count = static_cast<int>(SendMessage(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[64] = "";
        SendMessage(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

std::vector<std::string> listEntries(HWND list)
{
    std::vector<std::string> entries;
    const int count = static_cast<int>(SendMessage(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::string text(
            static_cast<std::size_t>(SendMessage(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0)),
            '\0');
        SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(i),
                    reinterpret_cast<LPARAM>(text.data()));
        entries.push_back(text);
    }
    return entries;
}

std::string withoutTimes(const std::string& log)
{
    static const std::regex begin("CAD Conversion Begin [^\r]*\r\n");
    return std::regex_replace(log, begin, "CAD Conversion Begin <time>\r\n");
}

// Lets posted messages (the wizard buttons' states) arrive.
void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

void pumpUntil(const std::function<bool()>& done)
{
    MSG msg;
    while (!done())
        if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    settle();
}
