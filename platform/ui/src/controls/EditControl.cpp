// Single-line edits; every change of the text, by the user or by
// WM_SETTEXT, notifies the parent with EN_CHANGE.
#include "../Controls.h"

#include <QLineEdit>

namespace ui::detail {
namespace {

class EditBehaviour : public Behaviour {
public:
    explicit EditBehaviour(QLineEdit* edit) : m_edit(edit) {}

    QString text(const Window&) const override { return m_edit->text(); }
    void setText(Window&, const QString& text) override
    {
        m_edit->setText(text);
        m_edit->setCursorPosition(0);
    }
    void attached(Window& window) override
    {
        const HWND handle = window.handle;
        QObject::connect(m_edit, &QLineEdit::textChanged, [handle] {
            if (Window* w = find(handle))
                notifyParent(*w, EN_CHANGE);
        });
    }

private:
    QLineEdit* m_edit;
};

} // namespace

void createEdit(const DialogControl& control, QWidget* parent, Window& window)
{
    auto* edit = new QLineEdit(QString::fromStdString(control.text), parent);
    edit->setReadOnly(control.style & ES_READONLY);
    edit->setCursorPosition(0);
    window.widget = edit;
    window.behaviour = std::make_unique<EditBehaviour>(edit);
}

} // namespace ui::detail
