#include "TeeEdiPage.h"

#include "TeeConst.h"

TFormTeePage::TFormTeePage(TComponent* AOwner, TCustomChart* AChart) : TEditorPage(AOwner), FChart(AChart)
{
    SetUniqueFormName(this, "FormTeePage");
    SetCaption("Paging");
    BuildForm(this, 420, 290, {
        Row("P&oints per Page:", {UpDownEdit(SEPointsPerPage, "SEPointsPerPage", UDPointsPerPage, "UDPointsPerPage", 0, 32000)}),
        Ctl(CBScaleLast, "CBScaleLast", "&Scale Last Page"),
        Ctl(CBPageLegend, "CBPageLegend", "&Current page Legend"),
        Ctl(CBPageNum, "CBPageNum", "Show &Page Number"),
        Line({Ctl(ChartPageNavigator1, "ChartPageNavigator1", "", 140), Ctl(LabelPages, "LabelPages", " "), Stretch()}),
    });
    SetMinimumSize(ChartPageNavigator1, 140, 25);
    CBPageNum->SetVisible(false);
    ChartPageNavigator1->SetChart(FChart);
    ChartPageNavigator1->OnButtonClicked = [this](TObject* s, TRizIvoigateBtn i) { ChartPageNavigator1ButtonClicked(s, i); };
    SEPointsPerPage->OnChange = [this](TObject* s) { SEPointsPerPageChange(s); };
    OnCheck(CBScaleLast, [this] { FChart->SetScaleLastPage(CBScaleLast->Checked()); });
    OnCheck(CBPageLegend, [this] { FChart->Legend()->SetCurrentPage(CBPageLegend->Checked()); });
    OnShow = [this](TObject* s) { FormShow(s); };
}

void TFormTeePage::ShowPages()
{
    LabelPages->SetCaption(Format(TeeMsg_PageOfPages, {ChartPageNavigator1->ShownPage(), FChart->NumPages()}));
}

void TFormTeePage::FormShow(TObject*)
{
    if (FChart == nullptr)
        return;
    Load([this] {
        UDPointsPerPage->SetPosition(FChart->MaxPointsPerPage());
        CBScaleLast->SetChecked(FChart->ScaleLastPage());
        CBPageLegend->SetChecked(FChart->Legend()->CurrentPage());
        // Series and points may have gone since the page last showed.
        ChartPageNavigator1->UpdateButtonStates();
        ShowPages();
    });
    FinishFirstShow();
}

void TFormTeePage::SEPointsPerPageChange(TObject*)
{
    if (FLoading)
        return;
    FChart->SetMaxPointsPerPage(SEPointsPerPage->Text().empty() ? 0 : UDPointsPerPage->Position());
    ChartPageNavigator1->UpdateButtonStates();
    ShowPages();
}

void TFormTeePage::ChartPageNavigator1ButtonClicked(TObject*, TRizIvoigateBtn)
{
    ShowPages();
}

TFormTeePage* CreatePagingEditor(TComponent* AOwner, TCustomChart* Chart, TWinControl* Parent)
{
    auto* page = new TFormTeePage(AOwner, Chart);
    if (Parent != nullptr)
        EmbedFormInPanel(page, Parent);
    return page;
}

void TeeEdiPageInitialization()
{
    RegisterFormClass("TFormTeePage", [](TComponent* AOwner) -> TForm* { return new TFormTeePage(AOwner, nullptr); });
}

void TeeEdiPageFinalization()
{
    UnregisterFormClass("TFormTeePage");
}
