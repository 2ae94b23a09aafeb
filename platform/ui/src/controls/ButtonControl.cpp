// Buttons: push buttons, check boxes, radio buttons and group boxes. Auto
// check boxes toggle and auto radio buttons check themselves and clear the
// others of their group when clicked; the plain kinds leave the check to
// the program, as BM_SETCHECK does. A click notifies BN_CLICKED.
#include "../Controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

namespace ui::detail {
namespace {

class CheckBox : public QCheckBox {
public:
    CheckBox(const QString& text, QWidget* parent, bool automatic)
        : QCheckBox(text, parent), m_automatic(automatic)
    {
    }

protected:
    void nextCheckState() override
    {
        if (m_automatic)
            QCheckBox::nextCheckState();
    }

private:
    bool m_automatic;
};

class RadioButton : public QRadioButton {
public:
    RadioButton(const QString& text, QWidget* parent) : QRadioButton(text, parent)
    {
        setAutoExclusive(false);
    }
    std::function<void()> onClick;

protected:
    void nextCheckState() override
    {
        if (onClick)
            onClick();
    }
};

class ButtonBehaviour : public Behaviour {
public:
    explicit ButtonBehaviour(QAbstractButton* button) : m_button(button) {}

    LRESULT message(Window& window, UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        switch (msg) {
        case BM_GETCHECK:
            return m_button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
        case BM_SETCHECK:
            m_button->setChecked(wParam == BST_CHECKED);
            return 0;
        case BM_CLICK:
            m_button->click();
            return 0;
        default:
            return Behaviour::message(window, msg, wParam, lParam);
        }
    }
    QString text(const Window&) const override { return m_button->text(); }
    void setText(Window&, const QString& text) override { m_button->setText(text); }
    void attached(Window& window) override
    {
        const HWND handle = window.handle;
        if (auto* radio = dynamic_cast<RadioButton*>(m_button);
            radio && (window.style & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
            radio->onClick = [handle] {
                Window* self = find(handle);
                if (!self)
                    return;
                for (Window* peer : radioGroup(*self)) {
                    if (auto* button = qobject_cast<QAbstractButton*>(peer->widget.data()))
                        button->setChecked(peer == self);
                }
            };
        }
        QObject::connect(m_button, &QAbstractButton::clicked, [handle] {
            if (Window* w = find(handle))
                notifyParent(*w, BN_CLICKED);
        });
    }

private:
    QAbstractButton* m_button;
};

class GroupBoxBehaviour : public Behaviour {
public:
    QString text(const Window& window) const override
    {
        auto* box = qobject_cast<QGroupBox*>(window.widget.data());
        return box ? box->title() : QString();
    }
    void setText(Window& window, const QString& text) override
    {
        if (auto* box = qobject_cast<QGroupBox*>(window.widget.data()))
            box->setTitle(text);
    }
};

} // namespace

void createButton(const DialogControl& control, QWidget* parent, Window& window)
{
    const QString text = QString::fromStdString(control.text);
    const DWORD type = control.style & BS_TYPEMASK;
    QAbstractButton* button = nullptr;
    switch (type) {
    case BS_GROUPBOX:
        window.widget = new QGroupBox(text, parent);
        window.behaviour = std::make_unique<GroupBoxBehaviour>();
        return;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
        button = new CheckBox(text, parent, type == BS_AUTOCHECKBOX);
        break;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        button = new RadioButton(text, parent);
        break;
    default: {
        auto* push = new QPushButton(text, parent);
        push->setDefault(type == BS_DEFPUSHBUTTON);
        button = push;
        break;
    }
    }
    if (control.style & BS_LEFTTEXT)
        button->setLayoutDirection(Qt::RightToLeft);
    window.widget = button;
    window.behaviour = std::make_unique<ButtonBehaviour>(button);
}

} // namespace ui::detail
