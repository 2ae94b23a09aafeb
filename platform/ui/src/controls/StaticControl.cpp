// Static texts (left, centred, right; wrapping like a dialog's labels) and
// etched separator lines.
#include "../Controls.h"

#include <QFrame>
#include <QLabel>

namespace ui::detail {
namespace {

class StaticBehaviour : public Behaviour {
public:
    QString text(const Window& window) const override
    {
        auto* label = qobject_cast<QLabel*>(window.widget.data());
        return label ? label->text() : QString();
    }
    void setText(Window& window, const QString& text) override
    {
        if (auto* label = qobject_cast<QLabel*>(window.widget.data()))
            label->setText(text);
    }
};

} // namespace

void createStatic(const DialogControl& control, QWidget* parent, Window& window)
{
    const DWORD type = control.style & SS_TYPEMASK;
    if (type == SS_ETCHEDHORZ) {
        auto* line = new QFrame(parent);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        window.widget = line;
    } else {
        auto* label = new QLabel(QString::fromStdString(control.text), parent);
        label->setTextFormat(Qt::PlainText);
        const Qt::Alignment horizontal = type == SS_CENTER  ? Qt::AlignHCenter
                                         : type == SS_RIGHT ? Qt::AlignRight
                                                            : Qt::AlignLeft;
        label->setAlignment(horizontal | Qt::AlignTop);
        label->setWordWrap(true);
        label->setContentsMargins(0, 0, 0, 0);
        window.widget = label;
    }
    window.behaviour = std::make_unique<StaticBehaviour>();
}

} // namespace ui::detail
