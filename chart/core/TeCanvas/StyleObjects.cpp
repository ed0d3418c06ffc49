#include "TeCanvas.h"

#include <cmath>

// ---- published properties ----------------------------------------------------------

namespace {
const std::vector<std::string> PenEndStyleNames = {"esRound", "esSquare", "esFlat"};
const std::vector<std::string> GradientDirectionNames = {
    "gdTopBottom", "gdBottomTop", "gdLeftRight", "gdRightLeft", "gdFromCenter", "gdFromTopLeft",
    "gdFromBottomLeft", "gdRadial", "gdDiagonalUp", "gdDiagonalDown"};
} // namespace

BEGIN_CLASS_INFO(TChartPen, TPen)
    .Enum("EndStyle", &TChartPen::EndStyle, &TChartPen::SetEndStyle, PenEndStyleNames)
        .Stored(&TChartPen::IsEndStyleStored)
    .Bool("SmallDots", &TChartPen::SmallDots, &TChartPen::SetSmallDots).Default(false)
    .Int("SmallSpace", &TChartPen::SmallSpace, &TChartPen::SetSmallSpace)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Bool("Visible", &TChartPen::Visible, &TChartPen::SetVisible).Stored(&TChartPen::IsVisibleStored)
END_CLASS_INFO

BEGIN_CLASS_INFO(TDottedGrayPen, TChartPen)
    .Int("Color", &TPen::Color, &TPen::SetColor).Idents(ColorIdents()).Default(clGray)
    .Enum("Style", &TPen::Style, &TPen::SetStyle,
          {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"}).Default(psDot)
END_CLASS_INFO

BEGIN_CLASS_INFO(TDarkGrayPen, TChartPen)
    .Int("Color", &TPen::Color, &TPen::SetColor).Idents(ColorIdents()).Default(clGray)
END_CLASS_INFO

BEGIN_CLASS_INFO(TWhitePen, TChartPen)
    .Int("Color", &TPen::Color, &TPen::SetColor).Idents(ColorIdents()).Default(clWhite)
END_CLASS_INFO

BEGIN_CLASS_INFO(TChartBrush, TBrush)
    .Int("Color", &TBrush::Color, &TBrush::SetColor).Idents(ColorIdents()).Default(clDefault)
    .Object("Image", &TChartBrush::Image)
END_CLASS_INFO

BEGIN_CLASS_INFO(TTeeShadow, TPersistent)
    .Int("Color", &TTeeShadow::Color, &TTeeShadow::SetColor).Idents(ColorIdents()).Stored(&TTeeShadow::IsColorStored)
    .Int("HorizSize", &TTeeShadow::HorizSize, &TTeeShadow::SetHorizSize)
        .Within(-MaxStoredPixels, MaxStoredPixels).Stored(&TTeeShadow::IsHorizSizeStored)
    .Bool("Smooth", &TTeeShadow::Smooth, &TTeeShadow::SetSmooth).Default(true)
    .Int("Transparency", &TTeeShadow::Transparency, &TTeeShadow::SetTransparency).Default(0)
    .Int("VertSize", &TTeeShadow::VertSize, &TTeeShadow::SetVertSize)
        .Within(-MaxStoredPixels, MaxStoredPixels).Stored(&TTeeShadow::IsVertSizeStored)
END_CLASS_INFO

BEGIN_CLASS_INFO(TTeeGradient, TPersistent)
    .Int("Balance", &TTeeGradient::Balance, &TTeeGradient::SetBalance).Default(50)
    .Enum("Direction", &TTeeGradient::Direction, &TTeeGradient::SetDirection, GradientDirectionNames)
        .Default(gdTopBottom)
    .Int("EndColor", &TTeeGradient::EndColor, &TTeeGradient::SetEndColor).Idents(ColorIdents()).Default(clYellow)
    .Int("MidColor", &TTeeGradient::MidColor, &TTeeGradient::SetMidColor).Idents(ColorIdents()).Default(clNone)
    .Int("RadialX", &TTeeGradient::RadialX, &TTeeGradient::SetRadialX)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Int("RadialY", &TTeeGradient::RadialY, &TTeeGradient::SetRadialY)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Int("StartColor", &TTeeGradient::StartColor, &TTeeGradient::SetStartColor).Idents(ColorIdents()).Default(clWhite)
    .Bool("Visible", &TTeeGradient::Visible, &TTeeGradient::SetVisible).Default(false)
END_CLASS_INFO

BEGIN_CLASS_INFO(TTeeFontGradient, TTeeGradient)
    .Bool("Outline", &TTeeFontGradient::Outline, &TTeeFontGradient::SetOutline).Default(false)
END_CLASS_INFO

BEGIN_CLASS_INFO(TTeeFont, TFont)
    .Int("Charset", &TFont::Charset, &TFont::SetCharset).Default(DEFAULT_CHARSET)
    .Int("Color", &TFont::Color, &TFont::SetColor).Idents(ColorIdents()).Stored(&TTeeFont::IsColorStored)
    .Int("Height", &TFont::Height, &TFont::SetHeight).Within(-MaxStoredPixels, MaxStoredPixels)
        .Stored(&TTeeFont::IsHeightStored)
    .Str("Name", &TFont::Name, &TFont::SetName).Stored(&TTeeFont::IsNameStored)
    .SetOf("Style", &TFont::Style, &TFont::SetStyle, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"})
        .Stored(&TTeeFont::IsStyleStored)
    .Object("Gradient", &TTeeFont::Gradient)
    .Int("InterCharSize", &TTeeFont::InterCharSize, &TTeeFont::SetInterCharSize)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Object("OutLine", &TTeeFont::OutLine)
    .Object("Shadow", &TTeeFont::Shadow)
END_CLASS_INFO

BEGIN_CLASS_INFO(TView3DOptions, TPersistent)
    .Int("Elevation", &TView3DOptions::Elevation, &TView3DOptions::SetElevation)
        .Within(-MaxStoredDegrees, MaxStoredDegrees).Default(345)
    .Int("FontZoom", &TView3DOptions::FontZoom, &TView3DOptions::SetFontZoom)
        .Within(-MaxStoredPercent, MaxStoredPercent).Default(100)
    .Int("HorizOffset", &TView3DOptions::HorizOffset, &TView3DOptions::SetHorizOffset)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Bool("Orthogonal", &TView3DOptions::Orthogonal, &TView3DOptions::SetOrthogonal).Default(true)
    .Int("OrthoAngle", &TView3DOptions::OrthoAngle, &TView3DOptions::SetOrthoAngle)
        .Within(-MaxStoredDegrees, MaxStoredDegrees).Default(45)
    .Int("Perspective", &TView3DOptions::Perspective, &TView3DOptions::SetPerspective)
        .Within(-MaxStoredPercent, MaxStoredPercent).Default(15)
    .Int("Rotation", &TView3DOptions::Rotation, &TView3DOptions::SetRotation)
        .Within(-MaxStoredDegrees, MaxStoredDegrees).Default(345)
    .Int("Tilt", &TView3DOptions::Tilt, &TView3DOptions::SetTilt).Within(-MaxStoredDegrees, MaxStoredDegrees).Default(0)
    .Int("VertOffset", &TView3DOptions::VertOffset, &TView3DOptions::SetVertOffset)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Int("Zoom", &TView3DOptions::Zoom, &TView3DOptions::SetZoom)
        .Within(-MaxStoredPercent, MaxStoredPercent).Default(100)
    .Bool("ZoomText", &TView3DOptions::ZoomText, &TView3DOptions::SetZoomText).Default(true)
END_CLASS_INFO

// ---- pens -----------------------------------------------------------------------

TChartPen::TChartPen(TNotifyEvent onChange) { OnChange = std::move(onChange); }

void TChartPen::SetEndStyle(TPenEndStyle v)
{
    SetAndNotify(FEndStyle, v, [this] { Changed(); });
}

void TChartPen::SetSmallDots(bool v)
{
    SetAndNotify(FSmallDots, v, [this] { Changed(); });
}

void TChartPen::SetSmallSpace(int v)
{
    SetAndNotify(FSmallSpace, v, [this] { Changed(); });
}

void TChartPen::SetVisible(bool v)
{
    SetAndNotify(FVisible, v, [this] { Changed(); });
}

void TChartPen::Assign(TPersistent* Source)
{
    if (auto* p = dynamic_cast<TChartPen*>(Source))
        AssignOwnProperties(this, p, TChartPen::StaticClassInfo());
    TPen::Assign(Source);
}

TChartHiddenPen::TChartHiddenPen(TNotifyEvent onChange) : TChartPen(std::move(onChange))
{
    FVisible = false;
    FDefaultVisible = false;
}

TDottedGrayPen::TDottedGrayPen(TNotifyEvent onChange) : TChartPen(nullptr)
{
    SetColor(clGray);
    SetStyle(psDot);
    OnChange = std::move(onChange);
}

TDarkGrayPen::TDarkGrayPen(TNotifyEvent onChange) : TChartPen(nullptr)
{
    SetColor(clGray);
    OnChange = std::move(onChange);
}

TWhitePen::TWhitePen(TNotifyEvent onChange) : TChartPen(nullptr)
{
    SetColor(clWhite);
    OnChange = std::move(onChange);
}

// ---- brush ----------------------------------------------------------------------

TChartBrush::TChartBrush(TNotifyEvent onChange)
{
    SetColor(clDefault);
    OnChange = std::move(onChange);
}

TChartBrush::~TChartBrush() = default;

TPicture* TChartBrush::Image()
{
    if (!FImage) {
        FImage = std::make_unique<TPicture>();
        FImage->OnChange = OnChange;
    }
    return FImage.get();
}

void TChartBrush::SetImage(TPicture* v)
{
    if (v == nullptr)
        FImage.reset();
    else if (v != FImage.get())
        Image()->Assign(v);
    Changed();
}

// By hand: the image is made on first use.
void TChartBrush::Assign(TPersistent* Source)
{
    bool dropped = false;
    if (auto* b = dynamic_cast<TChartBrush*>(Source)) {
        if (b == this)
            return;
        if (b->FImage) {
            Image()->Assign(b->FImage.get());   // the picture tells the owner
        } else if (FImage) {
            FImage.reset();
            // The plain brush's assignment tells the owner only when colour or style
            // change; a picture taken away changes the fill as much.
            dropped = Color() == b->Color() && Style() == b->Style();
        }
    }
    TBrush::Assign(Source);
    if (dropped)
        Changed();
}

// ---- shadow ---------------------------------------------------------------------

TTeeShadow::TTeeShadow(TNotifyEvent onChange) : OnChange(std::move(onChange)) {}
TTeeShadow::~TTeeShadow() = default;

void TTeeShadow::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TTeeShadow::SetColor(TColor v)
{
    SetAndNotify(FColor, v, [this] { Changed(); });
}

void TTeeShadow::SetHorizSize(int v)
{
    SetAndNotify(FHorizSize, v, [this] { Changed(); });
}

void TTeeShadow::SetSmooth(bool v)
{
    SetAndNotify(FSmooth, v, [this] { Changed(); });
}

void TTeeShadow::SetTransparency(int v)
{
    if (v < 0 || v > 100)
        throw ERangeError();
    SetAndNotify(FTransparency, v, [this] { Changed(); });
}

void TTeeShadow::SetVertSize(int v)
{
    SetAndNotify(FVertSize, v, [this] { Changed(); });
}

void TTeeShadow::SetSize(int v)
{
    SetHorizSize(v);
    SetVertSize(v);
}

void TTeeShadow::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TTeeShadow*>(Source)) {
        AssignOwnProperties(this, s, TTeeShadow::StaticClassInfo());
        return;
    }
    TPersistent::Assign(Source);
}

// ---- gradients ------------------------------------------------------------------

TCustomTeeGradient::TCustomTeeGradient(TNotifyEvent onChange) : OnChange(std::move(onChange)) {}

void TCustomTeeGradient::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TCustomTeeGradient::SetBalance(int v)
{
    v = std::clamp(v, 0, 100);
    SetAndNotify(FBalance, v, [this] { Changed(); });
}

void TCustomTeeGradient::SetDirection(TGradientDirection v)
{
    SetAndNotify(FDirection, v, [this] { Changed(); });
}

void TCustomTeeGradient::SetEndColor(TColor v)
{
    SetAndNotify(FEndColor, v, [this] { Changed(); });
}

void TCustomTeeGradient::SetMidColor(TColor v)
{
    if (v == clNone) {
        if (FUseMiddle) {
            FUseMiddle = false;
            Changed();
        }
        return;
    }
    if (FUseMiddle && v == FMidColor)
        return;
    FUseMiddle = true;
    FMidColor = v;
    Changed();
}

void TCustomTeeGradient::UseMiddleColor()
{
    if (FUseMiddle)
        return;
    FUseMiddle = true;
    Changed();
}

void TCustomTeeGradient::SetRadialX(int v)
{
    SetAndNotify(FRadialX, v, [this] { Changed(); });
}

void TCustomTeeGradient::SetRadialY(int v)
{
    SetAndNotify(FRadialY, v, [this] { Changed(); });
}

void TCustomTeeGradient::SetStartColor(TColor v)
{
    SetAndNotify(FStartColor, v, [this] { Changed(); });
}

void TCustomTeeGradient::SetVisible(bool v)
{
    SetAndNotify(FVisible, v, [this] { Changed(); });
}

// By field: MidColor reads clNone while the middle colour is off and its setter turns it
// on, so the table cannot carry the switch and the kept colour apart.
void TCustomTeeGradient::Assign(TPersistent* Source)
{
    if (auto* g = dynamic_cast<TCustomTeeGradient*>(Source)) {
        FBalance = g->FBalance;
        FDirection = g->FDirection;
        FEndColor = g->FEndColor;
        FMidColor = g->FMidColor;
        FRadialX = g->FRadialX;
        FRadialY = g->FRadialY;
        FStartColor = g->FStartColor;
        FVisible = g->FVisible;
        FUseMiddle = g->FUseMiddle;
        return;
    }
    TPersistent::Assign(Source);
}

void TTeeFontGradient::SetOutline(bool v)
{
    SetAndNotify(FOutline, v, [this] { Changed(); });
}

void TTeeFontGradient::Assign(TPersistent* Source)
{
    if (auto* g = dynamic_cast<TTeeFontGradient*>(Source))
        AssignOwnProperties(this, g, TTeeFontGradient::StaticClassInfo());
    TCustomTeeGradient::Assign(Source);
}

// ---- font -----------------------------------------------------------------------

namespace {
std::string& DefaultFontNameRef()
{
    static std::string name = "Arial";
    return name;
}
int& DefaultFontSizeRef()
{
    static int size = 8;
    return size;
}
} // namespace

const std::string& TeeDefaultFontName() { return DefaultFontNameRef(); }
int TeeDefaultFontSize() { return DefaultFontSizeRef(); }

void SetTeeDefaultFont(const std::string& name, int size)
{
    if (!name.empty())
        DefaultFontNameRef() = name;
    if (size != 0)
        DefaultFontSizeRef() = size;
}

TTeeFont::TTeeFont(TNotifyEvent onChange) : FChangeHandler(onChange)
{
    SetColor(clBlack);
    SetCharset(DEFAULT_CHARSET);
    SetName(TeeDefaultFontName());
    SetSize(TeeDefaultFontSize());
    OnChange = std::move(onChange);
}

TTeeFont::~TTeeFont()
{
    if (FSurface != nullptr)
        FSurface->FCurrentFont = nullptr;
}

TTeeFontGradient* TTeeFont::Gradient()
{
    if (!FGradient)
        FGradient = std::make_unique<TTeeFontGradient>(FChangeHandler);
    return FGradient.get();
}

void TTeeFont::SetGradient(TCustomTeeGradient* v)
{
    if (v == nullptr)
        FGradient.reset();
    else if (v != FGradient.get())
        Gradient()->Assign(v);
}

TChartHiddenPen* TTeeFont::OutLine()
{
    if (!FOutLine)
        FOutLine = std::make_unique<TChartHiddenPen>(FChangeHandler);
    return FOutLine.get();
}

void TTeeFont::SetOutLine(TChartPen* v)
{
    if (v == nullptr)
        FOutLine.reset();
    else if (v != FOutLine.get())
        OutLine()->Assign(v);
}

TTeeShadow* TTeeFont::Shadow()
{
    if (!FShadow)
        FShadow = std::make_unique<TTeeShadow>(FChangeHandler);
    return FShadow.get();
}

void TTeeFont::SetShadow(TTeeShadow* v)
{
    if (v == nullptr)
        FShadow.reset();
    else if (v != FShadow.get())
        Shadow()->Assign(v);
}

void TTeeFont::SetInterCharSize(int v)
{
    SetAndNotify(FInterCharSize, v, [this] {
        if (OnChange)
            OnChange(this);
    });
}

// By hand: the gradient, outline and shadow are made on first use, and a copy leaves
// those the source has not made unmade.
void TTeeFont::Assign(TPersistent* Source)
{
    if (auto* f = dynamic_cast<TTeeFont*>(Source)) {
        if (f == this)
            return;
        SetGradient(f->FGradient.get());
        SetOutLine(f->FOutLine.get());
        SetShadow(f->FShadow.get());
        FInterCharSize = f->FInterCharSize;
    }
    TFont::Assign(Source);
}

// ---- 3D view options ------------------------------------------------------------

void OrthoSlope(int angle, double& ratio, double& sign)
{
    sign = angle >= 90 ? -1.0 : 1.0;
    double a = angle >= 90 ? 180 - angle : angle;
    a *= 0.017453292519943295;
    const double c = std::cos(a);
    ratio = c > 0.01 ? std::sin(a) / c : 1.0;
}

TView3DOptions::TView3DOptions(TComponent* parent, std::function<void()> repaint)
    : FParent(parent), FRepaint(std::move(repaint))
{
}

void TView3DOptions::Repaint() const
{
    if (FRepaint)
        FRepaint();
}

void TView3DOptions::SetElevation(int v)
{
    SetAndNotify(FElevation, v, [this] { Repaint(); });
}

void TView3DOptions::SetFontZoom(int v)
{
    SetAndNotify(FFontZoom, v, [this] { Repaint(); });
}

void TView3DOptions::SetOrthoAngle(int v)
{
    SetAndNotify(FOrthoAngle, v, [this] { Repaint(); });
}

void TView3DOptions::SetPerspective(int v)
{
    SetAndNotify(FPerspective, v, [this] { Repaint(); });
}

void TView3DOptions::SetRotation(int v)
{
    SetAndNotify(FRotation, v, [this] { Repaint(); });
}

void TView3DOptions::SetTilt(int v)
{
    SetAndNotify(FTilt, v, [this] { Repaint(); });
}


void TView3DOptions::SetHorizOffset(int v)
{
    SetAndNotify(FHorizOffset, v, [this] {
        Repaint();
        if (OnScrolled)
            OnScrolled(true);
    });
}

void TView3DOptions::SetVertOffset(int v)
{
    SetAndNotify(FVertOffset, v, [this] {
        Repaint();
        if (OnScrolled)
            OnScrolled(false);
    });
}

void TView3DOptions::SetZoom(int v)
{
    if (v == FZoom)
        return;
    if (OnChangedZoom)
        OnChangedZoom(v);
    FZoom = v;
    Repaint();
}

void TView3DOptions::SetOrthogonal(bool v)
{
    SetAndNotify(FOrthogonal, v, [this] { Repaint(); });
}

void TView3DOptions::SetZoomText(bool v)
{
    SetAndNotify(FZoomText, v, [this] { Repaint(); });
}

double TView3DOptions::OrthoRatio() const
{
    if (!FOrthogonal)
        return 1.0;
    double ratio, sign;
    OrthoSlope(FOrthoAngle, ratio, sign);
    return ratio;
}

// By field: the offset and zoom setters raise the chart's scroll and zoom events, which a
// copy does not.
void TView3DOptions::Assign(TPersistent* Source)
{
    if (auto* o = dynamic_cast<TView3DOptions*>(Source)) {
        FElevation = o->FElevation;
        FFontZoom = o->FFontZoom;
        FHorizOffset = o->FHorizOffset;
        FOrthogonal = o->FOrthogonal;
        FOrthoAngle = o->FOrthoAngle;
        FPerspective = o->FPerspective;
        FRotation = o->FRotation;
        FTilt = o->FTilt;
        FVertOffset = o->FVertOffset;
        FZoom = o->FZoom;
        FZoomText = o->FZoomText;
        return;
    }
    TPersistent::Assign(Source);
}
