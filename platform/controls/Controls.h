// Controls unit of the platform layer: the control base classes over toolkit widgets,
// alignment inside a parent, fonts, and the guard through which every call from the
// toolkit into our code passes.
#pragma once

#include "classes/Classes.h"
#include "graphics/Colors.h"
#include "graphics/GraphicsObjects.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;
class TWinControl;

// Runs Handler; an exception it raises does not leave it but goes to the application's
// default handler (Application->HandleException), which shows its message. Every event
// that the toolkit delivers to our code runs through this, so that no exception crosses
// the toolkit's event loop.
void GuardedCall(const std::function<void()>& Handler);

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// A visible element: position and size inside its parent, alignment, visibility, caption
// or text, hint, font and a click event. The toolkit widget that shows it is owned by the
// control and carries the control's Name as its objectName.
class TControl : public TComponent {
public:
    DECLARE_CLASS_NAME(TControl)
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    void SetName(const std::string& NewName) override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);

    // A control placed by a toolkit layout (see FormBuilder.h) keeps the bounds that the
    // layout gives its widget: SetBounds leaves them, and BoundsFromLayout takes them
    // from the widget whenever the layout moves it.
    bool LaidOut() const;
    void BoundsFromLayout();

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);

    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value);

    // The topic of the help file that the control's help opens (0: its parent's).
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }

    // Caption and Text are one property, as on the platform; "&" marks an accelerator
    // where the control shows one and "&&" stands for an ampersand.
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& Value) { SetText(Value); }
    std::string Text() const { return GetText(); }
    void SetText(const std::string& Value);

    // Font of the control; until set, the parent's font applies.
    std::string FontName() const;
    void SetFontName(const std::string& Value);
    int FontSize() const;   // points
    void SetFontSize(int Value);
    TFontStyles FontStyle() const { return FFontStyle; }
    void SetFontStyle(TFontStyles Value);
    int FontColor() const { return FFontColor; }
    void SetFontColor(int Value);

    // Gives the control the keyboard focus.
    void SetFocus();
    // True when the control is its window's focused control (the one that has the
    // keyboard focus while the window is active).
    bool Focused() const;

    TNotifyEvent OnClick;
    // Calls OnClick; descendants add what a click does for them.
    virtual void Click();

    // The toolkit widget (null once the toolkit has destroyed it).
    QWidget* Widget() const;

protected:
    // Takes ownership of the control's widget; called once by each descendant's constructor.
    void SetWidget(QWidget* AWidget);
    virtual std::string GetText() const { return FText; }
    // Shows a new text in the widget; FText already holds it.
    virtual void TextChanged() {}
    // Reads the current text back from the widget into FText (for widgets the user types in).
    void StoreText(const std::string& Value) { FText = Value; }
    void ApplyFont();
    // Called after the control's font changed.
    virtual void FontChanged() {}
    void UpdateBoundsFromAlign(int ALeft, int ATop, int AWidth, int AHeight);

    std::string FText;

private:
    friend class TWinControl;
    friend class TForm;
    struct WidgetRef;
    std::unique_ptr<WidgetRef> FWidget;
    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = alNone;
    bool FVisible = true;
    bool FEnabled = true;
    std::string FHint;
    int FHelpContext = 0;
    std::string FFontName;
    int FFontSize = 0;
    TFontStyles FFontStyle;
    bool FFontStyleSet = false;
    int FFontColor = clBlack;
    bool FFontColorSet = false;
};

// A control that holds other controls; aligned children are laid out in its client area
// whenever it or they change: top, then bottom, left, right, and the client one last.
class TWinControl : public TControl {
public:
    DECLARE_CLASS_NAME(TWinControl)
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const;

    // The widget children are placed in (the window's central area for a form).
    virtual QWidget* ClientWidget() const;
    // The rectangle of ClientWidget that aligned children share, from the control's own
    // size (so that layout does not wait for the toolkit to show the widget).
    virtual void GetClientArea(int& ALeft, int& ATop, int& AWidth, int& AHeight) const;
    // Lays the aligned children out again in the client area.
    void Realign();
    // Whether Tab stops at the control; without, it still takes the focus by a click.
    bool TabStop() const;
    virtual void SetTabStop(bool Value);

protected:
    // Lets go of the children: they lose their parent and their widgets are detached
    // from ours, so that they outlive it.
    void DetachChildren();

private:
    friend class TControl;
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    std::vector<TControl*> FControls;
    bool FAligning = false;
};
