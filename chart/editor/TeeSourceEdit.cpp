#include "TeeSourceEdit.h"

#include "TeEngine.h"
#include "TeePenDlg.h"
#include "TeeConst.h"

TBaseSourceEditor::TBaseSourceEditor(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "BaseSourceEditor");
    BuildForm(this, 300, 120, {
        Line({Row(LLabel, "LLabel", "&Source:", {Combo(CBSources, "CBSources", {})}), Ctl(BApply, "BApply", "&Apply")}),
        Panel(Pan, "Pan", {}),
    });
    SetAlign(alClient);
    CBSources->OnChange = [this](TObject* s) { CBSourcesChange(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnCloseQuery = [this](TObject* s, bool& CanClose) { FormCloseQuery(s, CanClose); };
    DoCreate();
}

void TBaseSourceEditor::FormShow(TObject*)
{
    FSeries = dynamic_cast<TChartSeries*>(reinterpret_cast<TObject*>(Tag()));
    BApply->SetEnabled(false);
}

void TBaseSourceEditor::CBSourcesChange(TObject*)
{
    BApply->SetEnabled(true);
}

void TBaseSourceEditor::FormCloseQuery(TObject*, bool& CanClose)
{
    CanClose = true;
    if (!BApply->Enabled())
        return;
    switch (MessageDlg(TeeMsg_SureToApply, mtConfirmation, {mbYes, mbNo, mbCancel}, 0)) {
    case mrYes:
        BApply->Click();
        CanClose = !BApply->Enabled();
        break;
    case mrNo:
        BApply->SetEnabled(false);
        break;
    default:
        CanClose = false;
        break;
    }
}
