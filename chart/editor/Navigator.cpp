#include "Navigator.h"

#include "TeeConst.h"

#include "controls/FormBuilder.h"
#include "controls/Resources.h"
#include "controls/StdButtons.h"
#include "graphics/Bitmap.h"

#include <algorithm>

int qInitResources_navigatorglyphs();

namespace {

constexpr int MinButtonWidth = 20;
constexpr int MinButtonHeight = 18;

const char* const ButtonNames[RizIvoButtonCount] = {"First", "Prior", "Next", "Last", "Insert",
                                                     "Delete", "Edit", "Post", "Cancel"};

const std::string* const DefaultHintTexts[RizIvoButtonCount] = {
    &TeeMsg_ButtonFirst, &TeeMsg_ButtonPrior, &TeeMsg_ButtonNext, &TeeMsg_ButtonLast, &TeeMsg_ButtonInsert,
    &TeeMsg_ButtonDelete, &TeeMsg_ButtonEdit, &TeeMsg_ButtonPost, &TeeMsg_ButtonCancel};

// The glyph resource holds the normal and the disabled image side by side; the button
// shows the first (the toolkit greys it when disabled).
void LoadButtonGlyph(TRizIvoButton* Button, const std::string& Name)
{
    static const int ready = qInitResources_navigatorglyphs();
    (void)ready;
    TBitmap both;
    if (!LoadBitmapResource(&both, Name))
        return;
    const int w = both.Width() >= 2 * both.Height() ? both.Width() / 2 : both.Width();
    TBitmap glyph;
    glyph.SetSize(w, both.Height());
    glyph.Canvas()->CopyRect(TRect(0, 0, w, both.Height()), *both.Canvas(), TRect(0, 0, w, both.Height()));
    SetSpeedButtonGlyph(Button, glyph);
}

} // namespace

TRizIvoButton::TRizIvoButton(TComponent* AOwner) : TSpeedButton(AOwner)
{
    SetAutoRepeat(true, 400, 100);
}

TCustomRizIvoigator::TCustomRizIvoigator(TComponent* AOwner)
    : TCustomPanelNoCaption(AOwner), FHints(std::make_unique<TStringList>()),
      FDefaultHints(std::make_unique<TStringList>())
{
    SetBevelOuter(bvNone);
    SetBevelInner(bvNone);
    FHints->OnChange = [this](TObject*) { ApplyHints(); };
    for (const std::string* text : DefaultHintTexts)
        FDefaultHints->Add(*text);
    CreateButtons();
    ApplyHints();
    SetBounds(Left(), Top(), 241, 25);
    // Laid out on a form, it keeps room for its buttons at their smallest.
    SetMinimumSize(this, RizIvoButtonCount * MinButtonWidth, 25);
    Layout();
}

TCustomRizIvoigator::~TCustomRizIvoigator()
{
    SetPanel(nullptr);
}

void TCustomRizIvoigator::CreateButtons()
{
    for (int i = 0; i < RizIvoButtonCount; ++i) {
        auto* b = new TRizIvoButton(this);
        b->Index = static_cast<TRizIvoigateBtn>(i);
        b->SetName(std::string("Button") + ButtonNames[i]);
        b->SetFlat(true);
        b->SetParent(this);
        b->SetBounds(0, 0, MinButtonWidth, MinButtonHeight);
        LoadButtonGlyph(b, std::string("RizIvo_") + ButtonNames[i]);
        // The bar takes the keys for its buttons: Tab stops at the bar, not at each button.
        b->SetTakesFocus(false);
        b->OnClick = [this, b](TObject*) { ButtonClicked(b->Index); };
        b->OnMouseDown = [this, b](TObject*) { ButtonMouseDown(b->Index); };
        FButtons[static_cast<size_t>(i)] = b;
    }
    for (TRizIvoigateBtn i : {nbInsert, nbDelete, nbEdit, nbPost, nbCancel})
        FButtons[i]->SetVisible(false);
}

void TCustomRizIvoigator::ApplyHints()
{
    for (int i = 0; i < RizIvoButtonCount; ++i)
        if (FButtons[static_cast<size_t>(i)] != nullptr)
            FButtons[static_cast<size_t>(i)]->SetHint(FDefaultHints->Get(i));
    const int n = std::min(FHints->Count(), RizIvoButtonCount);
    for (int i = 0; i < n; ++i)
        if (!FHints->Get(i).empty() && FButtons[static_cast<size_t>(i)] != nullptr)
            FButtons[static_cast<size_t>(i)]->SetHint(FHints->Get(i));
}

void TCustomRizIvoigator::SetPanel(TCustomTeePanel* Value)
{
    if (SwitchListenedPanel(this, this, FPanel, Value))
        UpdateButtonStates();
}

void TCustomRizIvoigator::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomPanelNoCaption::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FPanel && FPanel != nullptr) {
        // The panel is going, and its listeners with it: nothing to leave.
        FPanel = nullptr;
        UpdateButtonStates();
    }
}

void TCustomRizIvoigator::ButtonClicked(TRizIvoigateBtn Index)
{
    UpdateButtonStates();
    if (OnButtonClicked)
        OnButtonClicked(this, Index);
}

void TCustomRizIvoigator::Loaded()
{
    TCustomPanelNoCaption::Loaded();
    Layout();
    ApplyHints();
    UpdateButtonStates();
}

void TCustomRizIvoigator::Resize()
{
    TCustomPanelNoCaption::Resize();
    Layout();
}

// The visible buttons share the width: w = width div n each, and the spare pixels go one
// each to buttons spread along the bar by an error term (as lines are drawn). Unless the
// bar is aligned, its width shrinks to n x w. Hidden buttons wait just right of the bar.
void TCustomRizIvoigator::Layout()
{
    if (FInLayout || IsLoading() || FButtons[0] == nullptr)
        return;
    FInLayout = true;
    int n = 0;
    for (TRizIvoButton* b : FButtons)
        if (b->Visible())
            ++n;
    n = std::max(n, 1);
    int width = std::max(Width(), n * MinButtonWidth);
    const int height = std::max(Height(), MinButtonHeight);
    const int w = width / n;
    if (Align() == alNone)
        width = n * w;
    if (width != Width() || height != Height())
        SetBounds(Left(), Top(), width, height);
    FButtonWidth = w;
    const int spare = width - n * w;
    int err = n / 2;
    int x = 0;
    for (TRizIvoButton* b : FButtons) {
        if (!b->Visible()) {
            b->SetBounds(width + 1, 0, w, height);
            continue;
        }
        int bw = w;
        if (spare != 0) {
            err -= spare;
            if (err < 0) {
                err += n;
                ++bw;
            }
        }
        b->SetBounds(x, 0, bw, height);
        x += bw;
    }
    FInLayout = false;
}

void TCustomRizIvoigator::ButtonMouseDown(TRizIvoigateBtn Index)
{
    FFocusedButton = Index;
    if (TabStop() && !Focused() && Enabled() && Visible())
        SetFocus();
    ShowFocusedButton();
}

// The focused button shows a focus rectangle while the bar has the keyboard focus.
void TCustomRizIvoigator::ShowFocusedButton()
{
    const bool focused = Focused();
    for (TRizIvoButton* b : FButtons)
        if (b != nullptr)
            b->SetFocusFrame(focused && b->Index == FFocusedButton);
}

void TCustomRizIvoigator::DoEnter()
{
    TCustomPanelNoCaption::DoEnter();
    ShowFocusedButton();
}

void TCustomRizIvoigator::DoExit()
{
    TCustomPanelNoCaption::DoExit();
    ShowFocusedButton();
}

void TCustomRizIvoigator::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TCustomPanelNoCaption::KeyDown(Key, Shift);
    TRizIvoButton* focused = FButtons[FFocusedButton];
    switch (Key) {
    case VK_SPACE:
        if (focused->Enabled())
            focused->Click();
        break;
    case VK_LEFT:
        for (int i = FFocusedButton - 1; i >= 0; --i)
            if (FButtons[static_cast<size_t>(i)]->Visible()) {
                FFocusedButton = static_cast<TRizIvoigateBtn>(i);
                break;
            }
        break;
    case VK_RIGHT:
        for (int i = FFocusedButton + 1; i < RizIvoButtonCount; ++i)
            if (FButtons[static_cast<size_t>(i)]->Visible()) {
                FFocusedButton = static_cast<TRizIvoigateBtn>(i);
                break;
            }
        break;
    default:
        break;
    }
    ShowFocusedButton();
}
