#include "TeeEdiAxis.h"

#include "FormatEditor.h"
#include "TeeAxMaxMin.h"
#include "TeeAxisIncr.h"

#include "system/ScopeGuard.h"

#include <cmath>
#include <numbers>

namespace {

// The base of natural logarithms, as far as a typed or stored number can tell it.
bool IsE(double Value)
{
    return std::fabs(Value - std::numbers::e) <= 1e-12 * std::numbers::e;
}

const char* const StandardAxisNames[6] = {"Left Axis", "Right Axis", "Top Axis", "Bottom Axis", "Depth Right", "Depth Top"};

} // namespace

TFormTeeAxis::TFormTeeAxis(TComponent* AOwner, TChartAxis* AAxis) : TForm(AOwner), FAxis(AAxis)
{
    SetUniqueFormName(this, "FormTeeAxis");
    SetCaption("Axis");
    BuildForm(this, 420, 290, {
        Columns({
            Column({Ctl(LAxes, "LAxes", "A&xes:"), List(LBAxes, "LBAxes"), Ctl(CBShow, "CBShow", "Visible"),
                    Ctl(CBAxisBeh, "CBAxisBeh", "&Behind"),
                    Line({Ctl(BAdd, "BAdd", "+", 32), Ctl(BDelete, "BDelete", "-", 32), Stretch()})}),
            Column({Pages(PageAxis, "PageAxis", {
                Page(TabScales, "TabScales", "Scales", {
                    Line({Ctl(CBAutomatic, "CBAutomatic", "&Automatic"), Ctl(CBVisible, "CBVisible", "&Visible"),
                          Ctl(CBInverted, "CBInverted", "&Inverted"), Stretch()}),
                    Line({Ctl(BIncre, "BIncre", "&Change..."), Ctl(LAxisIncre, "LAxisIncre", ""), Stretch()}),
                    Line({Ctl(CBLogarithmic, "CBLogarithmic", "Logarith&mic"),
                          Row(LLogBase, "LLogBase", "Base:", {Ctl(ELogBase, "ELogBase", "", 64), Ctl(LogE, "LogE", "e")})}),
                    Pages(PageScales, "PageScales", {
                        Page(TabMinimum, "TabMinimum", "Minimum", {
                            Line({Ctl(CBAutoMin, "CBAutoMin", "Aut&o"), Ctl(BAxisMin, "BAxisMin", "Cha&nge..."),
                                  Ctl(LAxisMin, "LAxisMin", ""), Stretch()}),
                            Row("Offset:", {UpDownEdit(EMinOff, "EMinOff", UDMinOff, "UDMinOff", -10000, 10000)}),
                        }),
                        Page(TabMaximum, "TabMaximum", "Maximum", {
                            Line({Ctl(CBAutoMax, "CBAutoMax", "A&uto"), Ctl(BAxisMax, "BAxisMax", "C&hange..."),
                                  Ctl(LAxisMax, "LAxisMax", ""), Stretch()}),
                            Row("Offset:", {UpDownEdit(EMaxOff, "EMaxOff", UDMaxOff, "UDMaxOff", -10000, 10000)}),
                        }),
                    }),
                }),
                Page(TabTitle, "TabTitle", "Title", {
                    Pages(PageTitle, "PageTitle", {
                        Page(TabTitleStyle, "TabTitleStyle", "Style", {
                            Row("T&itle:", {Ctl(ETitle, "ETitle")}),
                            Row("Angle:", {UpDownEdit(SETitleAngle, "SETitleAngle", UDTitleAngle, "UDTitleAngle", 0, 360, 90)}),
                            Row("Size:", {UpDownEdit(SETitleSize, "SETitleSize", UDTitleSize, "UDTitleSize", 0, 1000)}),
                            Ctl(CBTitleVisible, "CBTitleVisible", "&Visible"),
                        }),
                        Page(TabTitleText, "TabTitleText", "Text", {}),
                    }),
                }),
                Page(TabLabels, "TabLabels", "Labels", {
                    Pages(PageLabels, "PageLabels", {
                        Page(TabLabelsStyle, "TabLabelsStyle", "Style", {
                            Columns({
                                Column({Ctl(CBLabels, "CBLabels", "V&isible"), Ctl(CBMultiline, "CBMultiline", "Multi-lin&e"),
                                        Ctl(CBOnAxis, "CBOnAxis", "Label On A&xis"), Ctl(CBRoundFirst, "CBRoundFirst", "Ro&und First"),
                                        Ctl(CBAlternate, "CBAlternate", "&Alternate"), Stretch()}),
                                Column({Row("Style:", {Combo(CBLabelStyle, "CBLabelStyle", {"Auto", "None", "Value", "Mark", "Text"})}),
                                        Row("Size:", {UpDownEdit(SELabelsSize, "SELabelsSize", UDLabelsSize, "UDLabelsSize", 0, 1000)}),
                                        Row("Angle:", {UpDownEdit(SELabelsAngle, "SELabelsAngle", UDLabelsAngle, "UDLabelsAngle", 0, 360, 90)}),
                                        Row("Min. Se&paration %:", {UpDownEdit(SESepar, "SESepar", UDSepar, "UDSepar", 0, 1000, 10)}),
                                        Stretch()}),
                            }),
                        }),
                        Page(TabLabelsFormat, "TabLabelsFormat", "Format", {
                            Row(LFormat, "LFormat", "Values For&mat:", {Combo(CBFormat, "CBFormat", {}, csDropDown),
                                                                        Ctl(Button1, "Button1", "...", 32)}),
                            Ctl(CBExpo, "CBExpo", "&Exponential"),
                            Ctl(CBLabelAlign, "CBLabelAlign", "&Default Alignment"),
                        }),
                        Page(TabLabelsText, "TabLabelsText", "Text", {}),
                    }),
                }),
                Page(TabTicks, "TabTicks", "Ticks", {
                    Columns({
                        Column({Row("Length:", {UpDownEdit(SEAxisTickLength, "SEAxisTickLength", UDAxisTickLength, "UDAxisTickLength", 0, 1000)}),
                                Row("Inner:", {UpDownEdit(SEInnerTicksLength, "SEInnerTicksLength", UDInnerTicksLength, "UDInnerTicksLength", 0, 1000)}),
                                Ctl(CBTickOnLabels, "CBTickOnLabels", "At Labels Onl&y"),
                                Ctl(CBGridCentered, "CBGridCentered", "C&entered"),
                                Row("&Z:", {Ctl(Edit2, "Edit2", "", 64)}), Stretch()}),
                        Column({Ctl(BAxisPen, "BAxisPen", "&Axis..."), Ctl(BTicksPen, "BTicksPen", "T&icks..."),
                                Ctl(BInnerPen, "BInnerPen", "I&nner..."), Ctl(BGridPen, "BGridPen", "&Grid..."), Stretch()}),
                    }),
                }),
                Page(TabMinor, "TabMinor", "Minor", {
                    Columns({
                        Column({Row("Length:", {UpDownEdit(SEAxisMinorTickLen, "SEAxisMinorTickLen", UDAxisMinorTickLen, "UDAxisMinorTickLen", 0, 1000)}),
                                Row("&Count:", {UpDownEdit(SEMinorCount, "SEMinorCount", UDMinorCount, "UDMinorCount", 0, 1000)}),
                                Stretch()}),
                        Column({Ctl(BMinorTicksPen, "BMinorTicksPen", "&Ticks..."), Ctl(BMinorGridPen, "BMinorGridPen", "&Grid..."),
                                Stretch()}),
                    }),
                }),
                Page(TabPosition, "TabPosition", "Position", {
                    Columns({
                        Column({Row("&Position %:", {UpDownEdit(EPos, "EPos", UDPos, "UDPos", -1000, 1000)}),
                                Row("St&art %:", {UpDownEdit(EStart, "EStart", UDStart, "UDStart", 0, 100)}),
                                Row("&End %:", {UpDownEdit(EEnd, "EEnd", UDEnd, "UDEnd", 0, 100)}),
                                Row("&Z %:", {Ctl(Edit1, "Edit1", "", 64)}), Stretch()}),
                        Column({Combo(CBPosUnits, "CBPosUnits", {"Percent", "Pixels"}),
                                Ctl(CBOtherSide, "CBOtherSide", "&Other side"), Ctl(CBHorizAxis, "CBHorizAxis", "&Horizontal"),
                                Stretch()}),
                    }),
                }),
            })}),
        }),
    });
    SetMinimumSize(LBAxes, 110, 120);
    FTitleFont = EmbedFontEditor(TabTitleText);
    FLabelsFont = EmbedFontEditor(TabLabelsText);

    CBShow->OnClick = [this](TObject*) {
        if (!FFilling && Chart() != nullptr)
            Chart()->SetAxisVisible(CBShow->Checked());
    };
    CBAxisBeh->OnClick = [this](TObject*) {
        if (!FFilling && Chart() != nullptr)
            Chart()->SetAxisBehind(CBAxisBeh->Checked());
    };
    LBAxes->OnClick = [this](TObject* s) { LBAxesClick(s); };
    BAdd->OnClick = [this](TObject* s) { BAddClick(s); };
    BDelete->OnClick = [this](TObject* s) { BDeleteClick(s); };
    PageAxis->OnChange = [this](TObject* s) { PageAxisChange(s); };
    BIncre->OnClick = [this](TObject* s) { BIncreClick(s); };
    BAxisMin->OnClick = [this](TObject*) { EditMinMax(false); };
    BAxisMax->OnClick = [this](TObject*) { EditMinMax(true); };
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };

    // Scales
    OnCheck(CBAutomatic, [this] {
        FAxis->SetAutomatic(CBAutomatic->Checked());
        if (!CBAutomatic->Checked()) {
            FAxis->SetAutomaticMaximum(false);
            FAxis->SetAutomaticMinimum(false);
        } else {
            FAxis->RefreshRange();
        }
        FillScales();
    });
    OnCheck(CBVisible, [this] { FAxis->SetVisible(CBVisible->Checked()); });
    OnCheck(CBInverted, [this] { FAxis->SetInverted(CBInverted->Checked()); });
    OnCheck(CBLogarithmic, [this] {
        FAxis->SetLogarithmic(CBLogarithmic->Checked());
        ELogBase->SetEnabled(CBLogarithmic->Checked());
    });
    OnEdit(ELogBase, [this] { ApplyLogBase(); });
    LogE->OnClick = [this](TObject*) {
        if (FFilling || !LogE->Checked())
            return;
        ELogBase->SetText(FloatToStr(std::numbers::e));
        LogE->SetEnabled(false);
    };
    OnCheck(CBAutoMin, [this] {
        FAxis->SetAutomaticMinimum(CBAutoMin->Checked());
        FAxis->RefreshRange();
        FillScales();
    });
    OnCheck(CBAutoMax, [this] {
        FAxis->SetAutomaticMaximum(CBAutoMax->Checked());
        FAxis->RefreshRange();
        FillScales();
    });
    OnEdit(EMinOff, [this] { FAxis->SetMinimumOffset(UDMinOff->Position()); });
    OnEdit(EMaxOff, [this] { FAxis->SetMaximumOffset(UDMaxOff->Position()); });
    // Title
    OnEdit(ETitle, [this] { FAxis->Title()->SetCaption(ETitle->Text()); });
    OnEdit(SETitleAngle, [this] { FAxis->Title()->SetAngle(UDTitleAngle->Position()); });
    OnEdit(SETitleSize, [this] { FAxis->SetTitleSize(UDTitleSize->Position()); });
    OnCheck(CBTitleVisible, [this] { FAxis->Title()->SetVisible(CBTitleVisible->Checked()); });
    // Labels
    OnCheck(CBLabels, [this] { FAxis->SetLabels(CBLabels->Checked()); });
    CBLabelStyle->OnChange = [this](TObject*) {
        if (!FFilling && CBLabelStyle->ItemIndex() >= 0)
            FAxis->SetLabelStyle(static_cast<TAxisLabelStyle>(CBLabelStyle->ItemIndex()));
    };
    OnCheck(CBMultiline, [this] { FAxis->SetLabelsMultiLine(CBMultiline->Checked()); });
    OnCheck(CBOnAxis, [this] { FAxis->SetLabelsOnAxis(CBOnAxis->Checked()); });
    OnCheck(CBRoundFirst, [this] { FAxis->SetRoundFirstLabel(CBRoundFirst->Checked()); });
    OnEdit(SELabelsSize, [this] { FAxis->SetLabelsSize(UDLabelsSize->Position()); });
    OnEdit(SELabelsAngle, [this] { FAxis->SetLabelsAngle(UDLabelsAngle->Position()); });
    OnEdit(SESepar, [this] { FAxis->SetLabelsSeparation(UDSepar->Position()); });
    OnCheck(CBAlternate, [this] { FAxis->SetLabelsAlternate(CBAlternate->Checked()); });
    CBFormat->OnChange = [this](TObject*) {
        if (FFilling)
            return;
        if (FAxis->IsDateTimeAxis())
            FAxis->SetDateTimeFormat(CBFormat->Text());
        else
            FAxis->SetAxisValuesFormat(CBFormat->Text());
    };
    OnCheck(CBExpo, [this] { FAxis->SetLabelsExponent(CBExpo->Checked()); });
    OnCheck(CBLabelAlign, [this] { FAxis->SetLabelsAlign(CBLabelAlign->Checked() ? alDefault : alOpposite); });
    // Ticks
    OnEdit(SEAxisTickLength, [this] { FAxis->SetTickLength(UDAxisTickLength->Position()); });
    OnEdit(SEInnerTicksLength, [this] { FAxis->SetTickInnerLength(UDInnerTicksLength->Position()); });
    OnCheck(CBTickOnLabels, [this] { FAxis->SetTickOnLabelsOnly(CBTickOnLabels->Checked()); });
    OnCheck(CBGridCentered, [this] { FAxis->SetGridCentered(CBGridCentered->Checked()); });
    OnEdit(Edit2, [this] {
        double z = 0;
        if (TryStrToFloat(Edit2->Text(), z))
            FAxis->Grid()->SetZPosition(z);
    });
    OnEdit(SEAxisMinorTickLen, [this] { FAxis->SetMinorTickLength(UDAxisMinorTickLen->Position()); });
    OnEdit(SEMinorCount, [this] { FAxis->SetMinorTickCount(UDMinorCount->Position()); });
    // Position
    OnEdit(EPos, [this] { FAxis->SetPositionPercent(UDPos->Position()); });
    // Start and end are checked against each other once the user is done typing (left
    // the field or pressed Enter) or stepped with the arrows, not on every keystroke:
    // with Start at 50, End passes through 8 on its way to 80.
    for (const bool start : {true, false}) {
        TEdit* edit = start ? EStart : EEnd;
        TUpDown* upDown = start ? UDStart : UDEnd;
        upDown->OnChange = upDown->OnTyped = [this, edit, upDown, start](TObject*) {
            if (FFilling || FAxis == nullptr)
                return;
            int value = 0;
            if (TryStrToInt(Trim(edit->Text()), value) && value >= 0 && value <= 100
                && (start ? value < FAxis->EndPosition() : value > FAxis->StartPosition())) {
                if (start)
                    FAxis->SetStartPosition(value);
                else
                    FAxis->SetEndPosition(value);
                return;
            }
            auto filling = RestoreOnExit(FFilling);
            FFilling = true;
            upDown->SetPosition(int(std::lround(start ? FAxis->StartPosition() : FAxis->EndPosition())));
        };
    }
    OnEdit(Edit1, [this] {
        double z = 0;
        if (TryStrToFloat(Edit1->Text(), z))
            FAxis->SetZPosition(z);
    });
    CBPosUnits->OnChange = [this](TObject*) {
        if (!FFilling && CBPosUnits->ItemIndex() >= 0)
            FAxis->SetPositionUnits(static_cast<TTeeUnits>(CBPosUnits->ItemIndex()));
    };
    OnCheck(CBOtherSide, [this] { FAxis->SetOtherSide(CBOtherSide->Checked()); });
    OnCheck(CBHorizAxis, [this] {
        FAxis->SetHorizontal(CBHorizAxis->Checked());
        if (OnAfterHorizontal)
            OnAfterHorizontal();
    });
    PageAxis->SetActivePage(TabScales);
    PageLabels->SetActivePage(TabLabelsStyle);
    PageTitle->SetActivePage(TabTitleStyle);
    OnShow = [this](TObject* s) { FormShow(s); };
    // A zoom or scroll in the chart window, or an axis added on another page, changes
    // what the page shows while its tab is away.
    ReloadOnShowAgain(this);
    DoCreate();
}

void TFormTeeAxis::OnEdit(TEdit* Edit, std::function<void()> Write)
{
    Edit->OnChange = [this, Write = std::move(Write)](TObject*) {
        if (!FFilling && FAxis != nullptr)
            Write();
    };
}

void TFormTeeAxis::OnCheck(TCheckBox* Box, std::function<void()> Write)
{
    Box->OnClick = [this, Write = std::move(Write)](TObject*) {
        if (!FFilling && FAxis != nullptr)
            Write();
    };
}

TCustomChart* TFormTeeAxis::Chart() const
{
    return FAxis != nullptr ? dynamic_cast<TCustomChart*>(FAxis->ParentChart()) : nullptr;
}

std::string TFormTeeAxis::IncrementText(bool IsDateTime, bool Exact, const std::string& Format, double Value)
{
    if (!IsDateTime)
        return FormatFloat(Format.empty() ? "#,##0.###" : Format, Value);
    if (Exact) {
        const int step = DateTimeStepIndex(Value);
        if (step != dtNone)
            return DateTimeStepNames[size_t(step)];
    }
    return TAxisIncrement::CustomText(Value);
}

void TFormTeeAxis::FillAxesList(TCustomChart* Chart, TStrings* Items, bool WithDepth)
{
    Items->Clear();
    for (int i = 0; i < (WithDepth ? 6 : 4); ++i)
        Items->Add(StandardAxisNames[i]);
    if (Chart == nullptr)
        return;
    for (int i = 6; i < Chart->Axes()->Count(); ++i)
        Items->Add("Custom " + IntToStr(i - 6));
}

TChartAxis* TFormTeeAxis::AxisOfListIndex(int Index) const
{
    return AxisOfIndex(Chart(), Index);
}

void TFormTeeAxis::SelectAxis(TChartAxis* Value)
{
    if (Value == nullptr)
        return;
    FAxis = Value;
    SelectAxisInList();
    FillPage();
}

TChartAxis* TFormTeeAxis::AxisOfIndex(TCustomChart* chart, int Index)
{
    if (chart == nullptr || Index < 0)
        return nullptr;
    switch (Index) {
    case 0: return chart->LeftAxis();
    case 1: return chart->Axes()->RightAxis();
    case 2: return chart->Axes()->TopAxis();
    case 3: return chart->Axes()->BottomAxis();
    case 4: return chart->DepthAxis();
    case 5: return chart->DepthTopAxis();
    default: return Index < chart->Axes()->Count() ? chart->Axes()->Items(Index) : nullptr;
    }
}

void TFormTeeAxis::SelectAxisInList()
{
    for (int i = 0; i < LBAxes->Items()->Count(); ++i)
        if (AxisOfListIndex(i) == FAxis) {
            LBAxes->SetItemIndex(i);
            return;
        }
}

void TFormTeeAxis::FormShow(TObject*)
{
    // Filling from creation until the page has shown its axis.
    FFilling = true;
    auto filled = TScopeGuard([this] { FFilling = false; });
    FillAxesList(Chart(), LBAxes->Items(), true);
    SelectAxisInList();
    if (TCustomChart* chart = Chart()) {
        CBShow->SetChecked(chart->AxisVisible());
        CBAxisBeh->SetChecked(chart->AxisBehind());
    }
    FillPage();
}

void TFormTeeAxis::LinkPens()
{
    AttachPen(BAxisPen, FAxis->Axis());
    AttachPen(BTicksPen, FAxis->Ticks());
    AttachPen(BInnerPen, FAxis->TicksInner());
    AttachPen(BGridPen, FAxis->Grid());
    AttachPen(BMinorTicksPen, FAxis->MinorTicks());
    AttachPen(BMinorGridPen, FAxis->MinorGrid());
}

void TFormTeeAxis::FillScales()
{
    auto filling = RestoreOnExit(FFilling);
    FFilling = true;
    const bool dateTime = FAxis->IsDateTimeAxis();
    LAxisIncre->SetCaption(IncrementText(dateTime, FAxis->ExactDateTime(), FAxis->AxisValuesFormat(), FAxis->Increment()));
    auto valueText = [&](double v) {
        if (dateTime)
            return v >= 0 && v < 1 ? TimeToStr(v) : DateTimeToStr(v);
        return FormatFloat(FAxis->AxisValuesFormat().empty() ? "#,##0.###" : FAxis->AxisValuesFormat(), v);
    };
    LAxisMin->SetCaption(valueText(FAxis->Minimum()));
    LAxisMax->SetCaption(valueText(FAxis->Maximum()));
    CBAutomatic->SetChecked(FAxis->Automatic());
    CBAutoMin->SetChecked(FAxis->AutomaticMinimum());
    CBAutoMax->SetChecked(FAxis->AutomaticMaximum());
    UDMinOff->SetPosition(FAxis->MinimumOffset());
    UDMaxOff->SetPosition(FAxis->MaximumOffset());
    CBLogarithmic->SetEnabled(!FAxis->IsDepthAxis());
    CBLogarithmic->SetChecked(FAxis->Logarithmic());
    const bool isE = IsE(FAxis->LogarithmicBase());
    LogE->SetChecked(isE);
    LogE->SetEnabled(!isE);
    ELogBase->SetText(FloatToStr(FAxis->LogarithmicBase()));
    ELogBase->SetEnabled(CBLogarithmic->Checked());
    CBInverted->SetChecked(FAxis->Inverted());
    CBVisible->SetChecked(FAxis->Visible());
}

void TFormTeeAxis::FillFormatList()
{
    TStrings* items = CBFormat->Items();
    items->Clear();
    const TFormatSettings& fs = FormatSettings();
    std::string text;
    if (FAxis->IsDateTimeAxis()) {
        if (FAxis->Maximum() - FAxis->Minimum() <= 1) {
            for (const std::string& f : {fs.ShortTimeFormat, fs.LongTimeFormat, std::string("hh:nn"),
                                         std::string("hh:nn:ss"), std::string("hh:nn:ss.zzz")})
                items->Add(f);
        } else {
            for (const std::string& f : {fs.ShortDateFormat, fs.LongDateFormat, std::string("yyyy-mm-dd"),
                                         std::string("mm-dd-yyyy"), std::string("dd-mm-yyyy"), std::string("ddd"),
                                         std::string("dddd"), std::string("mmm"), std::string("mmmm")})
                items->Add(f);
        }
        LFormat->SetCaption("DateTime For&mat:");
        text = FAxis->DateTimeFormat().empty() ? ChooseTextByValue(FAxis->Maximum() - FAxis->Minimum())
                                               : FAxis->DateTimeFormat();
    } else {
        AddValueFormats(items);
        LFormat->SetCaption("Values For&mat:");
        text = FAxis->AxisValuesFormat().empty() ? "#,##0.###" : FAxis->AxisValuesFormat();
    }
    if (items->IndexOf(text) < 0)
        items->Add(text);
    CBFormat->SetItemIndex(items->IndexOf(text));
    CBFormat->SetText(text);
}

void TFormTeeAxis::FillLabels()
{
    CBLabels->SetChecked(FAxis->Labels());
    CBLabelStyle->SetItemIndex(FAxis->LabelStyle());
    CBMultiline->SetChecked(FAxis->LabelsMultiLine());
    CBOnAxis->SetChecked(FAxis->LabelsOnAxis());
    CBRoundFirst->SetChecked(FAxis->RoundFirstLabel());
    UDLabelsSize->SetPosition(FAxis->LabelsSize());
    UDLabelsAngle->SetPosition(FAxis->LabelsAngle());
    UDSepar->SetPosition(FAxis->LabelsSeparation());
    CBAlternate->SetChecked(FAxis->LabelsAlternate());
    FillFormatList();
    CBExpo->SetChecked(FAxis->LabelsExponent());
    CBLabelAlign->SetChecked(FAxis->LabelsAlign() == alDefault);
    CBLabelAlign->SetEnabled(!FAxis->Horizontal() && !FAxis->IsDepthAxis());
    LoadFontControls(FLabelsFont, FAxis->LabelsFont());
}

void TFormTeeAxis::FillPage()
{
    if (FAxis == nullptr)
        return;
    auto filling = RestoreOnExit(FFilling);
    FFilling = true;
    LinkPens();
    FillScales();
    FillLabels();
    ETitle->SetText(FAxis->Title()->Caption());
    UDTitleAngle->SetPosition(FAxis->Title()->Angle());
    UDTitleSize->SetPosition(FAxis->TitleSize());
    CBTitleVisible->SetChecked(FAxis->Title()->Visible());
    LoadFontControls(FTitleFont, FAxis->Title()->Font());
    UDAxisTickLength->SetPosition(FAxis->TickLength());
    UDInnerTicksLength->SetPosition(FAxis->TickInnerLength());
    CBTickOnLabels->SetChecked(FAxis->TickOnLabelsOnly());
    CBGridCentered->SetChecked(FAxis->GridCentered());
    Edit2->SetText(IntToStr(std::lround(FAxis->Grid()->ZPosition())));
    UDAxisMinorTickLen->SetPosition(FAxis->MinorTickLength());
    UDMinorCount->SetPosition(FAxis->MinorTickCount());
    UDPos->SetPosition(int(std::lround(FAxis->PositionPercent())));
    UDStart->SetPosition(int(std::lround(FAxis->StartPosition())));
    UDEnd->SetPosition(int(std::lround(FAxis->EndPosition())));
    Edit1->SetText(IntToStr(std::lround(FAxis->ZPosition())));
    CBPosUnits->SetItemIndex(FAxis->PositionUnits());
    const bool custom = FAxis->IsCustom();
    CBOtherSide->SetChecked(FAxis->OtherSide());
    CBOtherSide->SetEnabled(custom);
    CBHorizAxis->SetChecked(FAxis->Horizontal());
    CBHorizAxis->SetEnabled(custom);
    BDelete->SetEnabled(custom);
}

void TFormTeeAxis::PageAxisChange(TObject*)
{
    FillPage();
}

void TFormTeeAxis::LBAxesClick(TObject*)
{
    if (TChartAxis* axis = AxisOfListIndex(LBAxes->ItemIndex())) {
        FAxis = axis;
        FillPage();
    }
}

void TFormTeeAxis::BAddClick(TObject*)
{
    TCustomChart* chart = Chart();
    if (chart == nullptr)
        return;
    FAxis = static_cast<TChartAxis*>(chart->CustomAxes()->Add());
    {
        auto filling = RestoreOnExit(FFilling);
        FFilling = true;
        FillAxesList(chart, LBAxes->Items(), true);
        SelectAxisInList();
    }
    FillPage();
}

void TFormTeeAxis::BDeleteClick(TObject*)
{
    TCustomChart* chart = Chart();
    // Only custom axes are the chart's to free; the standard ones stay.
    if (chart == nullptr || FAxis == nullptr || !FAxis->IsCustom())
        return;
    // The entry before the deleted one is edited next.
    TChartAxis* deleted = FAxis;
    FAxis = AxisOfListIndex(std::max(LBAxes->ItemIndex() - 1, 0));
    TChartCustomAxes* custom = chart->CustomAxes();
    for (int i = 0; i < custom->Count(); ++i)
        if (custom->Items(i) == deleted) {
            custom->Delete(i);
            break;
        }
    {
        auto filling = RestoreOnExit(FFilling);
        FFilling = true;
        FillAxesList(chart, LBAxes->Items(), true);
        SelectAxisInList();
    }
    FillPage();
}

void TFormTeeAxis::ApplyLogBase()
{
    double base = 0;
    if (TryStrToFloat(ELogBase->Text(), base) && base != 0 && base != 1)
        FAxis->SetLogarithmicBase(base);
    auto filling = RestoreOnExit(FFilling);
    FFilling = true;
    const bool isE = IsE(FAxis->LogarithmicBase());
    LogE->SetChecked(isE);
    LogE->SetEnabled(!isE);
}

void TFormTeeAxis::BIncreClick(TObject*)
{
    std::unique_ptr<TAxisIncrement> dialog(CreateDialogForm<TAxisIncrement>(this));
    const std::string name = Chart() != nullptr ? Chart()->GetAxisName(FAxis) : std::string();
    dialog->SetCaption(Format("Desired %s Increment", {name}));
    dialog->IsDateTime = FAxis->IsDateTimeAxis();
    dialog->Exact = FAxis->ExactDateTime();
    dialog->Increment = FAxis->Increment();
    dialog->StepIndex = DateTimeStepIndex(FAxis->Increment());
    if (dialog->ShowModal() != mrOk)
        return;
    FAxis->SetExactDateTime(dialog->Exact);
    FAxis->SetIncrement(dialog->Increment);
    FillScales();
}

void TFormTeeAxis::EditMinMax(bool IsMax)
{
    std::unique_ptr<TAxisMaxMin> dialog(CreateDialogForm<TAxisMaxMin>(this));
    const std::string name = Chart() != nullptr ? Chart()->GetAxisName(FAxis) : std::string();
    dialog->SetCaption(std::string(IsMax ? "Maximum" : "Minimum") + " " + name);
    dialog->IsDateTime = FAxis->IsDateTimeAxis();
    dialog->Value = IsMax ? FAxis->Maximum() : FAxis->Minimum();
    if (dialog->ShowModal() != mrOk)
        return;
    if (IsMax) {
        FAxis->SetMaximum(dialog->Value);
        FAxis->SetAutomaticMaximum(false);
    } else {
        FAxis->SetMinimum(dialog->Value);
        FAxis->SetAutomaticMinimum(false);
    }
    FillScales();
}

void TFormTeeAxis::Button1Click(TObject*)
{
    const std::string result = ShowFormatEditor(this, CBFormat->Text(), true);
    CBFormat->SetText(result);
    if (CBFormat->OnChange)
        CBFormat->OnChange(CBFormat);
}

void TeeEdiAxisInitialization()
{
    RegisterFormClass("TFormTeeAxis", [](TComponent* AOwner) -> TForm* { return new TFormTeeAxis(AOwner, nullptr); });
    RegisterFormClass<TAxisMaxMin>("TAxisMaxMin");
}

void TeeEdiAxisFinalization()
{
    UnregisterFormClass("TFormTeeAxis");
    UnregisterFormClass("TAxisMaxMin");
}
