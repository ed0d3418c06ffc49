// Common controls of the platform layer: the up-down control.
#pragma once

#include "Controls.h"

#include <memory>

// Two arrow buttons that step Position between Min and Max by Increment. With an
// associated edit, the up-down sits at the edit's right edge (the edit gives up the room),
// the edit shows Position (setting it fires the edit's OnChange, as on the platform), and
// reading Position takes the number typed in the edit, kept within Min..Max; a text that
// is no number leaves Position as it was.
class TUpDown : public TWinControl {
public:
    DECLARE_CLASS_NAME(TUpDown)
    explicit TUpDown(TComponent* AOwner);
    ~TUpDown() override;

    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    int Position() const;
    void SetPosition(int Value);

    TWinControl* Associate() const { return FAssociate; }
    void SetAssociate(TWinControl* Value);

    // What a press of the arrows does: Position moves by Increment up or down.
    void StepUp();
    void StepDown();

    TNotifyEvent OnChange;   // after an arrow changed Position

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void ShowInAssociate();
    int Clamp(int Value) const;
    int FMin = 0;
    int FMax = 100;
    int FIncrement = 1;
    mutable int FPosition = 0;
    TWinControl* FAssociate = nullptr;
};
