// Extra controls of the platform layer: the panel.
#pragma once

#include "Controls.h"

// bvSpace takes the bevel's room without drawing it.
enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
using TBevelCut = TPanelBevel;

// A container with a bevelled border and an optional caption drawn in its centre.
class TPanel : public TWinControl {
public:
    DECLARE_CLASS_NAME(TPanel)
    explicit TPanel(TComponent* AOwner);

    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);

    // Children sit inside the bevel.
    void GetClientArea(int& ALeft, int& ATop, int& AWidth, int& AHeight) const override;

protected:
    void TextChanged() override;

private:
    void ApplyBevel();
    TPanelBevel FBevelOuter = bvRaised;
    int FBevelWidth = 1;
};
