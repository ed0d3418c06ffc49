#include "StyleEditors.h"

#include "TeeConst.h"

#include "controls/CommonDialogs.h"
#include "graphics/Bitmap.h"
#include "system/ScopeGuard.h"

#include <cstdint>

// ---- TTeeShadowEditor -------------------------------------------------------------------

TTeeShadowEditor::TTeeShadowEditor(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "TeeShadowEditor");
    SetCaption("Shadow editor");
    BuildForm(this, 160, 150, {
        Ctl(BShadowColor, "BShadowColor", "&Color..."),
        Row("&Horiz. Size:", {UpDownEdit(Edit1, "Edit1", UDShadowSize, "UDShadowSize", -1000, 1000)}),
        Row("&Vert. Size:", {UpDownEdit(EVertSize, "EVertSize", UDShaVert, "UDShaVert", -1000, 1000)}),
        Row("&Transparency:", {UpDownEdit(EShadowTransp, "EShadowTransp", UDShadowTransp, "UDShadowTransp", 0, 100)}),
        Ctl(CBSmooth, "CBSmooth", "&Smooth"),
        Buttons({Ctl(BOK, "BOK", "OK")}),
    });
    UDShadowSize->SetPosition(0);
    UDShaVert->SetPosition(0);
    BOK->SetModalResult(mrOk);
    BOK->SetDefault(true);
    Edit1->OnChange = [this](TObject* s) { SizeChange(s); };
    EVertSize->OnChange = [this](TObject* s) { SizeChange(s); };
    EShadowTransp->OnChange = [this](TObject* s) { SizeChange(s); };
    CBSmooth->OnClick = [this](TObject* s) { CBSmoothClick(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    DoCreate();
}

void TTeeShadowEditor::FormShow(TObject*)
{
    if (FShadow != nullptr)
        LoadShadowControls(this, FShadow);
    CallFormShowHook(this);
    FLoading = false;
}

void TTeeShadowEditor::SizeChange(TObject* Sender)
{
    if (FLoading || FShadow == nullptr)
        return;
    if (Sender == Edit1)
        FShadow->SetHorizSize(UDShadowSize->Position());
    else if (Sender == EVertSize)
        FShadow->SetVertSize(UDShaVert->Position());
    else
        FShadow->SetTransparency(UDShadowTransp->Position());
}

void TTeeShadowEditor::CBSmoothClick(TObject*)
{
    if (!FLoading && FShadow != nullptr)
        FShadow->SetSmooth(CBSmooth->Checked());
}

void LoadShadowControls(TTeeShadowEditor* Editor, TTeeShadow* Shadow)
{
    auto loading = RestoreOnExit(Editor->FLoading);
    Editor->FLoading = true;
    Editor->FShadow = Shadow;
    Editor->UDShadowSize->SetPosition(Shadow->HorizSize());
    Editor->UDShaVert->SetPosition(Shadow->VertSize());
    Editor->UDShadowTransp->SetPosition(Shadow->Transparency());
    Editor->CBSmooth->SetChecked(Shadow->Smooth());
    Editor->BShadowColor->LinkProperty(Shadow, "Color");
}

bool ShowShadowEditor(TComponent* AOwner, TTeeShadow* Shadow)
{
    std::unique_ptr<TTeeShadowEditor> editor(CreateDialogForm<TTeeShadowEditor>(AOwner));
    editor->SetShadow(Shadow);
    // The OK button answers OK; the close box, having no Cancel, answers the same as
    // the changes already made stay.
    return editor->ShowModal() == mrOk;
}

TTeeShadowEditor* EmbedShadowEditor(TWinControl* Parent)
{
    auto* editor = new TTeeShadowEditor(Parent->Owner());
    editor->BOK->Hide();
    EmbedFormInPanel(editor, Parent);
    return editor;
}

// ---- TBrushDialog -----------------------------------------------------------------------

namespace {

const char* const BrushItems[27] = {
    "Solid", "None", "Horizontal", "Vertical", "Diagonal", "Back Diagonal", "Cross", "Diagonal Cross",
    "Fill 80%", "Fill 60%", "Fill 40%", "Fill 20%", "Fill 10%", "Zig zag", "Vertical small", "Horiz. small",
    "Diag. small", "Back Diag. small", "Cross small", "Diag. Cross small",
    "Metal", "Wood", "Stone", "Clouds", "Grass", "Fire", "Snow"};

// Whether pixel (x, y) of the 8 x 8 pattern k is drawn (black).
bool PatternPixel(int k, int x, int y)
{
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    static const int fill[5] = {80, 60, 40, 20, 10};
    switch (k) {
    case 0: case 1: case 2: case 3: case 4:
        return bayer[y % 4][x % 4] * 100 < fill[k] * 16;
    case 5: return y % 4 == (x % 8 < 4 ? x % 4 : 3 - x % 4);
    case 6: return x % 2 == 0;
    case 7: return y % 2 == 0;
    case 8: return (x + y) % 4 == 0;
    case 9: return (x - y + 8) % 4 == 0;
    case 10: return x % 4 == 0 || y % 4 == 0;
    default: return (x + y) % 4 == 0 || (x - y + 8) % 4 == 0;
    }
}

// A texture of 32 x 32 pixels: a base colour varied by a fixed pseudo-random grain and,
// for wood and metal, by stripes.
void PaintTexture(TBitmap& Bitmap, int Kind)
{
    static const TColor base[7] = {0xA0A0A0, 0x2A5A9A, 0x7A8080, 0xE0B070, 0x30A040, 0x1060E0, 0xF8F0F0};
    uint32_t seed = 12345u + uint32_t(Kind) * 7919u;
    for (int y = 0; y < Bitmap.Height(); ++y) {
        TRGBQuad* row = Bitmap.ScanLine(y);
        for (int x = 0; x < Bitmap.Width(); ++x) {
            seed = seed * 1103515245u + 12345u;
            int grain = int((seed >> 16) % 41) - 20;
            if (Kind == 0)
                grain += (y % 8) * 6 - 20;
            else if (Kind == 1)
                grain += ((x + (y / 4) * 3) % 10) * 5 - 25;
            else if (Kind == 5)
                grain += (31 - y) * 3 - 45;
            const TColor c = base[Kind];
            auto channel = [grain](int v) { return uint8_t(std::clamp(v + grain, 0, 255)); };
            row[x].rgbRed = channel(c & 0xFF);
            row[x].rgbGreen = channel((c >> 8) & 0xFF);
            row[x].rgbBlue = channel((c >> 16) & 0xFF);
        }
    }
}

} // namespace

std::unique_ptr<TBitmap> BrushPatternBitmap(int Index)
{
    const int k = Index - 8;
    if (k < 0 || k > 18)
        return nullptr;
    if (k >= 12) {
        auto bitmap = std::make_unique<TBitmap>(32, 32);
        PaintTexture(*bitmap, k - 12);
        return bitmap;
    }
    auto bitmap = std::make_unique<TBitmap>(8, 8);
    for (int y = 0; y < 8; ++y) {
        TRGBQuad* row = bitmap->ScanLine(y);
        for (int x = 0; x < 8; ++x) {
            const uint8_t v = PatternPixel(k, x, y) ? 0 : 255;
            row[x].rgbRed = row[x].rgbGreen = row[x].rgbBlue = v;
        }
    }
    bitmap->SetTransparentMode(tmFixed);
    bitmap->SetTransparentColor(clWhite);
    return bitmap;
}

TBrushDialog::TBrushDialog(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "BrushDialog");
    SetCaption("Pattern Color Editor");
    BuildForm(this, 280, 260, {
        Columns({
            Column({Ctl(LStyle, "LStyle")}),
            Column({Ctl(BColor, "BColor", "&Color..."), Ctl(Button1, "Button1", "&Image..."), Ctl(Image1, "Image1"),
                    Stretch(), Ctl(Button2, "Button2", "OK"), Ctl(Button3, "Button3", "Cancel")}),
        }),
    });
    for (const char* item : BrushItems)
        LStyle->Items()->Add(item);
    LStyle->SetStyle(lbOwnerDrawFixed);
    LStyle->SetItemHeight(18);
    LStyle->OnDrawItem = [this](TWinControl*, int Index, const TRect& Rect, TOwnerDrawState) { LStyleDrawItem(Index, Rect); };
    SetMinimumSize(Image1, 64, 64);
    Image1->SetStretch(true);
    Button2->SetModalResult(mrOk);
    Button2->SetDefault(true);
    Button3->SetCancel(true);
    LStyle->OnClick = [this](TObject* s) { LStyleClick(s); };
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    DoCreate();
}

TBrushDialog::~TBrushDialog() = default;

void TBrushDialog::FormShow(TObject*)
{
    if (FBrush == nullptr)
        return;
    FBackup = std::make_unique<TChartBrush>();
    FBackup->Assign(FBrush);
    LStyle->SetItemIndex(FBrush->HasImage() && !FBrush->Image()->Empty() ? -1 : int(FBrush->Style()));
    BColor->LinkProperty(FBrush, "Color");
    UpdateImage();
    EnableColor();
    CallFormShowHook(this);
}

void TBrushDialog::EnableColor()
{
    BColor->SetEnabled(FBrush != nullptr && FBrush->Style() != bsClear);
}

void TBrushDialog::UpdateImage()
{
    const bool hasImage = FBrush != nullptr && FBrush->HasImage() && !FBrush->Image()->Empty();
    Button1->SetTag(hasImage ? 1 : 0);
    Button1->SetCaption(hasImage ? "Clea&r" : "B&rowse...");
    if (hasImage)
        Image1->Picture()->Assign(FBrush->Image());
    else
        Image1->Picture()->SetGraphic(nullptr);
}

void TBrushDialog::LStyleDrawItem(int Index, const TRect& Rect)
{
    TCanvas* c = LStyle->Canvas();
    c->FillRect(Rect);
    // A sample square of the style (the pattern stretched for pictures), except for "None".
    if (Index != int(bsClear)) {
        const TRect sample(Rect.Left + 2, Rect.Top + 2, Rect.Left + 16, Rect.Bottom - 2);
        const TColor text = c->Font()->Color();
        c->Brush()->SetColor(clWhite);
        c->FillRect(sample);
        c->SetBkMode(TRANSPARENT);
        c->Font()->SetColor(clBlack);
        if (Index < 8) {
            c->Brush()->SetStyle(static_cast<TBrushStyle>(Index));
            c->Brush()->SetColor(clBlack);
            c->Pen()->SetColor(clBlack);
            c->Rectangle(sample.Left, sample.Top, sample.Right, sample.Bottom);
        } else if (std::unique_ptr<TBitmap> pattern = BrushPatternBitmap(Index)) {
            c->StretchDraw(sample, pattern.get());
        }
        c->Font()->SetColor(text);
    }
    c->Brush()->SetStyle(bsClear);
    c->TextOut(Rect.Left + 20, Rect.Top + 1, LStyle->Items()->Get(Index));
}

void TBrushDialog::LStyleClick(TObject*)
{
    const int item = LStyle->ItemIndex();
    if (FBrush == nullptr || item < 0)
        return;
    if (item < 8) {
        FBrush->SetStyle(static_cast<TBrushStyle>(item));
        FBrush->SetImage(nullptr);
    } else {
        std::unique_ptr<TBitmap> bitmap = BrushPatternBitmap(item);
        TPicture picture;
        picture.SetGraphic(bitmap.get());
        FBrush->SetImage(&picture);
    }
    UpdateImage();
    EnableColor();
}

void TBrushDialog::Button1Click(TObject*)
{
    if (FBrush == nullptr)
        return;
    LStyle->SetItemIndex(FBrush->HasImage() && !FBrush->Image()->Empty() ? -1 : int(FBrush->Style()));
    if (Button1->Tag() == 1) {
        FBrush->SetImage(nullptr);
        LStyle->SetItemIndex(int(FBrush->Style()));
    } else {
        TOpenDialog dialog(nullptr);
        dialog.SetFilter("Pictures (*.bmp;*.png;*.jpg;*.emf;*.wmf)|*.bmp;*.png;*.jpg;*.emf;*.wmf");
        if (!dialog.Execute())
            return;
        // Read aside first, so that a picture that cannot be read leaves the brush as it was.
        TPicture picture;
        picture.LoadFromFile(dialog.FileName());
        if (dynamic_cast<TBitmap*>(picture.Graphic()) == nullptr && picture.Graphic() != nullptr) {
            TBitmap bitmap(picture.Width(), picture.Height());
            picture.Graphic()->Draw(*bitmap.Canvas(), TRect(0, 0, picture.Width(), picture.Height()));
            picture.SetGraphic(&bitmap);
        }
        FBrush->SetImage(&picture);
    }
    UpdateImage();
    EnableColor();
}

void TBrushDialog::RestoreBrush()
{
    if (FBrush != nullptr && FBackup)
        FBrush->Assign(FBackup.get());
}

void TBrushDialog::Button3Click(TObject*)
{
    RestoreBrush();
    SetModalResult(mrCancel);
}

bool ShowBrushEditor(TComponent* AOwner, TChartBrush* Brush)
{
    std::unique_ptr<TBrushDialog> dialog(CreateDialogForm<TBrushDialog>(AOwner));
    dialog->SetBrush(Brush);
    if (dialog->ShowModal() == mrOk)
        return true;
    dialog->RestoreBrush();
    return false;
}

// ---- TTeeFontEditor ---------------------------------------------------------------------

TTeeFontEditor::TTeeFontEditor(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "TeeFontEditor");
    SetCaption("TeeFont Editor");
    BuildForm(this, 230, 130, {
        Line({Ctl(SHText, "SHText"), Ctl(Button3, "Button3", "&Font..."), Stretch()}),
        Row("&Inter-char spacing:", {UpDownEdit(Edit2, "Edit2", UDInter, "UDInter", -100, 100)}),
        Line({Ctl(BOutline, "BOutline", "&Outline..."), Ctl(BShadow, "BShadow", "&Shadow...")}),
        Line({Ctl(BGradient, "BGradient", "&Gradient..."), Ctl(CBOutGrad, "CBOutGrad", "O&utline gradient")}),
    });
    UDInter->SetPosition(0);
    SetMinimumSize(SHText, 24, 24);
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    SHText->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { SHTextClick(); };
    Edit2->OnChange = [this](TObject* s) { Edit2Change(s); };
    BShadow->OnClick = [this](TObject* s) { BShadowClick(s); };
    CBOutGrad->OnClick = [this](TObject* s) { CBOutGradClick(s); };
    OnShow = [this](TObject*) {
        FLoading = false;
        CallFormShowHook(this);
    };
    DoCreate();
}

void TTeeFontEditor::Button3Click(TObject*)
{
    if (FFont != nullptr && ShowFontDialog(this, FFont))
        SHText->SetBrushColor(FFont->Color());
}

void TTeeFontEditor::SHTextClick()
{
    if (FFont == nullptr)
        return;
    const TColor c = EditColor(this, FFont->Color());
    FFont->SetColor(c);
    SHText->SetBrushColor(c);
}

void TTeeFontEditor::Edit2Change(TObject*)
{
    if (!FLoading && FFont != nullptr)
        FFont->SetInterCharSize(UDInter->Position());
}

void TTeeFontEditor::BShadowClick(TObject*)
{
    if (FFont != nullptr)
        ShowShadowEditor(this, FFont->Shadow());
}

void TTeeFontEditor::CBOutGradClick(TObject*)
{
    if (!FLoading && FFont != nullptr)
        FFont->Gradient()->SetOutline(CBOutGrad->Checked());
}

bool ShowFontDialog(TComponent* AOwner, TFont* Font)
{
    TFontDialog dialog(AOwner);
    dialog.Font()->Assign(Font);
    if (!dialog.Execute())
        return false;
    Font->Assign(dialog.Font());
    return true;
}

TTeeFontEditor* EmbedFontEditor(TWinControl* Parent)
{
    auto* editor = new TTeeFontEditor(Parent->Owner());
    EmbedFormInPanel(editor, Parent);
    return editor;
}

void LoadFontControls(TTeeFontEditor* Editor, TTeeFont* Font)
{
    auto loading = RestoreOnExit(Editor->FLoading);
    Editor->FLoading = true;
    Editor->FFont = Font;
    Editor->SHText->SetBrushColor(Font->Color());
    Editor->UDInter->SetPosition(Font->InterCharSize());
    AttachPen(Editor->BOutline, Font->OutLine());
    Editor->CBOutGrad->SetChecked(Font->Gradient()->Outline());
    AttachGradient(Editor->BGradient, Font->Gradient());
}

// ---- TFormTeeShape ----------------------------------------------------------------------

TFormTeeShape::TFormTeeShape(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "FormTeeShape");
    SetCaption("Shape");
    BuildForm(this, 300, 240, {
        Pages(PC1, "PC1", {
            Page(TabFormat, "TabFormat", "Format", {
                Columns({
                    Column({Ctl(BBackColor, "BBackColor", "&Color..."), Ctl(Button4, "Button4", "&Frame..."),
                            Ctl(Button6, "Button6", "&Pattern..."), Stretch()}),
                    Column({Ctl(CBRound, "CBRound", "&Round Frame"), Ctl(CBTransparent, "CBTransparent", "&Transparent"),
                            Row(LBevel, "LBevel", "&Bevel:", {Combo(CBBevel, "CBBevel", {"None", "Lowered", "Raised"})}),
                            Row("Siz&e:", {UpDownEdit(EBevWidth, "EBevWidth", UDBevW, "UDBevW", 1, 100)}),
                            Row("&Transparency:", {UpDownEdit(EShadowTransp, "EShadowTransp", UDShadowTransp, "UDShadowTransp", 0, 100)}),
                            Stretch()}),
                }),
            }),
            Page(TabText, "TabText", "Text", {}),
            Page(TabGradient, "TabGradient", "Gradient", {}),
            Page(TabShadow, "TabShadow", "Shadow", {}),
        }),
    });
    FGradientEditor = CreateEmbeddedGradientEditor(this, nullptr);
    EmbedFormInPanel(FGradientEditor, TabGradient);
    FFontEditor = EmbedFontEditor(TabText);
    FShadowEditor = EmbedShadowEditor(TabShadow);
    PC1->SetActivePage(TabFormat);

    BBackColor->OnClick = [this](TObject* s) { BColorClick(s); };
    // The dialog belongs to the window showing the button: embedded, this form stays
    // hidden while its pages sit in the host's page control.
    Button6->OnClick = [this](TObject*) {
        if (FShape != nullptr)
            ShowBrushEditor(Button6, FShape->Brush());
    };
    CBRound->OnClick = [this](TObject*) {
        if (!FLoading && FShape != nullptr)
            FShape->SetShapeStyle(CBRound->Checked() ? fosRoundRectangle : fosRectangle);
    };
    CBTransparent->OnClick = [this](TObject*) {
        if (!FLoading && FShape != nullptr)
            FShape->SetTransparent(CBTransparent->Checked());
    };
    CBBevel->OnChange = [this](TObject*) {
        if (FLoading || FShape == nullptr || CBBevel->ItemIndex() < 0)
            return;
        FShape->SetBevel(static_cast<TBevelCut>(CBBevel->ItemIndex()));
        EnableBevelWidth();
    };
    EBevWidth->OnChange = [this](TObject*) {
        if (!FLoading && FShape != nullptr)
            FShape->SetBevelWidth(UDBevW->Position());
    };
    EShadowTransp->OnChange = [this](TObject*) {
        if (!FLoading && FShape != nullptr)
            FShape->SetTransparency(UDShadowTransp->Position());
    };
    OnShow = [this](TObject* s) { FormShow(s); };
    DoCreate();
}

void TFormTeeShape::EnableBevelWidth()
{
    const bool on = FShape != nullptr && FShape->Bevel() != bvNone;
    EBevWidth->SetEnabled(on);
    UDBevW->SetEnabled(on);
}

void TFormTeeShape::FormShow(TObject*)
{
    PC1->SetActivePage(TabFormat);
    if (FShape != nullptr)
        LoadShapeControls(this, FShape);
    CallFormShowHook(this);
    FLoading = false;
}

void TFormTeeShape::BColorClick(TObject*)
{
    CBTransparent->SetChecked(false);
}

void TFormTeeShape::CBVisibleChecked(TObject* Sender)
{
    if (auto* box = dynamic_cast<TCheckBox*>(Sender); box != nullptr && FShape != nullptr)
        FShape->SetVisible(box->Checked());
}

void LoadShapeControls(TFormTeeShape* Editor, TTeeCustomShape* Shape)
{
    // Loaded, the controls edit the shape: an embedded editor is never shown, so its
    // loading ends here and not in FormShow.
    TScopeGuard loaded([Editor] { Editor->FLoading = false; });
    Editor->FLoading = true;
    Editor->FShape = Shape;
    Editor->CBRound->SetChecked(Shape->ShapeStyle() == fosRoundRectangle);
    Editor->CBTransparent->SetChecked(Shape->Transparent());
    Editor->CBBevel->SetItemIndex(Shape->Bevel() == bvLowered ? 1 : Shape->Bevel() == bvRaised ? 2 : 0);
    Editor->UDBevW->SetPosition(Shape->BevelWidth());
    Editor->UDShadowTransp->SetPosition(Shape->Transparency());
    Editor->FGradientEditor->SetGradient(Shape->Gradient());
    LoadFontControls(Editor->FFontEditor, Shape->Font());
    LoadShadowControls(Editor->FShadowEditor, Shape->Shadow());
    AttachPen(Editor->Button4, Shape->Pen());
    Editor->BBackColor->LinkProperty(Shape, "Color");
    Editor->EnableBevelWidth();
}

TFormTeeShape* CreateShapeEditor(TComponent* AOwner, TTeeCustomShape* Shape, TWinControl* Parent)
{
    auto* editor = new TFormTeeShape(AOwner);
    editor->SetShape(Shape);
    if (Parent != nullptr) {
        SetFormBorderStyle(editor, bsNone);
        EmbedFormInPanel(editor, Parent);
        CallFormShowHook(editor);
    }
    return editor;
}

TFormTeeShape* EmbedShapeEditor(TPageControl* Pages, TTeeCustomShape* Shape)
{
    TFormTeeShape* editor = CreateShapeEditor(Pages->Owner(), Shape, nullptr);
    editor->Hide();
    for (TTabSheet* page : {editor->TabFormat, editor->TabText, editor->TabGradient, editor->TabShadow})
        page->SetPageControl(Pages);
    if (Pages->PageCount() > 0)
        Pages->SetActivePage(editor->TabFormat);
    LoadShapeControls(editor, Shape);
    CallFormShowHook(editor);
    return editor;
}

// ---- unit start-up ----------------------------------------------------------------------

void StyleEditorsInitialization()
{
    RegisterFormClass<TTeeGradientEditor>("TTeeGradientEditor");
    RegisterFormClass<TTeeShadowEditor>("TTeeShadowEditor");
    RegisterFormClass<TBrushDialog>("TBrushDialog");
    RegisterFormClass<TTeeFontEditor>("TTeeFontEditor");
    RegisterFormClass<TFormTeeShape>("TFormTeeShape");
}

void StyleEditorsFinalization()
{
    for (const char* name : {"TTeeGradientEditor", "TTeeShadowEditor", "TBrushDialog", "TTeeFontEditor", "TFormTeeShape"})
        UnregisterFormClass(name);
}
