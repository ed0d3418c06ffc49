// Extra controls of the platform layer: the panel and the radio group.
#pragma once

#include "Controls.h"

#include <memory>
#include <vector>

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


// A framed group of radio buttons, one per item, in Columns columns. Setting ItemIndex,
// by the user or the program, checks that button and fires OnClick when it changes, as
// on the platform.
class TRadioGroup : public TWinControl {
public:
    DECLARE_CLASS_NAME(TRadioGroup)
    explicit TRadioGroup(TComponent* AOwner);
    ~TRadioGroup() override;

    TStrings* Items() const;
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    int Columns() const { return FColumns; }
    void SetColumns(int Value);
    // The radio button of item Index (checked, EListError), for enabling one item.
    TControl* Buttons(int Index) const;

protected:
    void TextChanged() override;

private:
    void RebuildButtons();
    std::unique_ptr<TStringList> FItems;
    std::vector<TControl*> FButtons;
    int FItemIndex = -1;
    int FColumns = 1;
    bool FUpdating = false;
};
