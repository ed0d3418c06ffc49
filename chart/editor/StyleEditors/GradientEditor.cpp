#include "StyleEditors.h"

#include "TeeConst.h"

#include "system/ScopeGuard.h"

#include <algorithm>
#include <vector>

// ---- TPreviewGradient -------------------------------------------------------------------

TPreviewGradient::TPreviewGradient(TComponent* AOwner) : TCustomTeePanelExtended(AOwner)
{
    SetBevelOuter(bvLowered);
    Gradient()->SetVisible(true);
}

void TPreviewGradient::DrawContents(const TRect& Rect)
{
    DrawBackground(Rect);
}

// ---- themes -----------------------------------------------------------------------------

const std::array<TGradientTheme, 17> GradientThemes = {{
    {"Caribe Sun", 0xDDDFD2, 0xF50A97, 0x0B80F4, 50, gdTopBottom},
    {"Business", 0xC0C0C0, 0xFFFFFF, 0x808080, 50, gdTopBottom},
    {"Hot", 0x0000FF, clNone, 0x00FFFF, 50, gdTopBottom},
    {"Ace", 0x000000, 0xFF8080, 0x000000, 74, gdBottomTop},
    {"Farm", 0x006AD5, 0xFFFFFF, 0x0062C4, 4, gdBottomTop},
    {"Sea", 0xFFFF80, 0xFF8080, 0x800000, 55, gdBottomTop},
    {"Night", 0xFFFFFF, 0x800040, 0x000000, 40, gdTopBottom},
    {"Space", 0xA50320, 0x800040, 0xFFFFFF, 50, gdFromTopLeft},
    {"Golf", 0x159902, 0xC0C0C0, 0xD9F986, 50, gdTopBottom},
    {"Funky", 0xBD3881, 0x87607A, 0x52EB85, 50, gdTopBottom},
    {"Sunset", 0xB85A06, 0xA7D8AF, 0x001042, 50, gdTopBottom},
    {"Rainbow", 0xA11EE8, 0x0F8355, 0xDD011A, 50, gdTopBottom},
    {"Pastel", 0x247489, 0x9491F6, 0xFD8B9D, 50, gdTopBottom},
    {"Tropical", 0x9A414B, 0x732FF3, 0x20D761, 50, gdTopBottom},
    {"Sea 2", 0x4C031C, 0xBACBE1, 0x291EF9, 50, gdTopBottom},
    {"Desert", 0x265FB7, 0xCE7185, 0x604457, 50, gdTopBottom},
    {"Clear day", 0xFFF3EA, 0xE0E6E9, 0xCEDBFF, 50, gdTopBottom},
}};

void ApplyGradientTheme(TCustomTeeGradient* Gradient, int ThemeIndex)
{
    if (Gradient == nullptr || ThemeIndex < 0 || ThemeIndex >= int(GradientThemes.size()))
        return;
    const TGradientTheme& t = GradientThemes[size_t(ThemeIndex)];
    Gradient->SetStartColor(t.Start);
    Gradient->SetMidColor(t.Middle);
    Gradient->SetEndColor(t.End);
    Gradient->SetDirection(t.Direction);
    Gradient->SetBalance(t.Balance);
}

namespace {

const char* const DirectionNames[10] = {"Top Bottom",  "Bottom Top",    "Left Right",       "Right Left",
                                        "From Center", "From Top Left", "From Bottom Left", "Radial",
                                        "Diagonal Up", "Diagonal Down"};

bool HasNoMiddle(TGradientDirection Direction)
{
    return Direction == gdFromCenter || Direction == gdFromTopLeft || Direction == gdFromBottomLeft ||
           Direction == gdRadial;
}

} // namespace

// ---- TTeeGradientEditor -----------------------------------------------------------------

TTeeGradientEditor::TTeeGradientEditor(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "TeeGradientEditor");
    SetCaption("Gradient Editor");
    TFormItems directionRows;
    for (int row = 0; row < 2; ++row) {
        TFormItems samples;
        for (int col = 0; col < 5; ++col) {
            const int i = row * 5 + col;
            samples.push_back(Ctl(Directions[size_t(i)], "Direction" + IntToStr(i)));
        }
        directionRows.push_back(Line(samples));
    }
    BuildForm(this, 251, 197, {
        Panel(PanelTop, "PanelTop", {
            Line({Ctl(CBVisible, "CBVisible", "&Visible"), Stretch(),
                  Row(LDirection, "LDirection", "&Direction:", {Combo(CBDirection, "CBDirection", {
                      "Top Bottom", "Bottom Top", "Left Right", "Right Left", "From Center", "From Top Left",
                      "From Bottom Left", "Radial", "Diagonal Up", "Diagonal Down"})})}),
        }),
        Pages(PageControl1, "PageControl1", {
            Page(TabDefault, "TabDefault", "Default", {
                Line({Ctl(Gallery, "Gallery", "", 110), Ctl(Preview, "Preview")}),
            }),
            Page(TabColors, "TabColors", "Colors", {
                Columns({
                    Column({Ctl(BStart, "BStart", "&Start..."), Ctl(BMid, "BMid", "&Middle..."),
                            Ctl(BEnd, "BEnd", "&End...")}),
                    Column({Ctl(BSwap, "BSwap", "S&wap"), Ctl(CBMid, "CBMid", "&No Middle"), Stretch()}),
                }),
            }),
            Page(TabOptions, "TabOptions", "Options", {
                Row(LBalance, "LBalance", "&Balance:", {Ctl(SBBalance, "SBBalance"), Ctl(LabelBalance, "LabelBalance", "50 %", 48)}),
                Group(GBRadial, "GBRadial", "Radial offset:", {
                    Row("&Horiz:", {Track(TrackBar1, "TrackBar1", -300, 300, 50), Ctl(LRadialX, "LRadialX", "0", 32)}),
                    Row("&Vert:", {Track(TrackBar2, "TrackBar2", -300, 300, 50), Ctl(LRadialY, "LRadialY", "0", 32)}),
                }),
            }),
            Page(TabDirections, "TabDirections", "Directions", directionRows),
        }),
        Panel(Panel1, "Panel1", {Buttons({Ctl(BOk, "BOk", "OK"), Ctl(BCancel, "BCancel", "Cancel")})}),
    });
    SBBalance->SetMax(100);
    BOk->SetDefault(true);
    BOk->SetModalResult(mrOk);
    BCancel->SetCancel(true);
    BCancel->SetModalResult(mrCancel);

    // Themes by name, in sorted order.
    std::vector<std::string> names;
    for (const TGradientTheme& t : GradientThemes)
        names.emplace_back(t.Name);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    for (const std::string& n : names)
        Gallery->Items()->Add(n);
    for (size_t i = 0; i < Directions.size(); ++i) {
        TPreviewGradient* sample = Directions[i];
        sample->SetHint(DirectionNames[i]);
        sample->Gradient()->SetDirection(static_cast<TGradientDirection>(i));
        SetMinimumSize(sample, 40, 34);
        sample->OnMouseDown = [this, i](TObject*, TMouseButton, TShiftState, int, int) { DirectionsChangeChart(int(i)); };
    }
    SetMinimumSize(Preview, 100, 60);
    PageControl1->SetActivePage(TabColors);

    CBVisible->OnClick = [this](TObject* s) { CBVisibleClick(s); };
    CBDirection->OnChange = [this](TObject* s) { CBDirectionChange(s); };
    BSwap->OnClick = [this](TObject* s) { BSwapClick(s); };
    CBMid->OnClick = [this](TObject* s) { CBMidClick(s); };
    BMid->OnClick = [this](TObject* s) { BMidClick(s); };
    BStart->OnClick = [this](TObject* s) { ColorClick(s); };
    BEnd->OnClick = [this](TObject* s) { ColorClick(s); };
    SBBalance->OnChange = [this](TObject* s) { SBBalanceChange(s); };
    TrackBar1->OnChange = [this](TObject* s) { TrackBarChange(s); };
    TrackBar2->OnChange = [this](TObject* s) { TrackBarChange(s); };
    Gallery->OnClick = [this](TObject* s) { GalleryClick(s); };
    BCancel->OnClick = [this](TObject* s) { BCancelClick(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    SetFormBorderStyle(this, bsDialog);
    DoCreate();
}

TTeeGradientEditor::~TTeeGradientEditor() = default;

void TTeeGradientEditor::FormShow(TObject*)
{
    if (FGradient != nullptr)
        SetGradient(FGradient);
    else if (auto* fromTag = reinterpret_cast<TCustomTeeGradient*>(Tag()))
        SetGradient(fromTag);
    FModified = false;
    CallFormShowHook(this);
}

void TTeeGradientEditor::SetGradient(TCustomTeeGradient* Gradient)
{
    auto loading = RestoreOnExit(FLoading);
    FLoading = true;
    FGradient = Gradient;
    SetTag(reinterpret_cast<intptr_t>(Gradient));
    FBackup = std::make_unique<TTeeGradient>();
    if (Gradient != nullptr)
        FBackup->Assign(Gradient);
    BStart->LinkProperty(Gradient, "StartColor");
    BMid->LinkProperty(Gradient, "MidColor");
    BEnd->LinkProperty(Gradient, "EndColor");
    LoadControls();
    EnableControls();
    UpdatePreview();
    if (Gradient != nullptr)
        SelectDirectionSample(Gradient->Direction());
}

void TTeeGradientEditor::LoadControls()
{
    if (FGradient == nullptr)
        return;
    auto loading = RestoreOnExit(FLoading);
    FLoading = true;
    SBBalance->SetPosition(FGradient->Balance());
    LabelBalance->SetCaption(FormatFloat("##0.## %", FGradient->Balance()));
    CBVisible->SetChecked(FGradient->Visible());
    CBDirection->SetItemIndex(FGradient->Direction());
    CBMid->SetChecked(FGradient->MidColor() == clNone);
    TrackBar1->SetPosition(FGradient->RadialX());
    TrackBar2->SetPosition(FGradient->RadialY());
    LRadialX->SetCaption(IntToStr(FGradient->RadialX()));
    LRadialY->SetCaption(IntToStr(FGradient->RadialY()));
    BStart->Repaint();
    BMid->Repaint();
    BEnd->Repaint();
    for (TPreviewGradient* sample : Directions) {
        sample->Gradient()->SetStartColor(FGradient->StartColor());
        sample->Gradient()->SetMidColor(FGradient->MidColor());
        sample->Gradient()->SetEndColor(FGradient->EndColor());
    }
}

void TTeeGradientEditor::EnableControls()
{
    const bool on = FHideEndColor || (FGradient != nullptr && FGradient->Visible());
    for (TControl* c : std::initializer_list<TControl*>{CBDirection, BStart, CBMid, BMid, BEnd, BSwap, Gallery})
        c->SetEnabled(on);
    const TGradientDirection direction = FGradient != nullptr ? FGradient->Direction() : gdTopBottom;
    const bool middle = FHideEndColor || (on && !HasNoMiddle(direction));
    CBMid->SetEnabled(middle);
    BMid->SetEnabled(middle);
    const bool radial = direction == gdRadial;
    for (TControl* c : std::initializer_list<TControl*>{TrackBar1, TrackBar2, LRadialX, LRadialY, GBRadial})
        c->SetEnabled(radial);
}

void TTeeGradientEditor::UpdatePreview()
{
    if (FGradient == nullptr)
        return;
    TTeeGradient* g = Preview->Gradient();
    g->SetVisible(FGradient->Visible());
    g->SetDirection(FGradient->Direction());
    g->SetStartColor(FGradient->StartColor());
    g->SetMidColor(FGradient->MidColor());
    g->SetEndColor(FGradient->EndColor());
    // The balance and the radial centre shape the picture as much as the colours do.
    g->SetBalance(FGradient->Balance());
    g->SetRadialX(FGradient->RadialX());
    g->SetRadialY(FGradient->RadialY());
    for (TPreviewGradient* sample : Directions) {
        sample->Gradient()->SetStartColor(FGradient->StartColor());
        sample->Gradient()->SetMidColor(FGradient->MidColor());
        sample->Gradient()->SetEndColor(FGradient->EndColor());
    }
}

void TTeeGradientEditor::SelectDirectionSample(int Index)
{
    FSelectedDirection = Index;
    for (size_t i = 0; i < Directions.size(); ++i)
        Directions[i]->SetBevelOuter(int(i) == Index ? bvRaised : bvLowered);
}

void TTeeGradientEditor::CBVisibleClick(TObject*)
{
    if (FLoading || FGradient == nullptr)
        return;
    FGradient->SetVisible(CBVisible->Checked());
    FModified = true;
    EnableControls();
    UpdatePreview();
}

void TTeeGradientEditor::CBDirectionChange(TObject*)
{
    if (FLoading || FGradient == nullptr || CBDirection->ItemIndex() < 0)
        return;
    FGradient->SetDirection(static_cast<TGradientDirection>(CBDirection->ItemIndex()));
    FModified = true;
    // Themes use the first four directions only.
    if (CBDirection->ItemIndex() > 3)
        Gallery->SetItemIndex(-1);
    SelectDirectionSample(CBDirection->ItemIndex());
    EnableControls();
    UpdatePreview();
}

void TTeeGradientEditor::BSwapClick(TObject*)
{
    if (FGradient == nullptr)
        return;
    const TColor start = FGradient->StartColor();
    FGradient->SetStartColor(FGradient->EndColor());
    FGradient->SetEndColor(start);
    FModified = true;
    LoadControls();
    UpdatePreview();
}

void TTeeGradientEditor::CBMidClick(TObject*)
{
    if (FLoading || FGradient == nullptr)
        return;
    if (CBMid->Checked()) {
        FGradient->SetMidColor(clNone);
    } else if (FGradient->MidColor() == clNone) {
        FGradient->SetMidColor(clWhite);
    }
    FModified = true;
    BMid->Repaint();
    UpdatePreview();
}

void TTeeGradientEditor::BMidClick(TObject*)
{
    {
        auto loading = RestoreOnExit(FLoading);
        FLoading = true;
        CBMid->SetChecked(FGradient != nullptr && FGradient->MidColor() == clNone);
    }
    ColorClick(BMid);
}

void TTeeGradientEditor::ColorClick(TObject*)
{
    FModified = true;
    UpdatePreview();
}

void TTeeGradientEditor::SBBalanceChange(TObject*)
{
    LabelBalance->SetCaption(FormatFloat("##0.## %", SBBalance->Position()));
    if (FLoading || FGradient == nullptr)
        return;
    FGradient->SetBalance(SBBalance->Position());
    FModified = true;
    UpdatePreview();
}

void TTeeGradientEditor::TrackBarChange(TObject* Sender)
{
    const bool horizontal = Sender == TrackBar1;
    TTrackBar* bar = horizontal ? TrackBar1 : TrackBar2;
    (horizontal ? LRadialX : LRadialY)->SetCaption(IntToStr(bar->Position()));
    if (FLoading || FGradient == nullptr)
        return;
    if (horizontal)
        FGradient->SetRadialX(bar->Position());
    else
        FGradient->SetRadialY(bar->Position());
    FModified = true;
    UpdatePreview();
}

void TTeeGradientEditor::DirectionsChangeChart(int Index)
{
    if (FGradient == nullptr || Index < 0 || Index >= int(Directions.size()))
        return;
    FGradient->SetDirection(static_cast<TGradientDirection>(Index));
    FModified = true;
    {
        auto loading = RestoreOnExit(FLoading);
        FLoading = true;
        CBDirection->SetItemIndex(Index);
    }
    SelectDirectionSample(Index);
    EnableControls();
    UpdatePreview();
}

void TTeeGradientEditor::GalleryClick(TObject*)
{
    const int item = Gallery->ItemIndex();
    if (FGradient == nullptr || item < 0)
        return;
    const std::string name = Gallery->Items()->Get(item);
    for (size_t i = 0; i < GradientThemes.size(); ++i)
        if (name == GradientThemes[i].Name)
            ApplyGradientTheme(FGradient, int(i));
    FModified = true;
    LoadControls();
    EnableControls();
    UpdatePreview();
    SelectDirectionSample(FGradient->Direction());
}

void TTeeGradientEditor::RestoreGradient()
{
    if (!FModified || FGradient == nullptr || !FBackup)
        return;
    TNotifyEvent handler = std::move(FGradient->OnChange);
    FGradient->OnChange = nullptr;
    {
        auto restoreHandler = TScopeGuard([&] { FGradient->OnChange = std::move(handler); });
        FGradient->Assign(FBackup.get());
    }
    if (FGradient->OnChange)
        FGradient->OnChange(FGradient);
    FModified = false;
}

void TTeeGradientEditor::BCancelClick(TObject*)
{
    RestoreGradient();
    SetModalResult(mrCancel);
}

bool ShowGradientEditor(TComponent* AOwner, TCustomTeeGradient* Gradient, bool HideEndColor, bool HideVisible)
{
    std::unique_ptr<TTeeGradientEditor> editor(CreateDialogForm<TTeeGradientEditor>(AOwner));
    editor->SetHideEndColor(HideEndColor);
    editor->SetGradient(Gradient);
    SetControlsVisible({editor->BEnd, editor->BSwap}, !HideEndColor);
    editor->CBVisible->SetVisible(!HideVisible);
    if (editor->ShowModal() == mrOk)
        return true;
    // Closed without OK (Cancel or the close box): the gradient is put back.
    editor->RestoreGradient();
    return false;
}

TTeeGradientEditor* CreateEmbeddedGradientEditor(TComponent* AOwner, TCustomTeeGradient* Gradient)
{
    auto* editor = new TTeeGradientEditor(AOwner);
    editor->SetTag(reinterpret_cast<intptr_t>(Gradient));
    editor->SetGradient(Gradient);
    const int panelHeight = editor->Panel1->Height();
    SetControlsVisible({editor->Panel1, editor->BOk, editor->BCancel}, false);
    editor->SetHeight(editor->Height() - panelHeight);
    return editor;
}

// ---- TButtonGradient --------------------------------------------------------------------

TButtonGradient::TButtonGradient(TComponent* AOwner) : TTeeButton(AOwner) {}

void TButtonGradient::DrawSymbol(TTeeCanvas* Canvas)
{
    TCustomTeeGradient* gradient = LinkedGradient();
    if (!Enabled() || gradient == nullptr)
        return;
    const TRect r = SymbolRect();
    // Drawn visible whatever the gradient's own flag says, quietly.
    TNotifyEvent handler = std::move(gradient->OnChange);
    gradient->OnChange = nullptr;
    const bool visible = gradient->Visible();
    gradient->SetVisible(true);
    gradient->Draw(Canvas, r);
    gradient->SetVisible(visible);
    gradient->OnChange = std::move(handler);
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(visible ? clBlack : TColor(0x808080));
    Canvas->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
}

void TButtonGradient::Click()
{
    TCustomTeeGradient* gradient = LinkedGradient();
    if (gradient == nullptr) {
        TTeeButton::Click();
        return;
    }
    if (ShowGradientEditor(this, gradient, FHideEndColor, false)) {
        Repaint();
        TTeeButton::Click();
    }
}

void AttachGradient(TButtonGradient* Button, TCustomTeeGradient* Gradient)
{
    Button->LinkProperty(Gradient, "");
    Button->Repaint();
}
