// Line layout of parsed markup text.
#include "TeeHtml.h"

#include <algorithm>
#include <climits>

namespace {

class TMarkupLayouter {
public:
    TMarkupLayouter(const std::vector<TMarkupItem>& Items, int X, int Y, TMarkupMeasurer& Measurer,
                    int CenterLeft, int CenterRight)
        : FItems(Items), FX(X), FY(Y), FTop(Y), FMeasurer(Measurer),
          FCenter((int64_t(CenterLeft) + CenterRight) / 2), FRight(X) {}

    TMarkupLayout Run()
    {
        // Lines below what any canvas shows are not laid out at all.
        for (std::size_t i = 0; i < FItems.size() && FY - FTop < MarkupMaxExtent; ++i) {
            const TMarkupItem& item = FItems[i];
            switch (item.Kind) {
            case TMarkupItemKind::Text: {
                const TMarkupSize size = FMeasurer.TextExtent(item.Font, item.Text);
                FLine.push_back({i, size.Width, size.Height, ShiftOf(item)});
                break;
            }
            case TMarkupItemKind::Image:
                FLine.push_back({i, ImageSide(item.Width), ImageSide(item.Height), ShiftOf(item)});
                break;
            case TMarkupItemKind::LineBreak:
                FinishLine(HeightOfW(item.Font));
                break;
            case TMarkupItemKind::Rule: {
                if (!FLine.empty())
                    FinishLine(0);
                const int h = HeightOfW(item.Font);
                FLayout.Boxes.push_back({i, FX, Position(FY + h / 2), MarkupRuleLength, 0});
                FRight = std::max<int64_t>(FRight, int64_t(FX) + MarkupRuleLength);
                FY += h;
                break;
            }
            }
        }
        if (!FLine.empty())
            FinishLine(0);
        FLayout.Size.Width = static_cast<int>(std::clamp<int64_t>(FRight - FX, 0, MarkupMaxExtent));
        FLayout.Size.Height = static_cast<int>(std::clamp<int64_t>(FY - FTop, 0, MarkupMaxExtent));
        return std::move(FLayout);
    }

private:
    struct TPending {
        std::size_t Item;
        int Width;
        int Height;
        int Shift;   // of the item's bottom from the line's bottom, downwards
    };

    static int ImageSide(int Requested)
    {
        return Requested > 0 ? std::min(Requested, MarkupMaxExtent) : MarkupImagePlaceholderSize;
    }
    // A position of a box: the running position kept well inside the int range, so that
    // a box's far edge (position plus a size of at most MarkupMaxExtent) is too.
    static int Position(int64_t v)
    {
        return static_cast<int>(std::clamp<int64_t>(v, -PositionLimit, PositionLimit));
    }
    static constexpr int64_t PositionLimit = int64_t(1) << 29;

    int HeightOfW(const TMarkupFont& Font) { return FMeasurer.TextExtent(Font, "W").Height; }

    // Subscripts go down by half the height of "W" in their reduced font, superscripts up
    // by its whole height, so that their top meets the top of the text around them.
    int ShiftOf(const TMarkupItem& Item)
    {
        int64_t shift = 0;
        for (const auto& s : Item.Shifts) {
            const int h = HeightOfW(s.Font);
            shift += s.Down ? h / 2 : -h;
        }
        return static_cast<int>(std::clamp<int64_t>(shift, INT_MIN / 4, INT_MAX / 4));
    }

    // Places the pending items of the line and moves down by its height; an empty line
    // takes EmptyHeight.
    void FinishLine(int EmptyHeight)
    {
        if (FLine.empty()) {
            FY += EmptyHeight;
            return;
        }
        int64_t top = 0, bottom = 0;   // relative to the line's bottom
        for (const auto& p : FLine) {
            top = std::min<int64_t>(top, int64_t(p.Shift) - p.Height);
            bottom = std::max<int64_t>(bottom, p.Shift);
        }
        const int64_t base = FY - top;

        int64_t x = FX;
        for (std::size_t k = 0; k < FLine.size();) {
            const bool centred = FItems[FLine[k].Item].Centered;
            std::size_t end = k;
            int64_t groupWidth = 0;
            while (end < FLine.size() && FItems[FLine[end].Item].Centered == centred) {
                groupWidth += FLine[end].Width;
                ++end;
            }
            if (centred)
                x = FCenter - groupWidth / 2;
            for (; k < end; ++k) {
                const TPending& p = FLine[k];
                FLayout.Boxes.push_back({p.Item, Position(x), Position(base + p.Shift - p.Height), p.Width, p.Height});
                x += p.Width;
                FRight = std::max(FRight, x);
            }
        }
        FY += bottom - top;
        FLine.clear();
    }

    const std::vector<TMarkupItem>& FItems;
    const int FX;
    int64_t FY;
    const int64_t FTop;
    TMarkupMeasurer& FMeasurer;
    const int64_t FCenter;
    int64_t FRight;
    std::vector<TPending> FLine;
    TMarkupLayout FLayout;
};

} // namespace

TMarkupLayout LayoutMarkup(const std::vector<TMarkupItem>& Items, int X, int Y,
                           TMarkupMeasurer& Measurer, int CenterLeft, int CenterRight)
{
    return TMarkupLayouter(Items, X, Y, Measurer, CenterLeft, CenterRight).Run();
}
