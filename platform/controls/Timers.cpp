#include "Timers.h"

#include "Controls.h"

#include <QTimer>

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FTimer(std::make_unique<QTimer>())
{
    QObject::connect(FTimer.get(), &QTimer::timeout, [this] { Tick(); });
    Update();
}

TTimer::~TTimer() = default;

void TTimer::SetEnabled(bool Value)
{
    SetAndNotify(FEnabled, Value, [this] { Update(); });
}

void TTimer::SetInterval(int Value)
{
    SetAndNotify(FInterval, Value, [this] { Update(); });
}

void TTimer::Tick()
{
    if (OnTimer)
        GuardedCall([this] { OnTimer(this); });
}

void TTimer::Update()
{
    FTimer->stop();
    if (FEnabled && FInterval > 0) {
        FTimer->setInterval(FInterval);
        FTimer->start();
    }
}
