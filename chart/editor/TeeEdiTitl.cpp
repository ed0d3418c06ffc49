#include "TeeEdiTitl.h"

#include "system/ScopeGuard.h"

namespace {

int AlignmentItem(TAlignment Value)
{
    return Value == taCenter ? 1 : Value == taRightJustify ? 2 : 0;
}

TAlignment ItemAlignment(int Item)
{
    return Item == 1 ? taCenter : Item == 2 ? taRightJustify : taLeftJustify;
}

} // namespace

TFormTeeTitle::TFormTeeTitle(TComponent* AOwner, TCustomChart* AChart, TChartTitle* ATitle)
    : TEditorPage(AOwner), FChart(AChart), FTitle(ATitle)
{
    SetUniqueFormName(this, "FormTeeTitle");
    SetCaption("Titles");
    BuildForm(this, 420, 290, {
        Line({Combo(CBTitles, "CBTitles", {"Title", "SubTitle", "SubFoot", "Foot"}, csDropDownList, 120), Stretch()}),
        Pages(PageControlTitle, "PageControlTitle", {
            Page(TabStyle, "TabStyle", "Style", {
                Columns({
                    Column({Row("&Text:", {Ctl(MText, "MText")}), Stretch()}),
                    Column({Ctl(CBVisible, "CBVisible", "&Visible"), Ctl(CBAdjust, "CBAdjust", "&Adjust Frame"),
                            Row("Alig&nment:", {Combo(CBAlign, "CBAlign", {"Left", "Center", "Right"})}),
                            Ctl(CBCustPos, "CBCustPos", "&Custom:"),
                            Row("L&eft:", {UpDownEdit(ECustLeft, "ECustLeft", UDLeft, "UDLeft", -1000, 1000, 5)}),
                            Row("T&op:", {UpDownEdit(ECustTop, "ECustTop", UDTop, "UDTop", -1000, 1000, 5)}), Stretch()}),
                }),
            }),
        }),
    });
    SetMinimumSize(MText, 160, 80);

    CBTitles->OnChange = [this](TObject* s) { CBTitlesChange(s); };
    MText->OnChange = [this](TObject*) {
        if (FLoading || FUpdatingText || FTitle == nullptr)
            return;
        if (MText->Lines()->Text() != FTitle->Text()->Text())
            FTitle->SetText(MText->Lines());
    };
    OnCheck(CBVisible, [this] { FTitle->SetVisible(CBVisible->Checked()); });
    OnCheck(CBAdjust, [this] { FTitle->SetAdjustFrame(CBAdjust->Checked()); });
    OnCombo(CBAlign, [this](int i) { FTitle->SetAlignment(ItemAlignment(i)); });
    OnCheck(CBCustPos, [this] {
        FTitle->SetCustomPosition(CBCustPos->Checked());
        Load([this] {
            UDLeft->SetPosition(FTitle->Left());
            UDTop->SetPosition(FTitle->Top());
            EnableCustom();
        });
    });
    OnEdit(ECustLeft, [this] {
        if (FTitle->CustomPosition() && FTitle->Left() != UDLeft->Position())
            FTitle->SetLeft(UDLeft->Position());
    });
    OnEdit(ECustTop, [this] {
        if (FTitle->CustomPosition() && FTitle->Top() != UDTop->Position())
            FTitle->SetTop(UDTop->Position());
    });

    if (FTitle == nullptr && FChart != nullptr)
        FTitle = FChart->Title();
    if (FTitle != nullptr)
        FShapeEditor = EmbedShapeEditor(PageControlTitle, FTitle);
    PageControlTitle->SetActivePage(TabStyle);
    OnShow = [this](TObject* s) { FormShow(s); };
}

TChartTitle* TFormTeeTitle::TitleOfItem(int Item) const
{
    switch (Item) {
    case 0: return FChart->Title();
    case 1: return FChart->SubTitle();
    case 2: return FChart->SubFoot();
    case 3: return FChart->Foot();
    default: return nullptr;
    }
}

void TFormTeeTitle::EnableCustom()
{
    const bool custom = FTitle->CustomPosition();
    for (TControl* c : std::initializer_list<TControl*>{ECustLeft, UDLeft, ECustTop, UDTop})
        c->SetEnabled(custom);
}

void TFormTeeTitle::LoadControls()
{
    for (int i = 0; i < 4 && FChart != nullptr; ++i)
        if (TitleOfItem(i) == FTitle)
            CBTitles->SetItemIndex(i);
    CBAlign->SetItemIndex(AlignmentItem(FTitle->Alignment()));
    CBVisible->SetChecked(FTitle->Visible());
    CBAdjust->SetChecked(FTitle->AdjustFrame());
    CBCustPos->SetChecked(FTitle->CustomPosition());
    UDLeft->SetPosition(FTitle->Left());
    UDTop->SetPosition(FTitle->Top());
    EnableCustom();
    {
        auto updating = RestoreOnExit(FUpdatingText);
        FUpdatingText = true;
        MText->Lines()->Assign(FTitle->Text());
    }
    if (FShapeEditor != nullptr)
        LoadShapeControls(FShapeEditor, FTitle);
}

void TFormTeeTitle::FormShow(TObject*)
{
    if (FTitle == nullptr)
        return;
    Load([this] { LoadControls(); });
    FinishFirstShow();
}

void TFormTeeTitle::CBTitlesChange(TObject*)
{
    if (FLoading || FChart == nullptr)
        return;
    if (TChartTitle* title = TitleOfItem(CBTitles->ItemIndex())) {
        FTitle = title;
        Load([this] { LoadControls(); });
    }
}

void TFormTeeTitle::SelectTitle(TChartTitle* Value)
{
    if (Value == nullptr)
        return;
    FTitle = Value;
    // Before its first show the page loads FTitle itself.
    if (!FLoading)
        Load([this] { LoadControls(); });
}

TFormTeeTitle* CreateTitleEditor(TComponent* AOwner, TCustomChart* Chart, TChartTitle* Title, TWinControl* Parent)
{
    auto* page = new TFormTeeTitle(AOwner, Chart, Title);
    if (Parent != nullptr)
        EmbedFormInPanel(page, Parent);
    return page;
}

void TeeEdiTitlInitialization()
{
    RegisterFormClass("TFormTeeTitle", [](TComponent* AOwner) -> TForm* { return new TFormTeeTitle(AOwner, nullptr, nullptr); });
}

void TeeEdiTitlFinalization()
{
    UnregisterFormClass("TFormTeeTitle");
}
