#include "TeeEdiGene.h"

#include "ChartPreview.h"

#include "controls/Printers.h"

#include <algorithm>

// ---- TChartPageNavigator ------------------------------------------------------------

TChartPageNavigator::TChartPageNavigator(TComponent* AOwner) : TCustomRizIvoigator(AOwner) {}

TCustomAxisPanel* TChartPageNavigator::Chart() const
{
    return dynamic_cast<TCustomAxisPanel*>(Panel());
}

void TChartPageNavigator::SetPanel(TCustomTeePanel* Value)
{
    TCustomRizIvoigator::SetPanel(dynamic_cast<TCustomAxisPanel*>(Value));
}

void TChartPageNavigator::HandleChartEvent(TTeeEvent* Event)
{
    auto* series = dynamic_cast<TTeeSeriesEvent*>(Event);
    if (dynamic_cast<TChartChangePage*>(Event) != nullptr || (series != nullptr && series->Event == seDataChanged))
        UpdateButtonStates();
}

int TChartPageNavigator::PageCount()
{
    TCustomAxisPanel* chart = Chart();
    return chart != nullptr ? chart->NumPages() : 0;
}

int TChartPageNavigator::ShownPage()
{
    TCustomAxisPanel* chart = Chart();
    if (chart == nullptr)
        return 0;
    // Points removed since the page was chosen may leave it beyond the page count: the
    // chart then shows the last page.
    return std::min(chart->Page(), std::max(1, PageCount()));
}

void TChartPageNavigator::UpdateButtonStates()
{
    TCustomAxisPanel* chart = Chart();
    const int page = ShownPage();
    const bool back = chart != nullptr && page > 1;
    const bool forward = chart != nullptr && PageCount() > page;
    Buttons(nbFirst)->SetEnabled(back);
    Buttons(nbPrior)->SetEnabled(back);
    Buttons(nbNext)->SetEnabled(forward);
    Buttons(nbLast)->SetEnabled(forward);
}

void TChartPageNavigator::ButtonClicked(TRizIvoigateBtn Index)
{
    if (TCustomAxisPanel* chart = Chart()) {
        const int page = ShownPage();
        switch (Index) {
        case nbFirst:
            if (page > 1)
                chart->SetPage(1);
            break;
        case nbPrior:
            if (page > 1)
                chart->SetPage(page - 1);
            break;
        case nbNext:
            if (PageCount() > page)
                chart->SetPage(page + 1);
            break;
        case nbLast:
            if (PageCount() > page)
                chart->SetPage(PageCount());
            break;
        default:
            break;
        }
    }
    TCustomRizIvoigator::ButtonClicked(Index);
}

void TChartPageNavigator::Print()
{
    TCustomAxisPanel* chart = Chart();
    if (chart == nullptr)
        return;
    const int count = PageCount();
    if (count <= 1) {
        chart->PrintPages(1, 1);
        return;
    }
    int fromPage = 1;
    int toPage = count;
    if (Printer()->ExecutePrintRange(1, count, fromPage, toPage))
        chart->PrintPages(fromPage, toPage);
}

// ---- TFormTeeGeneral --------------------------------------------------------------------

TFormTeeGeneral::TFormTeeGeneral(TComponent* AOwner, TCustomChart* AChart) : TEditorPage(AOwner), FChart(AChart)
{
    SetUniqueFormName(this, "FormTeeGeneral");
    SetCaption("General");
    BuildForm(this, 420, 290, {
        Columns({
            Column({Ctl(BPrint, "BPrint", "Print &Preview..."),
                    Row("&Cursor:", {Combo(CBCursor, "CBCursor", {}, csDropDownList, 110)}),
                    Group(GBMargins, "GBMargins", "Margins (%)", {
                        Line({Stretch(), UpDownEdit(SETopMa, "SETopMa", UDTopMa, "UDTopMa", 0, 100, 5), Stretch()}),
                        Line({UpDownEdit(SELeftMa, "SELeftMa", UDLeftMa, "UDLeftMa", 0, 100, 5), Stretch(),
                              UpDownEdit(SERightMa, "SERightMa", UDRightMa, "UDRightMa", 0, 100, 5)}),
                        Line({Stretch(), UpDownEdit(SEBotMa, "SEBotMa", UDBotMa, "UDBotMa", 0, 100, 5), Stretch()}),
                        Row("&Units:", {Combo(CBMarUnits, "CBMarUnits", {"Percent", "Pixels"})}),
                    }),
                    Stretch()}),
            Column({Pages(PageControl1, "PageControl1", {
                Page(TabZoom, "TabZoom", "Zoom", {
                    Line({Ctl(CBAllowZoom, "CBAllowZoom", "&Allow"), Ctl(CBAnimatedZoom, "CBAnimatedZoom", "An&imated"), Stretch()}),
                    Row("&Steps:", {UpDownEdit(SEAniZoomSteps, "SEAniZoomSteps", UDAniZoomSteps, "UDAniZoomSteps", 1, 100)}),
                    Row("&Minimum pixels:", {UpDownEdit(EMinPix, "EMinPix", UDMinPix, "UDMinPix", 0, 1000)}),
                    Row("&Direction:", {Combo(CBDir, "CBDir", {"Horizontal", "Vertical", "Both"})}),
                    Row("M&ouse Button:", {Combo(CBZoomMouse, "CBZoomMouse", {"Left", "Right", "Middle"})}),
                    Ctl(CBUpLeft, "CBUpLeft", "Zoom on &Up Left drag"),
                    Line({Ctl(BZoomPen, "BZoomPen", "P&en..."), Ctl(BZoomColor, "BZoomColor", "P&attern..."), Stretch()}),
                }),
                Page(TabScroll, "TabScroll", "Scroll", {
                    Radios(RGPanning, "RGPanning", "Allow Scroll:", {"&None", "&Horizontal", "&Vertical", "&Both"}),
                    Row("&Mouse Button:", {Combo(CBScrollMouse, "CBScrollMouse", {"Left", "Right", "Middle"})}),
                }),
            })}),
        }),
    });
    UDAniZoomSteps->SetPosition(8);
    UDMinPix->SetPosition(16);
    for (TUpDown* ud : {UDTopMa, UDLeftMa, UDBotMa, UDRightMa})
        ud->SetPosition(3);

    BPrint->OnClick = [this](TObject* s) { BPrintClick(s); };
    OnCheck(CBAllowZoom, [this] {
        FChart->Zoom()->SetAllow(CBAllowZoom->Checked());
        EnableZoom();
    });
    OnCheck(CBAnimatedZoom, [this] { FChart->Zoom()->SetAnimated(CBAnimatedZoom->Checked()); });
    OnEdit(SEAniZoomSteps, [this] { FChart->Zoom()->SetAnimatedSteps(UDAniZoomSteps->Position()); });
    BZoomColor->OnClick = [this](TObject*) {
        if (!FLoading)
            ShowBrushEditor(this, FChart->Zoom()->Brush());
    };
    OnEdit(EMinPix, [this] { FChart->Zoom()->SetMinimumPixels(UDMinPix->Position()); });
    OnCombo(CBDir, [this](int i) { FChart->Zoom()->SetDirection(static_cast<TTeeZoomDirection>(i)); });
    OnCombo(CBZoomMouse, [this](int i) { FChart->Zoom()->SetMouseButton(static_cast<TMouseButton>(i)); });
    OnCheck(CBUpLeft, [this] { FChart->Zoom()->SetUpLeftZooms(CBUpLeft->Checked()); });
    OnRadio(RGPanning, [this](int i) {
        FChart->SetAllowPanning(static_cast<TPanningMode>(i));
        CBScrollMouse->SetEnabled(i != pmNone);
    });
    OnCombo(CBScrollMouse, [this](int i) { FChart->SetScrollMouseButton(static_cast<TMouseButton>(i)); });
    OnCombo(CBCursor, [this](int) {
        const TCursor cursor = CursorFromName(FChart->Cursor(), CBCursor->Text());
        FChart->SetCursor(cursor);
        FChart->OriginalCursor = cursor;
    });
    // A margin is checked against the opposite one: with Left at 60 %, typing 35 into Right
    // passes through 3, so it is taken when the user leaves the field, not on each key.
    OnUpDown(UDLeftMa, [this] { MarginChange(0); });
    OnUpDown(UDTopMa, [this] { MarginChange(1); });
    OnUpDown(UDRightMa, [this] { MarginChange(2); });
    OnUpDown(UDBotMa, [this] { MarginChange(3); });
    OnCombo(CBMarUnits, [this](int i) {
        FChart->SetMarginUnits(static_cast<TTeeUnits>(i));
        if (i == muPercent) {
            // Pixel margins may mean nothing in percent: each pair is brought within
            // 0..100 and below 100 together, keeping its proportion.
            for (int side : {0, 1}) {
                const int a = std::clamp(FChart->GetMargin(side), 0, 100);
                const int b = std::clamp(FChart->GetMargin(side + 2), 0, 100);
                if (a + b >= 100) {
                    FChart->SetMargin(side, a * 99 / (a + b));
                    FChart->SetMargin(side + 2, b * 99 / (a + b));
                } else {
                    FChart->SetMargin(side, a);
                    FChart->SetMargin(side + 2, b);
                }
            }
        }
        Load([this] { SetMarginRanges(); });
    });
    PageControl1->SetActivePage(TabZoom);
    OnShow = [this](TObject* s) { FormShow(s); };
}

TUpDown* TFormTeeGeneral::MarginUpDown(int Index) const
{
    switch (Index) {
    case 0: return UDLeftMa;
    case 1: return UDTopMa;
    case 2: return UDRightMa;
    default: return UDBotMa;
    }
}

void TFormTeeGeneral::SetMarginRanges()
{
    const bool percent = FChart->MarginUnits() == muPercent;
    for (int i = 0; i < 4; ++i) {
        TUpDown* ud = MarginUpDown(i);
        ud->SetMin(percent ? 0 : -2000);
        ud->SetMax(percent ? 100 : 2000);
        ud->SetPosition(FChart->GetMargin(i));
    }
}

void TFormTeeGeneral::MarginChange(int Index)
{
    TUpDown* ud = MarginUpDown(Index);
    const int value = ud->Position();
    if (FChart->MarginUnits() == muPercent && value + FChart->GetMargin((Index + 2) % 4) >= 100) {
        Load([&] { ud->SetPosition(FChart->GetMargin(Index)); });
        return;
    }
    FChart->SetMargin(Index, value);
}

void TFormTeeGeneral::EnableZoom()
{
    const bool allow = FChart->Zoom()->Allow();
    for (TControl* c : std::initializer_list<TControl*>{CBAnimatedZoom, SEAniZoomSteps, UDAniZoomSteps, BZoomPen, BZoomColor,
                                                        EMinPix, UDMinPix, CBDir, CBZoomMouse, CBUpLeft})
        c->SetEnabled(allow);
}

void TFormTeeGeneral::LoadControls()
{
    TTeeZoom* zoom = FChart->Zoom();
    CBAllowZoom->SetChecked(zoom->Allow());
    CBAnimatedZoom->SetChecked(zoom->Animated());
    UDAniZoomSteps->SetPosition(zoom->AnimatedSteps());
    AttachPen(BZoomPen, zoom->Pen());
    UDMinPix->SetPosition(zoom->MinimumPixels());
    CBDir->SetItemIndex(zoom->Direction());
    CBZoomMouse->SetItemIndex(zoom->MouseButton());
    CBUpLeft->SetChecked(zoom->UpLeftZooms());
    RGPanning->SetItemIndex(FChart->AllowPanning());
    CBScrollMouse->SetItemIndex(FChart->ScrollMouseButton());
    CBScrollMouse->SetEnabled(FChart->AllowPanning() != pmNone);
    FillCursorList(CBCursor, FChart->Cursor());
    CBMarUnits->SetItemIndex(FChart->MarginUnits());
    SetMarginRanges();
    EnableZoom();
}

void TFormTeeGeneral::FormShow(TObject*)
{
    if (FChart == nullptr)
        return;
    Load([this] { LoadControls(); });
    FinishFirstShow();
}

void TFormTeeGeneral::BPrintClick(TObject*)
{
    if (FChart == nullptr)
        return;
    auto preview = std::make_unique<TChartPreview>(this);
    preview->SetTag(reinterpret_cast<intptr_t>(static_cast<TCustomTeePanel*>(FChart)));
    preview->MakePageNavigator = [](TComponent* Owner) -> TCustomRizIvoigator* { return new TChartPageNavigator(Owner); };
    preview->ShowModal();
    FChart->Repaint();
}

TFormTeeGeneral* CreateGeneralEditor(TComponent* AOwner, TCustomChart* Chart, TWinControl* Parent)
{
    auto* page = new TFormTeeGeneral(AOwner, Chart);
    if (Parent != nullptr)
        EmbedFormInPanel(page, Parent);
    return page;
}

void TeeEdiGeneInitialization()
{
    RegisterFormClass("TFormTeeGeneral", [](TComponent* AOwner) -> TForm* { return new TFormTeeGeneral(AOwner, nullptr); });
}

void TeeEdiGeneFinalization()
{
    UnregisterFormClass("TFormTeeGeneral");
}
