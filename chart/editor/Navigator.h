// The navigator bar: nine flat buttons (first, prior, next, last, insert, delete, edit,
// post, cancel) that step through something and edit it; descendants decide what the
// buttons do. It can be bound to a chart panel, whose events it then hears.
#pragma once

#include "RizUridu.h"

#include "controls/Buttons.h"

#include <array>
#include <functional>
#include <memory>

enum TRizIvoigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel };
inline constexpr int RizIvoButtonCount = 9;

// A navigator button: a flat speed button that knows its place and repeats its click
// while held down (first after 400 ms, then every 100 ms).
class TRizIvoButton : public TSpeedButton {
public:
    DECLARE_CLASS_NAME(TRizIvoButton)
    explicit TRizIvoButton(TComponent* AOwner);
    TRizIvoigateBtn Index = nbFirst;
};

using TRizIvoClickEvent = std::function<void(TObject* Sender, TRizIvoigateBtn Index)>;

class TCustomRizIvoigator : public TCustomPanelNoCaption, public IPanelEventListener {
public:
    DECLARE_CLASS_NAME(TCustomRizIvoigator)
    explicit TCustomRizIvoigator(TComponent* AOwner);
    ~TCustomRizIvoigator() override;

    // ---- virtual slots ----
    // Makes the nine buttons (glyphs "RizIvo_<name>"); Insert to Cancel start hidden.
    virtual void CreateButtons();
    virtual void HandleChartEvent(TTeeEvent* Event) {}
    // Binds the navigator to a panel: it hears the panel's events and is told when the
    // panel goes.
    virtual void SetPanel(TCustomTeePanel* Value);
    virtual void UpdateButtonStates() {}
    virtual int PageCount() { return 1; }
    virtual void Print() {}
    // The action of a button: the buttons' states are updated, then OnButtonClicked.
    virtual void ButtonClicked(TRizIvoigateBtn Index);

    TRizIvoButton* Buttons(TRizIvoigateBtn Index) const { return FButtons[Index]; }
    TCustomTeePanel* Panel() const { return FPanel; }
    // User hints by button index; a change applies them again.
    TStringList* Hints() const { return FHints.get(); }
    bool Locked() const { return FLocked; }
    void SetLocked(bool Value) { FLocked = Value; }
    int ButtonWidth() const { return FButtonWidth; }
    TRizIvoigateBtn FocusedButton() const { return FFocusedButton; }

    TRizIvoClickEvent OnButtonClicked;

    // Places the visible buttons side by side (see the layout rule in the source).
    void Layout();
    void Loaded() override;
    void HandleEvent(TTeeEvent* Event) override { HandleChartEvent(Event); }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Resize() override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    void ApplyHints();

private:
    // A button pressed by the mouse becomes the focused one, and the bar takes the focus.
    void ButtonMouseDown(TRizIvoigateBtn Index);
    void ShowFocusedButton();

    std::array<TRizIvoButton*, RizIvoButtonCount> FButtons{};
    std::unique_ptr<TStringList> FHints;
    std::unique_ptr<TStringList> FDefaultHints;
    TCustomTeePanel* FPanel = nullptr;
    bool FLocked = false;
    int FButtonWidth = 0;
    TRizIvoigateBtn FFocusedButton = nbFirst;
    bool FInLayout = false;
};
