// For start-up measurements only. With HCAPPROX_QUIT_WHEN_SHOWN set in the environment a
// program ends right after the first paint of its first top-level window: the quit is
// queued when that window receives its first paint event, so it runs once the whole
// window has been painted and handed to the display. Header-only and Qt-only, so that the
// start-up benchmark's minimal Qt program follows exactly the same rule as the program.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>

namespace startupprobe {

class QuitAfterFirstPaint : public QObject {
public:
    explicit QuitAfterFirstPaint(std::function<void()> Quit) : FQuit(std::move(Quit)) {}

protected:
    bool eventFilter(QObject* Watched, QEvent* E) override
    {
        if (!FSeen && E->type() == QEvent::Paint && Watched->isWidgetType() &&
            static_cast<QWidget*>(Watched)->isWindow()) {
            FSeen = true;
            QTimer::singleShot(0, this, [this] { FQuit(); });
        }
        return false;
    }

private:
    std::function<void()> FQuit;
    bool FSeen = false;
};

// Watches the whole application when the environment asks for it (null otherwise); the
// watch ends when the returned object goes.
inline std::unique_ptr<QuitAfterFirstPaint> QuitWhenShownIfAsked(std::function<void()> Quit)
{
    if (qEnvironmentVariableIsEmpty("HCAPPROX_QUIT_WHEN_SHOWN") || QCoreApplication::instance() == nullptr)
        return nullptr;
    auto probe = std::make_unique<QuitAfterFirstPaint>(std::move(Quit));
    QCoreApplication::instance()->installEventFilter(probe.get());
    return probe;
}

} // namespace startupprobe
