// The dialog answerer, the modal dialog driver and the live window count.
#include "ui/TestHooks.h"

#include "DialogAnswerer.h"
#include "WindowTable.h"

#include <QApplication>
#include <QTimer>

#include <mutex>

namespace ui {
namespace {

struct Answerer {
    std::mutex mutex;
    DialogAnswerer answerer;
};

Answerer& answerer()
{
    static Answerer instance;
    return instance;
}

} // namespace

void setDialogAnswerer(DialogAnswerer a)
{
    std::lock_guard lock(answerer().mutex);
    answerer().answerer = std::move(a);
}

namespace detail {

std::optional<DialogAnswer> askAnswerer(const DialogRequest& request)
{
    DialogAnswerer a;
    {
        std::lock_guard lock(answerer().mutex);
        a = answerer().answerer;
    }
    return a ? a(request) : std::nullopt;
}

} // namespace detail

struct ModalDialogDriver::Impl {
    QTimer* timer = nullptr;
    HWND last = nullptr;
};

ModalDialogDriver::ModalDialogDriver(std::function<void(HWND)> onDialog)
    : m_impl(std::make_unique<Impl>())
{
    runOnGuiThread([&] {
        m_impl->timer = new QTimer;
        m_impl->timer->setInterval(5);
        Impl* impl = m_impl.get();
        QObject::connect(impl->timer, &QTimer::timeout, [impl, onDialog] {
            const HWND dialog = detail::handleOf(QApplication::activeModalWidget());
            if (dialog && dialog != impl->last) {
                impl->last = dialog;
                onDialog(dialog);
            }
        });
        m_impl->timer->start();
    });
}

ModalDialogDriver::~ModalDialogDriver()
{
    runOnGuiThread([&] { delete m_impl->timer; });
}

std::size_t liveWindowCount()
{
    std::size_t count = 0;
    runOnGuiThread([&] { count = detail::liveCount(); });
    return count;
}

} // namespace ui
