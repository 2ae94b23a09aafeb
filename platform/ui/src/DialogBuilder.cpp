// Builds dialogs from templates: the dialog font and its base units, the
// controls placed in dialog units, and the modal loop.
#include "Controls.h"
#include "DialogFrame.h"
#include "WindowTable.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include <cmath>
#include <cstdio>

namespace ui::detail {
namespace {

// The Windows dialog fonts are not here; a sans font of the same size
// stands in for them.
QString fontFamily(const std::string& name)
{
    static const char* const dialogFonts[] = {"MS Shell Dlg",         "MS Shell Dlg 2",
                                              "MS Sans Serif",        "Tahoma",
                                              "Microsoft Sans Serif", "Segoe UI"};
    for (const char* dialogFont : dialogFonts)
        if (QString::fromStdString(name).compare(QLatin1String(dialogFont), Qt::CaseInsensitive) ==
            0)
            return QStringLiteral("DejaVu Sans");
    return QString::fromStdString(name);
}

int mulDiv(int value, int numerator, int denominator)
{
    return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

QFont dialogFont(const DialogTemplate& t)
{
    QFont font(fontFamily(t.fontName));
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(t.pointSize * dpi / 72.0))));
    return font;
}

UINT virtualKey(int key)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<UINT>(key);
    static const std::pair<int, UINT> keys[] = {
        {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},       {Qt::Key_Return, VK_RETURN},
        {Qt::Key_Enter, VK_RETURN},   {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
        {Qt::Key_PageUp, VK_PRIOR},   {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_End, VK_END},
        {Qt::Key_Home, VK_HOME},      {Qt::Key_Left, VK_LEFT},     {Qt::Key_Up, VK_UP},
        {Qt::Key_Right, VK_RIGHT},    {Qt::Key_Down, VK_DOWN},     {Qt::Key_Insert, VK_INSERT},
        {Qt::Key_Delete, VK_DELETE},  {Qt::Key_F1, VK_F1},
    };
    for (const auto& [qt, vk] : keys)
        if (qt == key)
            return vk;
    return 0;
}

// Gives a control's handler its WM_KEYDOWN first; Qt handles the key when
// the handler passes it on to the default behaviour.
class KeyRouter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const HWND handle = handleOf(static_cast<QWidget*>(watched));
        Window* window = find(handle);
        const UINT vk = virtualKey(static_cast<QKeyEvent*>(event)->key());
        if (!window || !window->handler || vk == 0)
            return false;
        keyReachedDefault() = false;
        deliver(handle, WM_KEYDOWN, vk, 1);
        return !keyReachedDefault();
    }
};

class DialogBehaviour : public Behaviour {
public:
    LRESULT message(Window& window, UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_CLOSE && !(window.style & WS_CHILD)) {
            deliver(window.handle, WM_COMMAND, IDCANCEL, 0);
            return 0;
        }
        return Behaviour::message(window, msg, wParam, lParam);
    }
};

} // namespace

void DialogFrame::reject()
{
    deliver(handle, WM_COMMAND, IDCANCEL, 0);
}

void DialogFrame::accept()
{
    deliver(handle, WM_COMMAND, IDOK, 0);
}

void DialogFrame::closeEvent(QCloseEvent* event)
{
    Window* window = detail::find(handle);
    if (!window || window->modalEnded) {
        event->accept();
        return;
    }
    event->ignore();
    deliver(handle, WM_CLOSE, 0, 0);
}

void DialogFrame::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        deliver(handle, WM_COMMAND, ID_HELP, 0);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace ui::detail

namespace ui {

using namespace detail;

HWND createDialog(const DialogTemplate& t, HWND parent, MessageHandler* handler, QWidget* container)
{
    HWND result = nullptr;
    runOnGuiThread([&] {
        const QFont font = dialogFont(t);
        const QFontMetrics metrics(font);
        const int width52 = metrics.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        const int baseX = (width52 / 26 + 1) / 2;
        const int baseY = metrics.height();

        QWidget* widget = nullptr;
        DialogFrame* frame = nullptr;
        if (container) {
            widget = new QWidget(container);
        } else {
            QWidget* owner = windowWidget(parent);
            frame = new DialogFrame(owner ? owner->window() : nullptr);
            // Modal from the start, so that a dialog shown early (SetWindowPos
            // with SWP_SHOWWINDOW in OnInitDialog) is modal too.
            frame->setModal(true);
            widget = frame;
        }
        widget->setFont(font);
        widget->setWindowTitle(QString::fromStdString(t.caption));
        widget->setFixedSize(mulDiv(t.cx, baseX, 4), mulDiv(t.cy, baseY, 8));
        widget->setHidden(true);

        auto window = std::make_unique<Window>();
        window->widget = widget;
        window->parent = parent;
        window->style = t.style | (container ? WS_CHILD : 0);
        window->className = "#32770";
        window->behaviour = std::make_unique<DialogBehaviour>();
        window->font = std::make_unique<HFONT__>(HFONT__{font});
        window->baseX = baseX;
        window->baseY = baseY;
        window->handler = handler;
        Window& dialog = add(std::move(window));
        const HWND handle = dialog.handle;
        if (frame)
            frame->handle = handle;

        auto* router = new KeyRouter(widget);
        for (const DialogControl& c : t.controls) {
            auto control = std::make_unique<Window>();
            control->parent = handle;
            control->id = c.id;
            control->style = c.style;
            if (!createControl(c, widget, *control)) {
                std::fprintf(stderr, "dialog %u: unknown control class \"%s\"\n", t.id,
                             c.className.c_str());
                remove(handle);
                delete widget;
                return;
            }
            QWidget* w = control->widget;
            w->setGeometry(mulDiv(c.x, baseX, 4), mulDiv(c.y, baseY, 8), mulDiv(c.cx, baseX, 4),
                           mulDiv(c.cy, baseY, 8));
            w->setHidden(!(c.style & WS_VISIBLE));
            w->setEnabled(!(c.style & WS_DISABLED));
            w->setFocusPolicy((c.style & WS_TABSTOP) ? Qt::StrongFocus : w->focusPolicy());
            w->installEventFilter(router);
            Window& added = add(std::move(control));
            added.behaviour->attached(added);
        }
        result = handle;
    });
    return result;
}

INT_PTR runModalDialog(HWND hDlg)
{
    INT_PTR result = -1;
    runOnGuiThread([&] {
        Window* window = find(hDlg);
        auto* frame = window ? dynamic_cast<DialogFrame*>(window->widget.data()) : nullptr;
        if (!frame)
            return;
        if (!window->modalEnded)
            frame->exec();
        if (Window* after = find(hDlg))
            result = after->modalResult;
    });
    return result;
}

INT_PTR doModal(UINT templateId, HWND owner, MessageHandler* handler,
                const std::function<void(HWND)>& created)
{
    const DialogTemplate* t = findDialogTemplate(templateId);
    if (!t) {
        std::fprintf(stderr, "dialog template %u is not registered\n", templateId);
        return -1;
    }
    return doModal(*t, owner, handler, created);
}

INT_PTR doModal(const DialogTemplate& t, HWND owner, MessageHandler* handler,
                const std::function<void(HWND)>& created)
{
    INT_PTR result = -1;
    runOnGuiThread([&] {
        const HWND hDlg = createDialog(t, owner, handler);
        if (!hDlg)
            return;
        created(hDlg);
        if (deliver(hDlg, WM_INITDIALOG, 0, 0)) {
            if (Window* dialog = find(hDlg)) {
                for (HWND child : dialog->children) {
                    QWidget* w = find(child)->widget;
                    if (w && w->focusPolicy() & Qt::TabFocus && w->isEnabled() && !w->isHidden()) {
                        w->setFocus();
                        break;
                    }
                }
            }
        }
        result = runModalDialog(hDlg);
        DestroyWindow(hDlg);
    });
    return result;
}

} // namespace ui

BOOL EndDialog(HWND hDlg, INT_PTR result)
{
    BOOL done = FALSE;
    ui::runOnGuiThread([&] {
        ui::detail::Window* window = ui::detail::find(hDlg);
        if (!window)
            return;
        window->modalEnded = true;
        window->modalResult = result;
        if (auto* frame = dynamic_cast<ui::detail::DialogFrame*>(window->widget.data()))
            frame->done(static_cast<int>(result));
        done = TRUE;
    });
    return done;
}
