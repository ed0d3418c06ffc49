// The first paint of a window, watched. With HCAPPROX_QUIT_WHEN_SHOWN set in the
// environment (for start-up measurements only) a program ends right after the first
// paint of its first top-level window; the application also gives the toolkit's fill
// threads back after its main window's first paint. Header-only and Qt-only, so that the
// start-up benchmark's minimal Qt program follows exactly the same rule as the program.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>

namespace startupprobe {

// Calls Then once, queued when a top-level window that Watched sees (the application:
// any window; a window: that one) receives its first paint event, so that it runs once
// the whole window has been painted and handed to the display. The watch ends with the
// object, and a call still queued then is dropped.
class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QObject* Watched, std::function<void()> Then) : FWatched(Watched), FThen(std::move(Then))
    {
        if (Watched != nullptr)
            Watched->installEventFilter(this);
    }
    ~FirstPaintWatch() override
    {
        if (FWatched != nullptr)
            FWatched->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* E) override
    {
        if (!FSeen && E->type() == QEvent::Paint && Watched->isWidgetType() &&
            static_cast<QWidget*>(Watched)->isWindow()) {
            FSeen = true;
            QTimer::singleShot(0, this, [this] { FThen(); });
        }
        return false;
    }

private:
    QPointer<QObject> FWatched;
    std::function<void()> FThen;
    bool FSeen = false;
};

// Watches the whole application when the environment asks for it (null otherwise); the
// watch ends when the returned object goes.
inline std::unique_ptr<FirstPaintWatch> QuitWhenShownIfAsked(std::function<void()> Quit)
{
    if (qEnvironmentVariableIsEmpty("HCAPPROX_QUIT_WHEN_SHOWN") || QCoreApplication::instance() == nullptr)
        return nullptr;
    return std::make_unique<FirstPaintWatch>(QCoreApplication::instance(), std::move(Quit));
}

} // namespace startupprobe
