// Drawing and measuring markup text on a canvas.
#include "TeeHtml.h"

#include "graphics/Graphics.h"

#include <algorithm>
#include <filesystem>
#include <random>

namespace {

constexpr TColor RuleColor = 0x808080;

void ApplyMarkupFont(TFont& Target, const TMarkupFont& Font)
{
    Target.SetName(Font.Name);
    Target.SetSize(Font.Size);
    Target.SetColor(Font.Color);
    Target.SetStyle(TFontStyles::FromBits(Font.Style));   // same bits as the platform's font styles
}

TMarkupFont MarkupFontOf(const TFont& Font)
{
    TMarkupFont f;
    f.Name = Font.Name();
    f.Size = std::max(1, Font.Size());
    f.Color = Font.Color();
    f.Style = Font.Style().Bits() & (mfsBold | mfsItalic | mfsUnderline | mfsStrikeOut);
    return f;
}

// Measures with the canvas, switching its font only when the markup font changes.
class TCanvasMeasurer : public TMarkupMeasurer {
public:
    explicit TCanvasMeasurer(TCanvas* Canvas) : FCanvas(Canvas) {}

    void Select(const TMarkupFont& Font)
    {
        if (FSelected && FCurrent == Font)
            return;
        ApplyMarkupFont(*FCanvas->Font(), Font);
        FCurrent = Font;
        FSelected = true;
    }

    TMarkupSize TextExtent(const TMarkupFont& Font, const std::string& Text) override
    {
        Select(Font);
        const TSize s = FCanvas->TextExtent(Text);
        return {s.cx, s.cy};
    }

private:
    TCanvas* FCanvas;
    TMarkupFont FCurrent;
    bool FSelected = false;
};

// A picture of an image tag: a new picture of the source's kind, filled by the content
// loader. Null when there is no such kind, no loader, or nothing to load.
std::unique_ptr<TGraphic> LoadMarkupPicture(const std::string& Source)
{
    if (!GraphicForExtensionHook || !MarkupContentLoaderHook)
        return nullptr;
    std::unique_ptr<TGraphic> graphic = GraphicForExtensionHook(UpperCase(ExtractFileExt(Source)));
    if (!graphic)
        return nullptr;
    TMemoryStream stream;
    if (MarkupContentLoaderHook(Source, stream) != 0 || stream.Size() == 0)
        return nullptr;
    // Pictures read files; the loaded content passes through a private temporary file.
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path dir = fs::temp_directory_path(ec);
    if (ec)
        return nullptr;
    const fs::path file =
        dir / ("markup-picture-" + std::to_string(std::random_device{}()) + ExtractFileExt(Source));
    try {
        stream.SaveToFile(file.string());
        graphic->LoadFromFile(file.string());
    } catch (const Exception&) {
        graphic.reset();
    }
    fs::remove(file, ec);
    if (graphic && graphic->Empty())
        graphic.reset();
    return graphic;
}

void DrawPlaceholder(TCanvas* Canvas, const TMarkupBox& Box)
{
    TPen* pen = Canvas->Pen();
    pen->SetStyle(psSolid);
    pen->SetWidth(1);
    pen->SetColor(clRed);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(clWhite);
    const int r = Box.Left + Box.Width, b = Box.Top + Box.Height;
    Canvas->Rectangle(Box.Left, Box.Top, r, b);
    // Diagonals corner to corner inside the box (a line leaves out its last pixel).
    Canvas->MoveTo(Box.Left, Box.Top);
    Canvas->LineTo(r, b);
    Canvas->MoveTo(Box.Left, b - 1);
    Canvas->LineTo(r, Box.Top - 1);
}

} // namespace

TMarkupSize ProcessMarkupText(TCanvas* Canvas, int X, int Y, bool Draw, const std::string& Text,
                              const TRect& CenterBounds)
{
    TFont savedFont;
    savedFont.Assign(Canvas->Font());
    TPen savedPen;
    savedPen.Assign(Canvas->Pen());
    TBrush savedBrush;
    savedBrush.Assign(Canvas->Brush());
    const TTextAlign savedAlign = Canvas->TextAlign();
    const TPoint savedPenPos = Canvas->PenPos();

    struct TRestore {
        TCanvas* C;
        TFont& F;
        TPen& P;
        TBrush& B;
        TTextAlign A;
        TPoint Pos;
        ~TRestore()
        {
            C->Font()->Assign(&F);
            C->Pen()->Assign(&P);
            C->Brush()->Assign(&B);
            C->SetTextAlign(A);
            C->SetPenPos(Pos);
        }
    } restore{Canvas, savedFont, savedPen, savedBrush, savedAlign, savedPenPos};

    std::vector<TMarkupItem> items = ParseMarkupText(Text, MarkupFontOf(savedFont), false);

    // Pictures are loaded for measuring too: a size of 0 takes the picture's own.
    std::vector<std::unique_ptr<TGraphic>> pictures(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        TMarkupItem& item = items[i];
        if (item.Kind != TMarkupItemKind::Image)
            continue;
        pictures[i] = LoadMarkupPicture(item.Source);
        if (pictures[i]) {
            if (item.Width <= 0)
                item.Width = pictures[i]->Width();
            if (item.Height <= 0)
                item.Height = pictures[i]->Height();
        }
    }

    TCanvasMeasurer measurer(Canvas);
    const TMarkupLayout layout = LayoutMarkup(items, X, Y, measurer, CenterBounds.Left, CenterBounds.Right);
    if (!Draw)
        return layout.Size;

    Canvas->SetTextAlign(TA_LEFT | TA_TOP | TA_NOUPDATECP);
    for (const TMarkupBox& box : layout.Boxes) {
        const TMarkupItem& item = items[box.Item];
        switch (item.Kind) {
        case TMarkupItemKind::Text:
            measurer.Select(item.Font);
            Canvas->TextOut(box.Left, box.Top, item.Text);
            break;
        case TMarkupItemKind::Rule:
            Canvas->Pen()->SetStyle(psSolid);
            Canvas->Pen()->SetWidth(1);
            Canvas->Pen()->SetColor(RuleColor);
            Canvas->MoveTo(box.Left, box.Top);
            Canvas->LineTo(box.Left + box.Width, box.Top);
            break;
        case TMarkupItemKind::Image:
            if (TGraphic* g = pictures[box.Item].get()) {
                if (g->Width() == box.Width && g->Height() == box.Height)
                    Canvas->Draw(box.Left, box.Top, g);
                else
                    Canvas->StretchDraw(TRect(box.Left, box.Top, box.Left + box.Width, box.Top + box.Height), g);
            } else {
                DrawPlaceholder(Canvas, box);
            }
            break;
        case TMarkupItemKind::LineBreak:
            break;
        }
    }
    return layout.Size;
}

void DrawMarkupText(TCanvas* Canvas, int X, int Y, const std::string& Text, const TRect& CenterBounds)
{
    ProcessMarkupText(Canvas, X, Y, true, Text, CenterBounds);
}

void DrawMarkupText(TCanvas* Canvas, int X, int Y, const std::string& Text)
{
    ProcessMarkupText(Canvas, X, Y, true, Text, Canvas->ClipRect());
}

TMarkupSize MeasureMarkupText(TCanvas* Canvas, const std::string& Text, const TRect& CenterBounds)
{
    return ProcessMarkupText(Canvas, 0, 0, false, Text, CenterBounds);
}

TMarkupSize MeasureMarkupText(TCanvas* Canvas, const std::string& Text)
{
    return ProcessMarkupText(Canvas, 0, 0, false, Text, Canvas->ClipRect());
}
