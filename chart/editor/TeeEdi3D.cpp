#include "TeeEdi3D.h"

#include "Series.h"

#include <cmath>
#include <cstdlib>

const char* const TFormTee3D::PresetNames[6] = {"2D", "Ortho Right", "Ortho Left", "3D Front", "3D Right", "3D Left"};

TFormTee3D::TFormTee3D(TComponent* AOwner, TCustomChart* AChart) : TEditorPage(AOwner), FChart(AChart)
{
    SetUniqueFormName(this, "FormTee3D");
    SetCaption("3D");
    BuildForm(this, 420, 290, {
        Pages(PageControl1, "PageControl1", {
            Page(TabOptions, "TabOptions", "Options", {
                Columns({
                    Column({Ctl(CBView3d, "CBView3d", "&3 Dimensions"),
                            Row("3&D %:", {UpDownEdit(SE3d, "SE3d", UD3D, "UD3D", 1, 100, 5)}),
                            Ctl(CBOrthogonal, "CBOrthogonal", "&Orthogonal"),
                            Row("&Angle:", {UpDownEdit(EOrthoAngle, "EOrthoAngle", UDOrthoAngle, "UDOrthoAngle", 0, 180, 5)}),
                            Line({Ctl(CBZoomText, "CBZoomText", "Zoom &Text"),
                                  UpDownEdit(ETextSize, "ETextSize", UDTextSize, "UDTextSize", 1, 2000, 5),
                                  Ctl(LTextSize, "LTextSize", "%"), Stretch()}),
                            Ctl(CBClipPoints, "CBClipPoints", "&Clip Points"), Stretch()}),
                    Column({Row("&Zoom:", {Track(SBZoom, "SBZoom", 1, 500, 20), Ctl(LZoom, "LZoom", "100%", 44)}),
                            Row("&Rotation:", {Track(SBRotation, "SBRotation", 0, 360, 45), Ctl(LRotation, "LRotation", "0", 44)}),
                            Row("E&levation:", {Track(SBElevation, "SBElevation", 270, 360, 10), Ctl(LElevation, "LElevation", "0", 44)}),
                            Row("&Horiz. Offset:", {Track(SBHOffset, "SBHOffset", -1500, 1500, 100), Ctl(LHOffset, "LHOffset", "0", 44)}),
                            Row("&Vert. Offset:", {Track(SBVOffset, "SBVOffset", -1500, 1500, 100), Ctl(LVOffset, "LVOffset", "0", 44)}),
                            Row("&Perspective:", {Track(SBPerspec, "SBPerspec", 0, 200, 10), Ctl(LPerspec, "LPerspec", "0", 44)}),
                            Stretch()}),
                }),
            }),
            Page(TabViews, "TabViews", "Views", {Growing(Ctl(ChartGalleryPanel1, "ChartGalleryPanel1"))}),
        }),
    });
    UD3D->SetPosition(15);
    UDOrthoAngle->SetPosition(45);
    UDTextSize->SetPosition(100);

    TView3DOptions* options = FChart != nullptr ? FChart->View3DOptions() : nullptr;
    OnCheck(CBView3d, [this] {
        FChart->SetView3D(CBView3d->Checked());
        EnableControls();
    });
    OnEdit(SE3d, [this] { FChart->SetChart3DPercent(UD3D->Position()); });
    OnCheck(CBOrthogonal, [this, options] {
        options->SetOrthogonal(CBOrthogonal->Checked());
        EnableControls();
    });
    OnEdit(EOrthoAngle, [this, options] { options->SetOrthoAngle(UDOrthoAngle->Position()); });
    OnCheck(CBZoomText, [this, options] { options->SetZoomText(CBZoomText->Checked()); });
    OnEdit(ETextSize, [this, options] { options->SetFontZoom(UDTextSize->Position()); });
    OnCheck(CBClipPoints, [this] { FChart->SetClipPoints(CBClipPoints->Checked()); });
    OnTrack(SBZoom, [this, options](int v) {
        options->SetZoom(v);
        LZoom->SetCaption(IntToStr(v) + "%");
    });
    OnTrack(SBRotation, [this, options](int v) {
        options->SetRotation(v);
        LRotation->SetCaption(IntToStr(v));
    });
    OnTrack(SBElevation, [this, options](int v) {
        options->SetElevation(v);
        LElevation->SetCaption(IntToStr(v));
    });
    OnTrack(SBHOffset, [this, options](int v) {
        options->SetHorizOffset(v);
        LHOffset->SetCaption(IntToStr(v));
    });
    OnTrack(SBVOffset, [this, options](int v) {
        options->SetVertOffset(v);
        LVOffset->SetCaption(IntToStr(v));
    });
    OnTrack(SBPerspec, [this, options](int v) {
        options->SetPerspective(v);
        LPerspec->SetCaption(IntToStr(v));
    });
    PageControl1->OnChange = [this](TObject* s) { PageControl1Change(s); };
    ChartGalleryPanel1->OnChangeChart = [this](TObject* s) { ChartGalleryPanel1ChangeChart(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
}

bool TFormTee3D::RotationAllowed() const
{
    // Only a true 3D canvas turns a pie; a chart without series has no pie to ask about.
    if (FChart->Canvas() != nullptr && FChart->Canvas()->IsTrue3D())
        return true;
    return FChart->SeriesCount() == 0 || dynamic_cast<TPieSeries*>(FChart->Series(0)) == nullptr;
}

void TFormTee3D::EnableControls()
{
    const bool view3D = FChart->View3D();
    const bool true3D = FChart->Canvas() != nullptr && FChart->Canvas()->IsTrue3D();
    CBOrthogonal->SetEnabled(view3D && RotationAllowed());
    SBElevation->SetEnabled(view3D && (true3D || !FChart->View3DOptions()->Orthogonal()));
    SBRotation->SetEnabled(CBOrthogonal->Enabled() && SBElevation->Enabled());
    EOrthoAngle->SetEnabled(CBOrthogonal->Enabled());
    UDOrthoAngle->SetEnabled(CBOrthogonal->Enabled());
    if (FViewsNotBuilt)
        PageControl1->SetActivePage(TabOptions);
}

void TFormTee3D::LoadOptions()
{
    TView3DOptions* options = FChart->View3DOptions();
    const bool true3D = FChart->Canvas() != nullptr && FChart->Canvas()->IsTrue3D();
    CBView3d->SetChecked(FChart->View3D());
    UD3D->SetPosition(FChart->Chart3DPercent());
    SBZoom->SetPosition(options->Zoom());
    LZoom->SetCaption(IntToStr(options->Zoom()) + "%");
    CBOrthogonal->SetChecked(options->Orthogonal());
    SBRotation->SetMin(0);
    SBRotation->SetFrequency(true3D ? 20 : 45);
    SBRotation->SetPosition(options->Rotation());
    LRotation->SetCaption(IntToStr(options->Rotation()));
    SBElevation->SetMin(true3D ? 0 : 270);
    SBElevation->SetFrequency(true3D ? 20 : 10);
    SBElevation->SetPosition(options->Elevation());
    LElevation->SetCaption(IntToStr(options->Elevation()));
    // An offset beyond its bar widens the bar to one and a half times the offset.
    auto offset = [](TTrackBar* Bar, TLabel* Label, int Value) {
        if (std::abs(Value) > Bar->Max()) {
            const int range = int(std::lround(std::abs(Value) * 1.5));
            Bar->SetMin(-range);
            Bar->SetMax(range);
        }
        Bar->SetPosition(Value);
        Label->SetCaption(IntToStr(Value));
    };
    offset(SBHOffset, LHOffset, options->HorizOffset());
    offset(SBVOffset, LVOffset, options->VertOffset());
    CBZoomText->SetChecked(options->ZoomText());
    SBPerspec->SetPosition(options->Perspective());
    LPerspec->SetCaption(IntToStr(options->Perspective()));
    UDOrthoAngle->SetPosition(options->OrthoAngle());
    UDTextSize->SetPosition(options->FontZoom());
    CBClipPoints->SetChecked(FChart->ClipPoints());
    EnableControls();
}

void TFormTee3D::FormShow(TObject*)
{
    if (FChart == nullptr)
        return;
    Load([this] { LoadOptions(); });
    FinishFirstShow();
}

void TFormTee3D::BuildViews()
{
    TChartGalleryPanel* panel = ChartGalleryPanel1;
    panel->SetSmooth(false);
    panel->SetDisplaySub(false);
    panel->SetFocusRotation(false);
    panel->SetNumCols(3);
    panel->SetNumRows(2);
    TTeeSeriesType* type = SeriesTypeList()->Count() > 0 ? SeriesTypeList()->Get(0) : nullptr;
    for (int i = 0; i < 6; ++i) {
        TGalleryChart* chart = AddGalleryChart(panel, type);
        for (int s = 0; s < chart->SeriesCount(); ++s)
            chart->Series(s)->Clear();
        chart->BackWall()->SetTransparent(false);
        chart->Walls()->SetSize(5);
        chart->Title()->Text()->SetText(PresetNames[i]);
        TView3DOptions* view = chart->View3DOptions();
        view->SetOrthogonal(false);
        if (i == 0) {
            chart->SetView3D(false);
            chart->LeftAxis()->SetLabels(true);
            continue;
        }
        chart->SetView3D(true);
        for (int s = 0; s < chart->SeriesCount(); ++s)
            chart->Series(s)->SetVertAxis(aBothVertAxis);
        view->SetElevation(360);
        chart->LeftAxis()->SetLabels(true);
        switch (i) {
        case 1: // Ortho Right
            view->SetOrthogonal(true);
            break;
        case 2: // Ortho Left
            view->SetOrthogonal(true);
            view->SetOrthoAngle(135);
            chart->LeftWall()->SetVisible(false);
            chart->RightWall()->SetVisible(true);
            for (int s = 0; s < chart->SeriesCount(); ++s)
                chart->Series(s)->SetVertAxis(aRightAxis);
            chart->RightAxis()->SetZPosition(0);
            break;
        case 3: // 3D Front
            view->SetRotation(360);
            chart->LeftWall()->SetVisible(true);
            chart->RightWall()->SetVisible(true);
            chart->RightAxis()->SetZPosition(0);
            break;
        case 4: // 3D Right
            view->SetRotation(300);
            chart->LeftWall()->SetVisible(true);
            chart->RightWall()->SetVisible(false);
            chart->RightAxis()->SetZPosition(100);
            break;
        default: // 3D Left
            view->SetRotation(45);
            chart->LeftWall()->SetVisible(false);
            chart->RightWall()->SetVisible(true);
            chart->RightAxis()->SetZPosition(0);
            chart->LeftAxis()->SetZPosition(100);
            break;
        }
    }
    panel->RelayOut();
    FViewsNotBuilt = false;
}

void TFormTee3D::FocusMatchingView()
{
    const TView3DOptions* mine = FChart->View3DOptions();
    for (int i = 0; i < ChartGalleryPanel1->ChartCount(); ++i) {
        TGalleryChart* preset = ChartGalleryPanel1->Charts(i);
        const TView3DOptions* view = preset->View3DOptions();
        if (preset->View3D() == FChart->View3D() && view->Orthogonal() == mine->Orthogonal() &&
            view->OrthoAngle() == mine->OrthoAngle() && view->Rotation() == mine->Rotation() &&
            view->Elevation() == mine->Elevation()) {
            ChartGalleryPanel1->SetSelectedChart(preset);
            return;
        }
    }
}

void TFormTee3D::PageControl1Change(TObject*)
{
    if (FChart == nullptr)
        return;
    if (PageControl1->ActivePage() == TabOptions) {
        Load([this] { LoadOptions(); });
        return;
    }
    // Building and focusing the presets only shows them: the chart keeps its view.
    Load([this] {
        if (ChartGalleryPanel1->ChartCount() == 0)
            BuildViews();
        FocusMatchingView();
    });
}

void TFormTee3D::ChartGalleryPanel1ChangeChart(TObject*)
{
    TGalleryChart* preset = ChartGalleryPanel1->SelectedChart();
    if (FLoading || preset == nullptr)
        return;
    TView3DOptions* mine = FChart->View3DOptions();
    const TView3DOptions* view = preset->View3DOptions();
    FChart->SetView3D(preset->View3D());
    mine->SetOrthogonal(view->Orthogonal());
    mine->SetOrthoAngle(view->OrthoAngle());
    mine->SetRotation(view->Rotation());
    mine->SetElevation(view->Elevation());
}

TFormTee3D* Create3DEditor(TComponent* AOwner, TCustomChart* Chart, TWinControl* Parent)
{
    auto* page = new TFormTee3D(AOwner, Chart);
    if (Parent != nullptr)
        EmbedFormInPanel(page, Parent);
    return page;
}

void TeeEdi3DInitialization()
{
    RegisterFormClass("TFormTee3D", [](TComponent* AOwner) -> TForm* { return new TFormTee3D(AOwner, nullptr); });
}

void TeeEdi3DFinalization()
{
    UnregisterFormClass("TFormTee3D");
}
