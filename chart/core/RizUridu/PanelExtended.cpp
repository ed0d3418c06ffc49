#include "RizUridu/PanelExtended.h"
#include "classes/Streaming.h"
#include "system/ScopeGuard.h"

#include <cstdlib>

// ---- published properties ----------------------------------------------------------

BEGIN_CLASS_INFO(TCustomTeePanelExtended, TCustomTeePanel)
    .Enum("AllowPanning", &TCustomTeePanelExtended::AllowPanning, &TCustomTeePanelExtended::SetAllowPanning,
          {"pmNone", "pmHorizontal", "pmVertical", "pmBoth"}).Default(pmBoth)
    .Object("BackImage", &TCustomTeePanelExtended::BackImage)
    .Bool("BackImageInside", &TCustomTeePanelExtended::BackImageInside, &TCustomTeePanelExtended::SetBackImageInside)
        .Default(false)
    .Enum("BackImageMode", &TCustomTeePanelExtended::BackImageMode, &TCustomTeePanelExtended::SetBackImageMode,
          {"pbmStretch", "pbmTile", "pbmCenter", "pbmCustom"}).Default(pbmStretch)
    .Bool("BackImageTransp", &TCustomTeePanelExtended::BackImageTransp, &TCustomTeePanelExtended::SetBackImageTransp)
        .Default(false)
    .Object("Gradient", &TCustomTeePanelExtended::Gradient)
    .Object("Zoom", &TCustomTeePanelExtended::Zoom)
    .Event("OnAfterDraw")
    .Event("OnScroll")
    .Event("OnUndoZoom")
    .Event("OnZoom")
END_CLASS_INFO

void TCustomTeePanelExtended::DefineProperties(TFiler* Filer)
{
    TCustomTeePanel::DefineProperties(Filer);
    Filer->DefineProperty(
        "AllowZoom", [this](TReader* Reader) { FZoom->SetAllow(Reader->ReadBoolean()); }, nullptr, false);
    Filer->DefineProperty(
        "AnimatedZoom", [this](TReader* Reader) { FZoom->SetAnimated(Reader->ReadBoolean()); }, nullptr, false);
    Filer->DefineProperty(
        "AnimatedZoomSteps", [this](TReader* Reader) { FZoom->SetAnimatedSteps(Reader->ReadInteger()); }, nullptr,
        false);
}

// ---- TBackImage -------------------------------------------------------------------------

TBackImage::TBackImage(TCustomTeePanelExtended* Owner) : FOwner(Owner)
{
    OnChange = [this](TObject*) { RepaintOwner(); };
}

void TBackImage::RepaintOwner()
{
    if (FOwner != nullptr)
        FOwner->RequestRepaint();
}

void TBackImage::SetInside(bool v)
{
    SetAndNotify(FInside, v, [this] { RepaintOwner(); });
}

void TBackImage::SetMode(TTeeBackImageMode v)
{
    SetAndNotify(FMode, v, [this] { RepaintOwner(); });
}

void TBackImage::SetLeft(int v)
{
    SetAndNotify(FLeft, v, [this] { RepaintOwner(); });
}

void TBackImage::SetTop(int v)
{
    SetAndNotify(FTop, v, [this] { RepaintOwner(); });
}

// By field: the placement has no table of its own; the panel publishes it.
void TBackImage::Assign(TPersistent* Source)
{
    TPicture::Assign(Source);
    if (auto* b = dynamic_cast<TBackImage*>(Source)) {
        FInside = b->FInside;
        FMode = b->FMode;
        FLeft = b->FLeft;
        FTop = b->FTop;
        RepaintOwner();
    }
}

// ---- TCustomTeePanelExtended --------------------------------------------------------------

TCustomTeePanelExtended::TCustomTeePanelExtended(TComponent* AOwner)
    : TCustomTeePanel(AOwner), FZoom(std::make_unique<TTeeZoom>())
{
}

TCustomTeePanelExtended::~TCustomTeePanelExtended() = default;

TTeeGradient* TCustomTeePanelExtended::Gradient()
{
    if (!FGradient)
        FGradient = std::make_unique<TTeeGradient>(RepaintHandler());
    return FGradient.get();
}

void TCustomTeePanelExtended::SetGradient(TCustomTeeGradient* v)
{
    if (v == nullptr) {
        if (FGradient) {
            FGradient.reset();
            RequestRepaint();
        }
        return;
    }
    Gradient()->Assign(v);
}

void TCustomTeePanelExtended::SetZoom(TTeeZoom* v)
{
    FZoom->Assign(v);
}

TBackImage* TCustomTeePanelExtended::BackImage()
{
    if (!FBackImage)
        FBackImage = std::make_unique<TBackImage>(this);
    return FBackImage.get();
}

void TCustomTeePanelExtended::SetBackImage(TPicture* v)
{
    BackImage()->Assign(v);
}

bool TCustomTeePanelExtended::BackImageTransp() const
{
    return FBackImage && FBackImage->Graphic() != nullptr && FBackImage->Graphic()->Transparent();
}

void TCustomTeePanelExtended::SetBackImageTransp(bool v)
{
    if (FBackImage && FBackImage->Graphic() != nullptr) {
        FBackImage->Graphic()->SetTransparent(v);
        RequestRepaint();
    }
}

void TCustomTeePanelExtended::FillBackground(const TRect& Rect)
{
    TTeeCanvas3D* s = Canvas();
    if (FGradient && FGradient->Visible()) {
        FGradient->Draw(s, Rect);
    } else if ((!Printing() || PrintTeePanel) && Color() != clNone) {
        TCanvas* c = s->ReferenceCanvas();
        if (c == nullptr)
            return;
        c->Brush()->SetBitmap(nullptr);
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(s->GetMonochrome() ? clWhite : Color());
        s->FillRect(Rect);
    }
}

void TCustomTeePanelExtended::DrawBackground(const TRect& Rect)
{
    TTeeCanvas3D* s = Canvas();
    s->BeginNested();
    auto nested = TScopeGuard([s] { s->EndNested(); });
    TRect r = Rect;
    TTeeShadow* shadow = Shadow();
    // A shadow as wide or as high as the panel would leave the panel no room at all:
    // the panel then keeps its whole rectangle and casts none.
    const bool shadowFits =
        std::abs(shadow->HorizSize()) < Rect.Width() && std::abs(shadow->VertSize()) < Rect.Height();
    if (shadowFits && (shadow->HorizSize() != 0 || shadow->VertSize() != 0)) {
        // The corner the shadow falls into shows what lies behind the panel.
        TColor behind = Color();
        if (auto* parent = dynamic_cast<TCustomControl*>(Parent()))
            behind = parent->Color();
        else if (Parent() != nullptr)
            behind = clBtnFace;
        if (TCanvas* c = s->ReferenceCanvas(); c != nullptr && behind != clNone) {
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(behind);
            s->FillRect(r);
        }
        const int hs = shadow->HorizSize(), vs = shadow->VertSize();
        if (hs > 0)
            r.Right -= hs;
        else
            r.Left -= hs;
        if (vs > 0)
            r.Bottom -= vs;
        else
            r.Top -= vs;
        shadow->DrawShadow(s, r, 0);
    }
    FillBackground(r);
    if (FBackImage && !FBackImage->Inside())
        DrawBackImage(r, 0);
    DrawPanelBevels(r);
}

void TCustomTeePanelExtended::DrawBackImage(const TRect& Rect, int Z)
{
    if (!FBackImage || FBackImage->Empty())
        return;
    TGraphic* g = FBackImage->Graphic();
    const int gw = g->Width(), gh = g->Height();
    if (gw < 1 || gh < 1)
        return;
    TTeeCanvas3D* s = Canvas();
    // In 2D the projection changes nothing, so it counts as an orthogonal view.
    const bool orthogonal = !s->Is3D() || s->IsOrthogonal();
    if (FBackImage->Mode() == pbmStretch) {
        if (Z < 1) {
            s->StretchGraphic(Rect, g);
        } else if (!orthogonal) {
            DrawGraphicAtDepth(s, Rect, g, Z);
        } else {
            TRect r = ProjectRect3D(s, Rect, Z);
            if (!s->Is3D())
                r.Right += 1;
            s->StretchGraphic(r, g);
        }
        return;
    }
    const bool clip = ClippingAllowed();
    if (clip) {
        if (Z == 0) {
            s->ClipToRect(Rect);
        } else {
            const auto corners = ProjectRectCorners3D(s, Rect, Z);
            s->ClipToPolygon(corners.data(), 4);
        }
    }
    auto clipping = TScopeGuard([s, clip] {
        if (clip)
            s->RemoveClipping();
    });
    const TRect r = Z > 0 && orthogonal ? ProjectRect3D(s, Rect, Z) : Rect;
    switch (FBackImage->Mode()) {
    case pbmTile:
        for (int y = r.Top; y < r.Bottom; y += gh)
            for (int x = r.Left; x < r.Right; x += gw) {
                if (Z > 0 && !orthogonal)
                    DrawGraphicAtDepth(s, TRect(x, y, x + gw, y + gh), g, Z);
                else
                    s->DrawGraphic(x, y, g);
            }
        break;
    case pbmCenter:
        FillBackground(r);
        s->DrawGraphic(r.Left + (r.Width() - gw) / 2, r.Top + (r.Height() - gh) / 2, g);
        break;
    case pbmCustom:
        FillBackground(r);
        s->DrawGraphic(r.Left + FBackImage->Left(), r.Top + FBackImage->Top(), g);
        break;
    case pbmStretch:
        break;
    }
}

void TCustomTeePanelExtended::UndoZoom()
{
    if (OnUndoZoom)
        OnUndoZoom(this);
    RequestRepaint();
    FZoomed = false;
}

// By hand: the back image is made on first use and is copied with its own settings.
void TCustomTeePanelExtended::Assign(TPersistent* Source)
{
    if (auto* p = dynamic_cast<TCustomTeePanelExtended*>(Source)) {
        if (p->FBackImage)
            BackImage()->Assign(p->FBackImage.get());
        else if (FBackImage)
            FBackImage->Assign(nullptr);
        SetGradient(p->FGradient.get());
        FAllowPanning = p->FAllowPanning;
        FZoom->Assign(p->FZoom.get());
    }
    TCustomTeePanel::Assign(Source);
}
