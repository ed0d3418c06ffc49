// The platform's window timer: fires OnTimer every Interval milliseconds on the GUI
// thread while it is enabled and has a handler.
#pragma once

#include "classes/Classes.h"

#include <functional>
#include <memory>

class QTimer;

class TTimer : public TComponent {
public:
    DECLARE_CLASS_NAME(TTimer)
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int Interval() const { return FInterval; }
    void SetInterval(int Value);

    // Runs the handler as an expiry would (under the event guard).
    void Tick();

    TNotifyEvent OnTimer;

private:
    void Update();
    std::unique_ptr<QTimer> FTimer;
    bool FEnabled = true;
    int FInterval = 1000;
};
