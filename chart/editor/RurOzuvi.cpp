#include "RurOzuvi.h"

#include "TeePenDlg.h"
#include "RizUridu.h"
#include "TeCanvas.h"
#include "TeeConst.h"

#include "controls/FormBuilder.h"
#include "controls/Shell.h"
#include "system/SysUtils.h"

#include <algorithm>
#include <memory>

bool OpenURL(TWinControl*, const std::string& Address)
{
    const std::string lower = LowerCase(Trim(Address));
    if (lower.rfind("http://", 0) != 0 && lower.rfind("https://", 0) != 0)
        return false;
    return ShellOpenDocument(Trim(Address));
}

void TAboutBackground::Paint()
{
    // A temporary chart surface over the window's canvas draws the gradient.
    TTeeCanvas3D surface;
    AttachCanvasToSurface(&surface, Canvas());
    surface.FillGradient(ClientRect(), StartColor, EndColor, gdTopBottom);
    AttachCanvasToSurface(&surface, nullptr);
}

TRurOzuviForm::TRurOzuviForm(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "RurOzuviForm");
    SetCaption(std::string("About ") + ChartLibraryVersion);
    BuildForm(this, 326, 176, {Growing(Ctl(Background, "Background"))});
    BuildInto(Background, this, {
        Ctl(LabelVersion, "LabelVersion", ChartLibraryVersion),
        Ctl(LabelCopy, "LabelCopy", TeeMsg_Copyright),
        Ctl(Label1, "Label1", "All rights reserved."),
        Ctl(Labelwww, "Labelwww", ChartLibraryWebAddress),
        Stretch(),
        Buttons({Ctl(BClose, "BClose", "Close")}),
    });
    LabelVersion->SetFontSize(14);
    LabelVersion->SetFontStyle(fsBold);
    Labelwww->SetFontColor(clBlue);
    Labelwww->SetFontStyle(fsUnderline);
    Labelwww->OnClick = [this](TObject* s) { LabelwwwClick(s); };
    BClose->SetModalResult(mrCancel);
    BClose->SetDefault(true);
    BClose->SetCancel(true);

    Background->StartColor = FColor1;
    Background->EndColor = FColor2;
    Timer1 = new TTimer(this);
    Timer1->SetName("Timer1");
    Timer1->SetInterval(100);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };
    OnShow = [this](TObject*) { CallFormShowHook(this); };
    DoCreate();
}

void TRurOzuviForm::LabelwwwClick(TObject*)
{
    OpenURL(this, Labelwww->Caption());
}

void TRurOzuviForm::Timer1Timer(TObject*)
{
    const auto shift = [](TColor c, int delta) {
        const auto channel = [delta](int v) { return std::clamp(v + delta, 0, 255); };
        return RGB(channel(GetRValue(c)), channel(GetGValue(c)), channel(GetBValue(c)));
    };
    FColor1 = shift(FColor1, -FStep);
    FColor2 = shift(FColor2, FStep);
    if (FColor1 == clBlack || FColor2 == clBlack)
        FStep = -FStep;
    Background->StartColor = FColor1;
    Background->EndColor = FColor2;
    Background->Invalidate();
}

void TeeShowAboutBox(TComponent* AOwner)
{
    std::unique_ptr<TRurOzuviForm> form(CreateDialogForm<TRurOzuviForm>(AOwner));
    form->ShowModal();
}

void RurOzuviInitialization()
{
    RegisterFormClass<TRurOzuviForm>("TRurOzuviForm");
}

void RurOzuviFinalization()
{
    UnregisterFormClass("TRurOzuviForm");
}
