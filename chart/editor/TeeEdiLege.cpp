#include "TeeEdiLege.h"

#include "system/ScopeGuard.h"

#include <string>

namespace {

// The title's alignment as the combo box lists it: left, centre, right.
int AlignmentItem(TAlignment Value)
{
    return Value == taCenter ? 1 : Value == taRightJustify ? 2 : 0;
}

TAlignment ItemAlignment(int Item)
{
    return Item == 1 ? taCenter : Item == 2 ? taRightJustify : taLeftJustify;
}

} // namespace

TFormTeeLegend::TFormTeeLegend(TComponent* AOwner, TCustomChartLegend* ALegend) : TEditorPage(AOwner), FLegend(ALegend)
{
    SetUniqueFormName(this, "FormTeeLegend");
    SetCaption("Legend");
    BuildForm(this, 420, 290, {
        Pages(PageControl1, "PageControl1", {
            Page(TabStyle, "TabStyle", "Style", {
                Columns({
                    Column({Ctl(CBShow, "CBShow", "&Visible"), Ctl(CBInverted, "CBInverted", "&Inverted"),
                            Ctl(CBFontColor, "CBFontColor", "&Font Series Color"),
                            Combo(CBCheckBoxes, "CBCheckBoxes", {"No check boxes", "Check boxes", "Radio buttons"}),
                            Ctl(BDivLines, "BDivLines", "&Dividing Lines..."), Stretch()}),
                    Column({Row("Legend &Style:", {Combo(CBLegendStyle, "CBLegendStyle",
                                                         {"Automatic", "Series Names", "Series Values", "Last Values"})}),
                            Row("Text St&yle:", {Combo(CBLegStyle, "CBLegStyle",
                                                       {"Plain", "Left Value", "Right Value", "Left Percent", "Right Percent",
                                                        "X Value", "Value", "Percent", "X and Value", "X and Percent"})}),
                            Row("V&ert. Spacing:", {UpDownEdit(EVertSpacing, "EVertSpacing", UDVertSpacing, "UDVertSpacing", -10, 100)}),
                            Stretch()}),
                }),
            }),
            Page(TabPosition, "TabPosition", "Position", {
                Columns({
                    Column({Radios(RGPosition, "RGPosition", "Position", {"&Left", "&Right", "&Top", "&Bottom"}), Stretch()}),
                    Column({Ctl(CBResizeChart, "CBResizeChart", "Resi&ze Chart"),
                            Row("&Position Offset %:", {UpDownEdit(SETopPos, "SETopPos", UDTopPos, "UDTopPos", -100, 100)}),
                            Row("&Margin:", {UpDownEdit(SEMargin, "SEMargin", UDMargin, "UDMargin", -1000, 1000)}),
                            Ctl(CBCustPos, "CBCustPos", "&Custom:"),
                            Row("L&eft:", {UpDownEdit(ECustLeft, "ECustLeft", UDLeft, "UDLeft", -100, 1000, 5)}),
                            Row("T&op:", {UpDownEdit(ECustTop, "ECustTop", UDTop, "UDTop", -100, 1000, 5)}),
                            Stretch()}),
                }),
            }),
            Page(TabSymbol, "TabSymbol", "Symbols", {
                Columns({
                    Column({Row("&Width:", {UpDownEdit(SEColWi, "SEColWi", UDColWi, "UDColWi", 0, 1000, 5)}),
                            Row("Width &Units:", {Combo(CBColWUnits, "CBColWUnits", {"Percent", "Pixels"})}),
                            Row("&Position:", {Combo(CBSymbolPos, "CBSymbolPos", {"Left", "Right"})}),
                            Ctl(BSymGradient, "BSymGradient", "&Gradient..."), Stretch()}),
                    Column({Ctl(CBContinuous, "CBContinuous", "&Continuous"), Ctl(CBVisible, "CBVisible", "&Visible"),
                            Ctl(CBSquared, "CBSquared", "&Squared"), Ctl(CBSymPen, "CBSymPen", "&Default border"),
                            Ctl(BSymPen, "BSymPen", "&Border..."), Stretch()}),
                }),
            }),
            Page(TabTitle, "TabTitle", "Title", {
                Pages(PageControl2, "PageControl2", {
                    Page(TabTitleStyle, "TabTitleStyle", "Style", {
                        Row("&Text:", {Ctl(MemoText, "MemoText")}),
                        Row("Text &alignment:", {Combo(CBTextAlign, "CBTextAlign", {"Left", "Center", "Right"})}),
                        Ctl(CBTitleVisible, "CBTitleVisible", "&Visible"),
                    }),
                }),
            }),
        }),
    });
    SetMinimumSize(MemoText, 180, 60);
    BSymGradient->SetHideEndColor(true);

    // Style
    OnCheck(CBShow, [this] { FLegend->SetVisible(CBShow->Checked()); });
    OnCheck(CBInverted, [this] { FLegend->SetInverted(CBInverted->Checked()); });
    OnCombo(CBLegendStyle, [this](int i) { FLegend->SetLegendStyle(static_cast<TLegendStyle>(i)); });
    OnCombo(CBLegStyle, [this](int i) { FLegend->SetTextStyle(static_cast<TLegendTextStyle>(i)); });
    OnEdit(EVertSpacing, [this] { FLegend->SetVertSpacing(UDVertSpacing->Position()); });
    OnCheck(CBFontColor, [this] { FLegend->SetFontSeriesColor(CBFontColor->Checked()); });
    OnCombo(CBCheckBoxes, [this](int i) {
        FLegend->SetCheckBoxes(i > 0);
        if (i > 0)
            FLegend->SetCheckBoxesStyle(i == 1 ? cbsCheck : cbsRadio);
    });
    // Position
    OnRadio(RGPosition, [this](int i) {
        FLegend->SetAlignment(static_cast<TLegendAlignment>(i));
        // The margin box now edits the other margin: it shows that one, without writing.
        Load([this] { LoadMargin(); });
    });
    OnCheck(CBResizeChart, [this] { FLegend->SetResizeChart(CBResizeChart->Checked()); });
    OnEdit(SETopPos, [this] { FLegend->SetTopPos(UDTopPos->Position()); });
    OnEdit(SEMargin, [this] {
        if (FLegend->IsVertical())
            FLegend->SetHorizMargin(UDMargin->Position());
        else
            FLegend->SetVertMargin(UDMargin->Position());
    });
    CBCustPos->OnClick = [this](TObject* s) { CBCustPosClick(s); };
    OnEdit(ECustLeft, [this] { FLegend->SetLeft(UDLeft->Position()); });
    OnEdit(ECustTop, [this] { FLegend->SetTop(UDTop->Position()); });
    // Symbols
    OnEdit(SEColWi, [this] { FLegend->Symbol()->SetWidth(UDColWi->Position()); });
    OnCombo(CBColWUnits, [this](int i) { FLegend->Symbol()->SetWidthUnits(static_cast<TLegendSymbolSize>(i)); });
    OnCombo(CBSymbolPos, [this](int i) { FLegend->Symbol()->SetPosition(static_cast<TLegendSymbolPosition>(i)); });
    OnCheck(CBContinuous, [this] { FLegend->Symbol()->SetContinuous(CBContinuous->Checked()); });
    OnCheck(CBVisible, [this] { FLegend->Symbol()->SetVisible(CBVisible->Checked()); });
    OnCheck(CBSquared, [this] {
        FLegend->Symbol()->SetSquared(CBSquared->Checked());
        EnableSymbol();
    });
    OnCheck(CBSymPen, [this] {
        FLegend->Symbol()->SetDefaultPen(CBSymPen->Checked());
        EnableSymbol();
    });
    // Title
    MemoText->OnChange = [this](TObject* s) { MemoTextChange(s); };
    OnCombo(CBTextAlign, [this](int i) { FLegend->Title()->SetTextAlignment(ItemAlignment(i)); });
    OnCheck(CBTitleVisible, [this] { FLegend->Title()->SetVisible(CBTitleVisible->Checked()); });

    if (FLegend != nullptr) {
        FLegendShape = EmbedShapeEditor(PageControl1, FLegend);
        FTitleShape = EmbedShapeEditor(PageControl2, FLegend->Title());
    }
    PageControl1->SetActivePage(TabStyle);
    PageControl2->SetActivePage(TabTitleStyle);
    OnShow = [this](TObject* s) { FormShow(s); };
}

void TFormTeeLegend::LoadMargin()
{
    UDMargin->SetPosition(FLegend->IsVertical() ? FLegend->HorizMargin() : FLegend->VertMargin());
}

void TFormTeeLegend::LoadControls()
{
    CBShow->SetChecked(FLegend->Visible());
    CBInverted->SetChecked(FLegend->Inverted());
    CBLegendStyle->SetItemIndex(FLegend->LegendStyle());
    CBLegStyle->SetItemIndex(FLegend->TextStyle());
    AttachPen(BDivLines, FLegend->DividingLines());
    UDVertSpacing->SetPosition(FLegend->VertSpacing());
    CBFontColor->SetChecked(FLegend->FontSeriesColor());
    CBCheckBoxes->SetItemIndex(!FLegend->CheckBoxes() ? 0 : FLegend->CheckBoxesStyle() == cbsCheck ? 1 : 2);
    RGPosition->SetItemIndex(FLegend->Alignment());
    CBResizeChart->SetChecked(FLegend->ResizeChart());
    UDTopPos->SetPosition(FLegend->TopPos());
    LoadMargin();
    CBCustPos->SetChecked(FLegend->CustomPosition());
    UDLeft->SetPosition(FLegend->Left());
    UDTop->SetPosition(FLegend->Top());
    EnablePosition();
    TLegendSymbol* symbol = FLegend->Symbol();
    UDColWi->SetPosition(symbol->Width());
    CBColWUnits->SetItemIndex(symbol->WidthUnits());
    CBSymbolPos->SetItemIndex(symbol->Position());
    CBContinuous->SetChecked(symbol->Continuous());
    CBVisible->SetChecked(symbol->Visible());
    CBSquared->SetChecked(symbol->Squared());
    CBSymPen->SetChecked(symbol->DefaultPen());
    AttachPen(BSymPen, symbol->Pen());
    AttachGradient(BSymGradient, symbol->Gradient());
    EnableSymbol();
    MemoText->Lines()->Assign(FLegend->Title()->Text());
    CBTextAlign->SetItemIndex(AlignmentItem(FLegend->Title()->TextAlignment()));
    CBTitleVisible->SetChecked(FLegend->Title()->Visible());
    if (FLegendShape != nullptr)
        LoadShapeControls(FLegendShape, FLegend);
    if (FTitleShape != nullptr)
        LoadShapeControls(FTitleShape, FLegend->Title());
}

void TFormTeeLegend::FormShow(TObject*)
{
    if (FLegend == nullptr)
        return;
    Load([this] { LoadControls(); });
    FinishFirstShow();
}

void TFormTeeLegend::EnablePosition()
{
    const bool custom = FLegend->CustomPosition();
    for (TControl* c : std::initializer_list<TControl*>{ECustLeft, UDLeft, ECustTop, UDTop})
        c->SetEnabled(custom);
    for (TControl* c : std::initializer_list<TControl*>{RGPosition, SETopPos, UDTopPos, SEMargin, UDMargin, CBResizeChart})
        c->SetEnabled(!custom);
}

void TFormTeeLegend::EnableSymbol()
{
    const bool squared = FLegend->Symbol()->Squared();
    for (TControl* c : std::initializer_list<TControl*>{SEColWi, UDColWi, CBColWUnits})
        c->SetEnabled(!squared);
    BSymPen->SetEnabled(!FLegend->Symbol()->DefaultPen());
}

void TFormTeeLegend::CBCustPosClick(TObject*)
{
    if (FLoading)
        return;
    FLegend->SetCustomPosition(CBCustPos->Checked());
    Load([this] {
        if (FLegend->CustomPosition()) {
            FLegend->SetResizeChart(false);
            CBResizeChart->SetChecked(false);
            UDLeft->SetPosition(FLegend->Left());
            UDTop->SetPosition(FLegend->Top());
        }
        EnablePosition();
    });
}

void TFormTeeLegend::MemoTextChange(TObject*)
{
    if (FLoading)
        return;
    // The memo's text without line feeds: its lines stay apart at their carriage returns.
    std::string plain;
    for (char c : MemoText->Lines()->Text())
        if (c != '\n')
            plain += c;
    TStringList lines;
    lines.SetText(plain);
    FLegend->Title()->SetText(&lines);
}

TFormTeeLegend* CreateLegendEditor(TComponent* AOwner, TCustomChartLegend* Legend, TWinControl* Parent)
{
    auto* page = new TFormTeeLegend(AOwner, Legend);
    if (Parent != nullptr)
        EmbedFormInPanel(page, Parent);
    return page;
}

void TeeEdiLegeInitialization()
{
    RegisterFormClass("TFormTeeLegend", [](TComponent* AOwner) -> TForm* { return new TFormTeeLegend(AOwner, nullptr); });
}

void TeeEdiLegeFinalization()
{
    UnregisterFormClass("TFormTeeLegend");
}
