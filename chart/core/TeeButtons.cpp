#include "TeeButtons.h"

#include "controls/CommonDialogs.h"

#include <memory>
#include <vector>

namespace {

// The colour properties that buttons can be linked to by name.
// Each entry stays where it is while others are added, since buttons keep pointers to it.
std::vector<std::unique_ptr<TColorPropertyInfo>>& ColorProperties()
{
    static std::vector<std::unique_ptr<TColorPropertyInfo>> properties;
    return properties;
}

bool ColorPropertiesRegistered = false;

// The colour dialog's custom colours, kept from the first dialog until shut-down.
std::unique_ptr<TStringList>& CustomColorsList()
{
    static std::unique_ptr<TStringList> list;
    return list;
}

} // namespace

void RegisterColorProperty(const std::string& Name, std::function<bool(const TPersistent*)> Has,
                           std::function<TColor(const TPersistent*)> Get,
                           std::function<void(TPersistent*, TColor)> Set)
{
    ColorProperties().push_back(
        std::make_unique<TColorPropertyInfo>(TColorPropertyInfo{Name, std::move(Has), std::move(Get), std::move(Set)}));
}

const TColorPropertyInfo* FindColorProperty(const TPersistent* Instance, const std::string& Name)
{
    if (Instance == nullptr || Name.empty())
        return nullptr;
    // A button linked before start-up still finds the style objects' colours.
    TeeButtonsInitialization();
    for (const auto& info : ColorProperties())
        if (SameText(info->Name, Name) && info->Has(Instance))
            return info.get();
    return nullptr;
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
        return ColorToRGB(FInfo->Get(FInstance));
    return FColor;
}

void TButtonColor::SetSymbolColor(TColor Value)
{
    if (FInstance != nullptr && FInfo != nullptr)
        FInfo->Set(FInstance, Value);
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

void TeeButtonsInitialization()
{
    if (ColorPropertiesRegistered)
        return;
    ColorPropertiesRegistered = true;
    RegisterColorProperty<TPen>("Color", &TPen::Color, &TPen::SetColor);
    RegisterColorProperty<TBrush>("Color", &TBrush::Color, &TBrush::SetColor);
    RegisterColorProperty<TFont>("Color", &TFont::Color, &TFont::SetColor);
    RegisterColorProperty<TTeeShadow>("Color", &TTeeShadow::Color, &TTeeShadow::SetColor);
    RegisterColorProperty<TCustomTeeGradient>("StartColor", &TCustomTeeGradient::StartColor,
                                              &TCustomTeeGradient::SetStartColor);
    RegisterColorProperty<TCustomTeeGradient>("MidColor", &TCustomTeeGradient::MidColor,
                                              &TCustomTeeGradient::SetMidColor);
    RegisterColorProperty<TCustomTeeGradient>("EndColor", &TCustomTeeGradient::EndColor,
                                              &TCustomTeeGradient::SetEndColor);
}

void TeeButtonsFinalization()
{
    CustomColorsList().reset();
    ColorProperties().clear();
    ColorPropertiesRegistered = false;
}
