#include "TeeButtons.h"

#include "controls/CommonDialogs.h"

#include <memory>
#include <vector>

namespace {

// The colour dialog's custom colours, kept from the first dialog until shut-down.
std::unique_ptr<TStringList>& CustomColorsList()
{
    static std::unique_ptr<TStringList> list;
    return list;
}

} // namespace

const TPropInfo* FindColorProperty(const TPersistent* Instance, const std::string& Name)
{
    if (Instance == nullptr || Name.empty())
        return nullptr;
    const TPropInfo* prop = Instance->ClassInfo()->FindProperty(Name);
    return prop != nullptr && prop->Kind == TPropKind::Integer && prop->GetOrd ? prop : nullptr;
}

// ---- TTeeButton ------------------------------------------------------------------------

TTeeButton::TTeeButton(TComponent* AOwner) : TButton(AOwner)
{
    SetBounds(Left(), Top(), 75, 25);
}

TRect TTeeButton::SymbolRect() const
{
    const int w = Width(), h = Height();
    return TRect(w - 19, h - 3 * (h / 4), w - 6, h - h / 4);
}

void TTeeButton::LinkProperty(TPersistent* Instance, const std::string& PropName)
{
    FInstance = Instance;
    FInfo = PropName.empty() ? nullptr : FindColorProperty(Instance, PropName);
    Repaint();
}

void TTeeButton::PaintOver(TCanvas* Canvas)
{
    TTeeCanvas3D surface;
    AttachCanvasToSurface(&surface, Canvas);
    DrawSymbol(&surface);
    AttachCanvasToSurface(&surface, nullptr);
}

// ---- TButtonColor ------------------------------------------------------------------------

TButtonColor::TButtonColor(TComponent* AOwner) : TTeeButton(AOwner) {}

TColor TButtonColor::SymbolColor() const
{
    if (GetColorProc)
        return GetColorProc();
    if (FInstance != nullptr && FInfo != nullptr)
        return ColorToRGB(static_cast<TColor>(FInfo->GetOrd(FInstance)));
    return FColor;
}

void TButtonColor::SetSymbolColor(TColor Value)
{
    if (FInstance != nullptr && FInfo != nullptr && FInfo->SetOrd)
        FInfo->SetOrd(FInstance, Value);
    else
        FColor = Value;
}

void TButtonColor::Click()
{
    const TColor old = SymbolColor();
    const TColor picked = PickColorInDialog(this, old);
    if (picked == old)
        return;
    SetSymbolColor(picked);
    Repaint();
    TTeeButton::Click();
}

void TButtonColor::DrawSymbol(TTeeCanvas* Canvas)
{
    const TColor color = SymbolColor();
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(color);
    if (color == clNone)
        return;
    if (!Enabled())
        Canvas->Pen()->SetStyle(psClear);
    const TRect r = SymbolRect();
    Canvas->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
}

TColor EditColor(TComponent* AOwner, TColor AColor)
{
    auto& custom = CustomColorsList();
    if (!custom)
        custom = std::make_unique<TStringList>();
    auto dialog = std::make_unique<TColorDialog>(AOwner);
    dialog->SetColor(AColor);
    dialog->SetCustomColors(custom.get());
    if (!dialog->Execute())
        return AColor;
    custom->Assign(dialog->CustomColors());
    return dialog->Color();
}

TColor PickColorInDialog(TButtonColor* Button, TColor AColor)
{
    return EditColor(Button, AColor);
}

// ---- TComboFlat --------------------------------------------------------------------------

TComboFlat::TComboFlat(TComponent* AOwner) : TOwnerDrawComboBox(AOwner)
{
    SetHeight(21);
    SetItemHeight(13);
    SetStyle(csDropDownList);
    SetItemIndex(-1);
}

void TComboFlat::PaintOver(TCanvas* Canvas)
{
    if (FMouseInControl || Focused())
        return;
    TPen* pen = Canvas->Pen();
    pen->SetStyle(psSolid);
    pen->SetWidth(1);
    pen->SetColor(clBtnFace);
    Canvas->Brush()->SetStyle(bsClear);
    TRect r(0, 0, Width(), Height());
    Canvas->Rectangle(r);
    InflateRect(r, -1, -1);
    Canvas->Rectangle(r);
    // The drop-down button's area.
    pen->SetColor(clWindow);
    r.Left = r.Right - GetSystemMetrics(SM_CXSIZE) - 2;
    r.Top += 1;
    r.Bottom -= 1;
    Canvas->Rectangle(r);
    Canvas->MoveTo(r.Right - 2, r.Top);
    Canvas->LineTo(r.Right - 2, r.Bottom);
}

void TComboFlat::MouseEnter()
{
    FMouseInControl = true;
    Repaint();
}

void TComboFlat::MouseLeave()
{
    FMouseInControl = false;
    Repaint();
}

void TComboFlat::FocusChanged()
{
    FMouseInControl = false;
    Repaint();
}

// ---- unit start-up ------------------------------------------------------------------------

// Every class lists its colours in its class information: nothing to prepare.
void TeeButtonsInitialization() {}

void TeeButtonsFinalization()
{
    CustomColorsList().reset();
}
