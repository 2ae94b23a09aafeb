// Dialogs built from templates: placement in dialog units, control kinds,
// initial styles, and the template registry.
#include "SampleTemplates.h"
#include "testing/GuiTest.h"

#include "ui/Window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <cmath>

namespace {

class DialogTemplateTest : public GuiTest {};

// The base units measured independently: "MS Shell Dlg" 8 is an 11-pixel
// sans font at 96 dpi; the average width is that of the 52 letters / 52.
struct BaseUnits {
    int x;
    int y;
};

BaseUnits shellDlgUnits()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    const QFontMetrics m(font);
    const double width =
        m.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {static_cast<int>(std::lround(width / 52.0)), m.height()};
}

int px(int units, int base, int divisor)
{
    return static_cast<int>(std::lround(static_cast<double>(units) * base / divisor));
}

TEST_F(DialogTemplateTest, ControlsSitWhereTheDialogUnitsSay)
{
    const ui::DialogTemplate t = multPartsTemplate();
    const HWND dlg = ui::createDialog(t, nullptr, nullptr);
    ASSERT_NE(dlg, nullptr);
    const BaseUnits base = shellDlgUnits();
    EXPECT_EQ(ui::windowWidget(dlg)->size(), QSize(px(330, base.x, 4), px(249, base.y, 8)));

    HWND control = GetWindow(dlg, GW_CHILD);
    for (const ui::DialogControl& c : t.controls) {
        SCOPED_TRACE(c.text);
        ASSERT_NE(control, nullptr);
        const QRect g = ui::windowWidget(control)->geometry();
        EXPECT_EQ(g, QRect(px(c.x, base.x, 4), px(c.y, base.y, 8), px(c.cx, base.x, 4),
                           px(c.cy, base.y, 8)));
        RECT r{c.x, c.y, c.x + c.cx, c.y + c.cy};
        ASSERT_TRUE(MapDialogRect(dlg, &r));
        EXPECT_EQ(r.left, g.x());
        EXPECT_EQ(r.top, g.y());
        control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(control, nullptr);
    DestroyWindow(dlg);
}

TEST_F(DialogTemplateTest, ClassesStylesAndTextsBecomeTheRightWidgets)
{
    using namespace ui;
    DialogTemplate t;
    t.caption = "Kinds";
    t.cx = 200;
    t.cy = 200;
    t.controls = {
        LTEXT("Label", 10, 0, 0, 50, 8),
        EDITTEXT(11, 0, 10, 50, 14, WS_DISABLED),
        PUSHBUTTON("Push", 12, 0, 30, 50, 14),
        CONTROL("Check", 13, WC_BUTTON, BS_AUTOCHECKBOX | BS_LEFTTEXT, 0, 50, 50, 10),
        CONTROL("Radio", 14, WC_BUTTON, BS_AUTORADIOBUTTON | WS_GROUP, 0, 60, 50, 10),
        GROUPBOX("Group", 15, 0, 70, 50, 30),
        COMBOBOX(16, 0, 100, 50, 60, CBS_DROPDOWNLIST | WS_VSCROLL),
        LISTBOX(17, 0, 120, 50, 40, LBS_EXTENDEDSEL),
        CONTROL("", 18, "syslistview32", LVS_REPORT, 60, 0, 100, 50),
        LTEXT("Hidden note", 19, 60, 60, 100, 8).without(WS_VISIBLE),
    };
    const HWND dlg = createDialog(t, nullptr, nullptr);
    ASSERT_NE(dlg, nullptr);
    auto widget = [&](int id) { return windowWidget(GetDlgItem(dlg, id)); };
    EXPECT_EQ(qobject_cast<QLabel*>(widget(10))->text(), "Label");
    EXPECT_FALSE(qobject_cast<QLineEdit*>(widget(11))->isEnabled());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, 11)));
    EXPECT_EQ(qobject_cast<QPushButton*>(widget(12))->text(), "Push");
    EXPECT_EQ(qobject_cast<QCheckBox*>(widget(13))->layoutDirection(), Qt::RightToLeft);
    EXPECT_NE(qobject_cast<QRadioButton*>(widget(14)), nullptr);
    EXPECT_EQ(qobject_cast<QGroupBox*>(widget(15))->title(), "Group");
    EXPECT_FALSE(qobject_cast<QComboBox*>(widget(16))->isEditable());
    EXPECT_EQ(qobject_cast<QListWidget*>(widget(17))->selectionMode(),
              QAbstractItemView::ExtendedSelection);
    EXPECT_NE(qobject_cast<QTreeWidget*>(widget(18)), nullptr);
    EXPECT_TRUE(widget(19)->isHidden());
    EXPECT_FALSE(GetWindowLong(GetDlgItem(dlg, 19), GWL_STYLE) & WS_VISIBLE);
    char name[32];
    GetClassName(GetDlgItem(dlg, 18), name, sizeof name);
    EXPECT_STREQ(name, WC_LISTVIEW);
    char caption[32];
    GetWindowText(dlg, caption, sizeof caption);
    EXPECT_STREQ(caption, "Kinds");
    DestroyWindow(dlg);
}

TEST_F(DialogTemplateTest, UnknownControlClassMakesNoDialog)
{
    ui::DialogTemplate t;
    t.cx = 50;
    t.cy = 50;
    t.controls = {ui::LTEXT("ok", 1, 0, 0, 10, 8),
                  ui::CONTROL("", 2, "RichEdit20A", 0, 0, 10, 10, 10)};
    EXPECT_EQ(ui::createDialog(t, nullptr, nullptr), nullptr);
}

TEST_F(DialogTemplateTest, RegistryFindsTemplatesWhileTheirResourceLives)
{
    ui::DialogTemplate first = machineNameTemplate();
    first.id = 9123;
    ui::DialogTemplate second = first;
    second.caption = "Other";
    {
        const ui::DialogResource resource{&first};
        EXPECT_EQ(ui::findDialogTemplate(9123), &first);
        const ui::DialogResource clash{&second};
        EXPECT_EQ(ui::findDialogTemplate(9123), &first)
            << "a second template must not replace the first";
    }
    EXPECT_EQ(ui::findDialogTemplate(9123), nullptr);
    EXPECT_EQ(ui::doModal(9123, nullptr, nullptr, [](HWND) {}), -1);
}

} // namespace
