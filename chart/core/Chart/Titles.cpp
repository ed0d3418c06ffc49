#include "Chart/Titles.h"

#include "graphics/GdiConsts.h"

#include <algorithm>


// ---- published properties ----------------------------------------------------------

BEGIN_CLASS_INFO(TChartTitle, TTeeCustomShapePosition)
    .Bool("AdjustFrame", &TChartTitle::AdjustFrame, &TChartTitle::SetAdjustFrame).Default(true)
    .Enum("Alignment", &TChartTitle::Alignment, &TChartTitle::SetAlignment,
          {"taLeftJustify", "taRightJustify", "taCenter"}).Default(taCenter)
    .Object("Frame", &TTeeCustomShapeBrushPen::Pen)
    .Object("Text", &TChartTitle::Text)
END_CLASS_INFO

TChartTitle::TChartTitle(TCustomTeePanel* Chart) : TTeeCustomShapePosition(Chart), FText(std::make_unique<TStringList>())
{
    SetDefaultTransparent(true);
    Font()->SetColor(clBlue);
    Font()->DefaultColor = clBlue;
    FText->OnChange = [this](TObject*) { Repaint(); };
}

TChartTitle::~TChartTitle()
{
    FText->OnChange = nullptr;
}

void TChartTitle::SetAdjustFrame(bool v)
{
    SetAndNotify(FAdjustFrame, v, [this] { Repaint(); });
}

void TChartTitle::SetAlignment(TAlignment v)
{
    SetAndNotify(FAlignment, v, [this] { Repaint(); });
}

void TChartTitle::SetText(TStrings* v)
{
    FText->Assign(v);
}

bool TChartTitle::Clicked(int X, int Y) const
{
    return Visible() && X >= ShapeBounds.Left && X <= ShapeBounds.Right && Y >= ShapeBounds.Top &&
           Y <= ShapeBounds.Bottom;
}

void TChartTitle::Draw()
{
    TCustomTeePanel* chart = ParentChart();
    const int lines = FText->Count();
    if (chart == nullptr || !Visible() || lines == 0)
        return;
    TTeeCanvas3D* c = chart->Canvas();

    int frame = Pen()->Visible() && Pen()->Color() != clDefault ? Pen()->Width() : 0;
    if (Bevel() != bvNone)
        frame = BevelWidth();
    const bool custom = CustomPosition();
    if (!custom) {
        ShapeBounds = chart->ChartRect;
        if (FAtTop)
            ShapeBounds.Top += frame;
    }
    c->ApplyFont(Font());
    const int lineHeight = c->TextHeight("W");
    const int textHeight = lines * lineHeight;
    if (FAtTop || custom)
        ShapeBounds.Bottom = ShapeBounds.Top + textHeight;
    else
        ShapeBounds.Top = ShapeBounds.Bottom - textHeight;
    if (!custom)
        InflateRect(ShapeBounds, frame, frame);

    const int wWidth = c->TextWidth("W");
    if (FAdjustFrame) {
        // Markup is as wide as it shows, not as its tagged source.
        int widest = 0;
        if (TextFormat() == ttfHtml)
            widest = MeasureMarkupText(c, FText->Text(), chart->ChartRect).Width;
        else
            for (int t = 0; t < lines; ++t)
                widest = std::max(widest, c->TextWidth(FText->Strings(t)));
        const int total = widest + wWidth + frame;
        // A title the user placed starts at its Left, whatever the alignment of its lines:
        // its right edge is left over from an earlier placement.
        if (custom)
            ShapeBounds.Right = ShapeBounds.Left + total;
        switch (FAlignment) {
        case taLeftJustify:
            ShapeBounds.Right = ShapeBounds.Left + total;
            break;
        case taRightJustify:
            ShapeBounds.Left = ShapeBounds.Right - total;
            break;
        case taCenter: {
            const int mid = (ShapeBounds.Left + ShapeBounds.Right) / 2;
            ShapeBounds.Left = mid - total / 2;
            ShapeBounds.Right = mid + total / 2;
            break;
        }
        }
    }

    DrawRectRotated(ShapeBounds);
    c->ApplyFont(Font());
    c->SetBackMode(TRANSPARENT);

    if (TextFormat() == ttfHtml) {
        c->SetTextAlign(TA_LEFT | TA_TOP);
        DrawMarkupText(c, ShapeBounds.Left + wWidth / 2, ShapeBounds.Top, FText->Text(), chart->ChartRect);
    } else {
        c->SetTextAlign(TA_LEFT | TA_TOP);
        for (int t = 0; t < lines; ++t) {
            const std::string line = FText->Strings(t);
            const int y = FAtTop || custom ? ShapeBounds.Top + t * lineHeight
                                           : ShapeBounds.Bottom - (lines - t) * lineHeight;
            const int w = c->TextWidth(line);
            int x;
            switch (FAlignment) {
            case taLeftJustify:
                x = ShapeBounds.Left + wWidth / 2;
                break;
            case taRightJustify:
                x = ShapeBounds.Right - w - wWidth / 2;
                break;
            default:
                x = (ShapeBounds.Left + ShapeBounds.Right) / 2 - w / 2;
                break;
            }
            c->TextOut(x, y, line);
        }
    }

    if (!custom) {
        int room = TeeTitleFootDistance + frame;
        if (!Transparent())
            room += Shadow()->VertSize();
        if (FAtTop)
            chart->ChartRect.Top = ShapeBounds.Bottom + room;
        else
            chart->ChartRect.Bottom = ShapeBounds.Bottom - room - textHeight;
        chart->RecalcWidthHeight();
    }
}

void TChartTitle::Assign(TPersistent* Source)
{
    if (auto* t = dynamic_cast<TChartTitle*>(Source))
        AssignOwnProperties(this, t, TChartTitle::StaticClassInfo());
    TTeeCustomShapePosition::Assign(Source);
}

TChartFootTitle::TChartFootTitle(TCustomTeePanel* Chart) : TChartTitle(Chart)
{
    FAtTop = false;
    Font()->SetColor(clRed);
    Font()->DefaultColor = clRed;
    Font()->SetStyle(fsItalic);
    Font()->DefaultStyle = fsItalic;
}
