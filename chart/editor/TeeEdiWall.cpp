#include "TeeEdiWall.h"

TFormTeeWall::TFormTeeWall(TComponent* AOwner, TCustomChartWall* AWall) : TEditorPage(AOwner), FWall(AWall)
{
    SetUniqueFormName(this, "FormTeeWall");
    SetCaption("Walls");
    BuildForm(this, 420, 290, {
        Ctl(TabSubWalls, "TabSubWalls"),
        Columns({
            Column({Ctl(BWallColor, "BWallColor", "&Color..."), Ctl(BWallPen, "BWallPen", "B&order..."),
                    Ctl(BWallBrush, "BWallBrush", "&Pattern..."), Ctl(BGradient, "BGradient", "&Gradient..."), Stretch()}),
            Column({Row("Siz&e:", {UpDownEdit(SEWallSize, "SEWallSize", UDWallSize, "UDWallSize", 0, 1000)}),
                    Row("T&ransparency:", {UpDownEdit(Edit1, "Edit1", UDTransp, "UDTransp", 0, 100)}),
                    Ctl(CBTransp, "CBTransp", "&Transparent"), Ctl(CBDark3D, "CBDark3D", "&Dark 3D"),
                    Ctl(CBVisible, "CBVisible", "V&isible"), Ctl(CBAutoHide, "CBAutoHide", "&Auto Hide"), Stretch()}),
        }),
        Line({Ctl(CBView3dWalls, "CBView3dWalls", "&Visible Walls"),
              Row("Size:", {UpDownEdit(EAllSize, "EAllSize", UDAllSize, "UDAllSize", 0, 1000)}), Stretch()}),
    });
    for (const char* tab : {"Left", "Right", "Bottom", "Back"})
        TabSubWalls->Tabs()->Add(tab);

    TabSubWalls->OnChange = [this](TObject* s) { TabSubWallsChange(s); };
    BWallBrush->OnClick = [this](TObject*) {
        if (!FLoading)
            ShowBrushEditor(this, FWall->Brush());
    };
    BGradient->OnClick = [this](TObject* s) { BGradientClick(s); };
    OnEdit(SEWallSize, [this] {
        FWall->SetSize(UDWallSize->Position());
        CBDark3D->SetEnabled(FWall->Size() > 0);
    });
    OnCheck(CBTransp, [this] { FWall->SetTransparent(CBTransp->Checked()); });
    OnCheck(CBDark3D, [this] { FWall->SetDark3D(CBDark3D->Checked()); });
    OnCheck(CBVisible, [this] { FWall->SetVisible(CBVisible->Checked()); });
    OnEdit(Edit1, [this] { FWall->SetTransparency(UDTransp->Position()); });
    OnCheck(CBAutoHide, [this] { FWall->SetAutoHide(CBAutoHide->Checked()); });
    OnCheck(CBView3dWalls, [this] {
        if (TCustomChart* chart = Chart())
            chart->SetView3DWalls(CBView3dWalls->Checked());
    });
    OnEdit(EAllSize, [this] {
        if (TCustomChart* chart = Chart()) {
            chart->Walls()->SetSize(UDAllSize->Position());
            Load([this] { LoadControls(); });
        }
    });
    OnShow = [this](TObject* s) { FormShow(s); };
}

TCustomChart* TFormTeeWall::Chart() const
{
    return FWall != nullptr ? dynamic_cast<TCustomChart*>(FWall->ParentChart()) : nullptr;
}

TCustomChartWall* TFormTeeWall::WallOfTab(int Index) const
{
    TCustomChart* chart = Chart();
    if (chart == nullptr)
        return nullptr;
    switch (Index) {
    case 0: return chart->LeftWall();
    case 1: return chart->RightWall();
    case 2: return chart->BottomWall();
    case 3: return chart->BackWall();
    default: return nullptr;
    }
}

void TFormTeeWall::LoadControls()
{
    for (int i = 0; i < 4; ++i)
        if (WallOfTab(i) == FWall)
            TabSubWalls->SetTabIndex(i);
    if (TCustomChart* chart = Chart())
        CBView3dWalls->SetChecked(chart->View3DWalls());
    UDWallSize->SetPosition(FWall->Size());
    CBTransp->SetChecked(FWall->Transparent());
    CBDark3D->SetChecked(FWall->Dark3D());
    CBDark3D->SetEnabled(FWall->Size() > 0);
    CBVisible->SetChecked(FWall->Visible());
    CBAutoHide->SetChecked(FWall->AutoHide());
    // The bottom wall never hides itself.
    CBAutoHide->SetVisible(FWall != WallOfTab(2));
    UDTransp->SetPosition(FWall->Transparency());
    UDAllSize->SetPosition(FWall->Size());
    AttachPen(BWallPen, FWall->Pen());
    AttachGradient(BGradient, FWall->Gradient());
    BWallColor->LinkProperty(FWall, "Color");
}

void TFormTeeWall::FormShow(TObject*)
{
    if (FWall == nullptr)
        return;
    Load([this] { LoadControls(); });
    FinishFirstShow();
}

void TFormTeeWall::TabSubWallsChange(TObject*)
{
    if (TCustomChartWall* wall = WallOfTab(TabSubWalls->TabIndex())) {
        FWall = wall;
        Load([this] { LoadControls(); });
    }
}

void TFormTeeWall::BGradientClick(TObject*)
{
    if (FLoading || !FWall->Gradient()->Visible())
        return;
    FWall->SetTransparent(false);
    Load([this] { CBTransp->SetChecked(false); });
}

TFormTeeWall* CreateWallEditor(TComponent* AOwner, TCustomChartWall* Wall, TWinControl* Parent)
{
    auto* page = new TFormTeeWall(AOwner, Wall);
    if (Parent != nullptr)
        EmbedFormInPanel(page, Parent);
    return page;
}

void TeeEdiWallInitialization()
{
    RegisterFormClass("TFormTeeWall", [](TComponent* AOwner) -> TForm* { return new TFormTeeWall(AOwner, nullptr); });
}

void TeeEdiWallFinalization()
{
    UnregisterFormClass("TFormTeeWall");
}
