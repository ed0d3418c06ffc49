#include "TeeEdiPane.h"

#include "controls/Dialogs.h"

namespace {

int BevelItem(TBevelCut Value)
{
    return Value == bvLowered ? 1 : Value == bvRaised ? 2 : 0;
}

TBevelCut ItemBevel(int Item)
{
    return Item == 1 ? bvLowered : Item == 2 ? bvRaised : bvNone;
}

} // namespace

TFormTeePanel::TFormTeePanel(TComponent* AOwner, TCustomTeePanelExtended* APanel) : TEditorPage(AOwner), FPanel(APanel)
{
    SetUniqueFormName(this, "FormTeePanel");
    SetCaption("Panel Editor");
    BuildForm(this, 420, 290, {
        Pages(PageControl1, "PageControl1", {
            Page(TabBack, "TabBack", "Background", {
                Columns({
                    Column({Line({Ctl(BPanelColor, "BPanelColor", "&Color..."), Ctl(CBColorDef, "CBColorDef", "&Default"), Stretch()}),
                            Radios(RGBitmap, "RGBitmap", "St&yle", {"Stretch", "Tile", "Center", "C&ustom"}), Stretch()}),
                    Column({Ctl(BBrowseImage, "BBrowseImage", "B&rowse..."), Ctl(CBImageInside, "CBImageInside", "I&nside"),
                            Ctl(CBTransp, "CBTransp", "&Transparent"),
                            Row("&Left:", {UpDownEdit(ELeft, "ELeft", UDLeft, "UDLeft", -2000, 2000)}),
                            Row("T&op:", {UpDownEdit(ETop, "ETop", UDTop, "UDTop", -2000, 2000)}), Stretch()}),
                }),
            }),
            Page(TabBorders, "TabBorders", "Borders", {
                Columns({
                    Column({Row("&Separation:", {UpDownEdit(SEPanelBor, "SEPanelBor", UDPanelBor, "UDPanelBor", 0, 1000)}),
                            Row("Widt&h:", {UpDownEdit(SEPanelWi, "SEPanelWi", UDPanelWi, "UDPanelWi", 0, 1000)}),
                            Row("&Round border:", {UpDownEdit(ERound, "ERound", UDRound, "UDRound", 0, 10000)}), Stretch()}),
                    Column({Row("Bevel &inner:", {Combo(CBInner, "CBInner", {"None", "Lowered", "Raised"})}),
                            Row("Bevel &outer:", {Combo(CBOuter, "CBOuter", {"None", "Lowered", "Raised"})}),
                            Ctl(BBorder, "BBorder", "&Border..."), Stretch()}),
                }),
            }),
            Page(TabGradient, "TabGradient", "Gradient", {}),
            Page(TabShadow, "TabShadow", "Shadow", {}),
        }),
    });
    UDPanelWi->SetPosition(1);

    BPanelColor->OnClick = [this](TObject*) {
        if (!FLoading)
            Load([this] { LoadColorDefault(); });
    };
    OnCheck(CBColorDef, [this] {
        if (!CBColorDef->Checked())
            return;
        FPanel->SetColor(clBtnFace);
        BPanelColor->Repaint();
        Load([this] { LoadColorDefault(); });
    });
    OnRadio(RGBitmap, [this](int i) {
        FPanel->SetBackImageMode(static_cast<TTeeBackImageMode>(i));
        Load([this] { LoadImageControls(); });
    });
    BBrowseImage->OnClick = [this](TObject* s) { BBrowseImageClick(s); };
    OnCheck(CBImageInside, [this] { FPanel->SetBackImageInside(CBImageInside->Checked()); });
    OnCheck(CBTransp, [this] {
        if (CBTransp->Enabled())
            FPanel->SetBackImageTransp(CBTransp->Checked());
    });
    OnEdit(ELeft, [this] { FPanel->BackImage()->SetLeft(UDLeft->Position()); });
    OnEdit(ETop, [this] { FPanel->BackImage()->SetTop(UDTop->Position()); });
    OnEdit(SEPanelBor, [this] { FPanel->SetBorderWidth(UDPanelBor->Position()); });
    OnEdit(SEPanelWi, [this] { FPanel->SetBevelWidth(UDPanelWi->Position()); });
    OnEdit(ERound, [this] { FPanel->SetBorderRound(UDRound->Position()); });
    OnCombo(CBInner, [this](int i) {
        if (FPanel->BevelInner() != ItemBevel(i))
            FPanel->SetBevelInner(ItemBevel(i));
    });
    OnCombo(CBOuter, [this](int i) {
        if (FPanel->BevelOuter() != ItemBevel(i))
            FPanel->SetBevelOuter(ItemBevel(i));
    });

    if (FPanel != nullptr) {
        FGradientEditor = CreateEmbeddedGradientEditor(this, FPanel->Gradient());
        EmbedFormInPanel(FGradientEditor, TabGradient);
        FShadowEditor = EmbedShadowEditor(TabShadow);
    }
    PageControl1->SetActivePage(TabBack);
    OnShow = [this](TObject* s) { FormShow(s); };
}

void TFormTeePanel::LoadColorDefault()
{
    const bool isDefault = FPanel->Color() == clBtnFace;
    CBColorDef->SetChecked(isDefault);
    CBColorDef->SetEnabled(!isDefault);
}

void TFormTeePanel::LoadImageControls()
{
    const bool hasImage = FPanel->HasBackImage() && !FPanel->BackImage()->Empty();
    BBrowseImage->SetCaption(hasImage ? "Clea&r" : "B&rowse...");
    CBImageInside->SetEnabled(hasImage);
    CBTransp->SetEnabled(hasImage);
    CBImageInside->SetChecked(FPanel->BackImageInside());
    CBTransp->SetChecked(FPanel->BackImageTransp());
    RGBitmap->SetItemIndex(FPanel->BackImageMode());
    const bool custom = FPanel->BackImageMode() == pbmCustom;
    for (TControl* c : std::initializer_list<TControl*>{ELeft, UDLeft, ETop, UDTop})
        c->SetEnabled(custom);
    UDLeft->SetPosition(FPanel->HasBackImage() ? FPanel->BackImage()->Left() : 0);
    UDTop->SetPosition(FPanel->HasBackImage() ? FPanel->BackImage()->Top() : 0);
}

void TFormTeePanel::FormShow(TObject*)
{
    if (FPanel == nullptr)
        return;
    Load([this] {
        CBInner->SetItemIndex(BevelItem(FPanel->BevelInner()));
        CBOuter->SetItemIndex(BevelItem(FPanel->BevelOuter()));
        AttachPen(BBorder, FPanel->Border());
        UDRound->SetPosition(FPanel->BorderRound());
        UDPanelWi->SetPosition(FPanel->BevelWidth());
        UDPanelBor->SetPosition(FPanel->BorderWidth());
        LoadImageControls();
        LoadColorDefault();
        BPanelColor->LinkProperty(FPanel, "Color");
        FGradientEditor->SetGradient(FPanel->Gradient());
        LoadShadowControls(FShadowEditor, FPanel->Shadow());
    });
    FinishFirstShow();
}

void TFormTeePanel::BBrowseImageClick(TObject*)
{
    if (FLoading || !BrowseOrClearImage(this, FPanel->BackImage()))
        return;
    Load([this] { LoadImageControls(); });
}

bool BrowseOrClearImage(TComponent* AOwner, TPicture* Picture)
{
    if (!Picture->Empty()) {
        Picture->SetGraphic(nullptr);
        return true;
    }
    TOpenDialog dialog(AOwner);
    dialog.SetFilter("Images (*.bmp;*.png;*.jpg;*.jpeg;*.gif;*.emf;*.wmf)|*.bmp;*.png;*.jpg;*.jpeg;*.gif;*.emf;*.wmf|"
                     "All files (*.*)|*.*");
    if (!dialog.Execute())
        return false;
    Picture->LoadFromFile(dialog.FileName());
    return true;
}

TFormTeePanel* CreatePanelEditor(TComponent* AOwner, TCustomTeePanelExtended* Panel, TWinControl* Parent)
{
    auto* page = new TFormTeePanel(AOwner, Panel);
    if (Parent != nullptr)
        EmbedFormInPanel(page, Parent);
    return page;
}

void TeeEdiPaneInitialization()
{
    RegisterFormClass("TFormTeePanel", [](TComponent* AOwner) -> TForm* { return new TFormTeePanel(AOwner, nullptr); });
}

void TeeEdiPaneFinalization()
{
    UnregisterFormClass("TFormTeePanel");
}
