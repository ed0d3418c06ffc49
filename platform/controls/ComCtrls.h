// Common controls of the platform layer: the up-down control.
#pragma once

#include "Controls.h"

#include <functional>
#include <memory>
#include <vector>

class QObject;

// Two arrow buttons that step Position between Min and Max by Increment. With an
// associated edit, the up-down sits at the edit's right edge (the edit gives up the room),
// the edit shows Position (setting it fires the edit's OnChange, as on the platform), and
// reading Position takes the number typed in the edit, kept within Min..Max; a text that
// is no number leaves Position as it was; leaving the edit refuses such a text (see
// RefuseTyped). Up and Down pressed in the associated edit step Position as the arrows
// do; the arrows themselves take no focus.
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
    // The message that refuses the text typed in the associated edit: a text that is no
    // whole number, or one outside Min..Max. Empty for a number within the limits and for
    // an empty edit (which the edit's own handler may read as it likes).
    std::string TypedRefusal() const;
    // When the typed text is refused: the edit shows Position again (the nearest allowed
    // value), the message is shown and the edit has the focus again with its text
    // selected. The associated edit does this when the user leaves it or presses Enter.
    void RefuseTyped();
    // The user is done typing in the associated edit (left it or pressed Enter): a text
    // within the limits goes to OnTyped, a refused one is refused as above.
    void FinishTyping();

    TNotifyEvent OnChange;   // after an arrow changed Position
    // After the user finished typing in the associated edit, also before a refused text
    // is put right (the owner may put back a value of its own): an owner that checks the
    // typed number does it here rather than on every keystroke, so that a number can be
    // typed digit by digit.
    TNotifyEvent OnTyped;

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
    QObject* FArrowKeys = nullptr;   // key filter on the associate's widget, owned by this widget
};

// ---- track bar ---------------------------------------------------------------------

// A slider (QSlider) between Min and Max with tick marks every Frequency positions.
// Setting Position, by the user or the program, fires OnChange when it changes, as on
// the platform.
class TTrackBar : public TWinControl {
public:
    DECLARE_CLASS_NAME(TTrackBar)
    explicit TTrackBar(TComponent* AOwner);

    int Min() const;
    void SetMin(int Value);
    int Max() const;
    void SetMax(int Value);
    int Position() const;
    void SetPosition(int Value);
    int Frequency() const { return FFrequency; }
    void SetFrequency(int Value);
    // The step of the arrow keys.
    void SetLineSize(int Value);

    TNotifyEvent OnChange;

private:
    int FFrequency = 1;
};

// ---- tab pages --------------------------------------------------------------------

class TPageControl;

// One page of a page control; its Caption is the tab's text. Controls whose Parent is
// the sheet sit on the page.
class TTabSheet : public TWinControl {
public:
    DECLARE_CLASS_NAME(TTabSheet)
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    // Moves the sheet to another page control (nullptr takes it out of its own).
    void SetPageControl(TPageControl* Value);
    // The index among the page control's pages (-1 without one).
    int PageIndex() const;
    // Moves the sheet to that place among its page control's pages (clamped).
    void SetPageIndex(int Value);
    // A hidden tab is not offered; the sheet stays in Pages.
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool Value);

protected:
    void TextChanged() override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
};

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// Tabbed pages (QTabWidget). The user's choice of a tab first asks OnChanging, which may
// veto it; then the page shows and OnChange fires. Setting ActivePage from the program
// asks and fires nothing, as on the platform.
class TPageControl : public TWinControl {
public:
    DECLARE_CLASS_NAME(TPageControl)
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int Index) const;   // checked (EListError)
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* Value);
    void SetActivePageIndex(int Value);

    // What a click on the sheet's tab does: OnChanging, and unless vetoed the switch and
    // OnChange. True when the page changed.
    bool SelectPage(TTabSheet* Page);
    // Without the tab bar the pages are chosen only by the program (ActivePage).
    void SetTabBarVisible(bool Value);

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void ShowTabs();
    std::vector<TTabSheet*> FPages;
    bool FSwitching = false;
};

// A row of tabs without pages (QTabBar): Tabs are the texts, TabIndex the chosen one.
// The user's choice asks OnChanging and then fires OnChange; setting TabIndex from the
// program fires nothing.
class TTabControl : public TWinControl {
public:
    DECLARE_CLASS_NAME(TTabControl)
    explicit TTabControl(TComponent* AOwner);
    ~TTabControl() override;

    TStrings* Tabs() const { return FTabs.get(); }
    int TabIndex() const;
    void SetTabIndex(int Value);
    // What a click on tab Index does; true when it changed.
    bool SelectTab(int Index);

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

private:
    std::unique_ptr<TStrings> FTabs;
    bool FSwitching = false;
};
