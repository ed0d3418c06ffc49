// The chart's text titles: Title and SubTitle above the plot, Foot and SubFoot below it.
// Each is a framed box of text lines that takes its room from the chart rectangle, or
// stands at a custom position.
#pragma once

#include "RizUridu.h"

#include <memory>
#include <string>

#ifndef TEE_ALIGNMENT_DEFINED
#define TEE_ALIGNMENT_DEFINED
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
#endif

class TChartTitle : public TTeeCustomShapePosition {
public:
    DECLARE_CLASS_INFO(TChartTitle)
    explicit TChartTitle(TCustomTeePanel* Chart);
    ~TChartTitle() override;

    bool AdjustFrame() const { return FAdjustFrame; }
    void SetAdjustFrame(bool v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    // The lines; any change repaints the chart.
    TStringList* Text() const { return FText.get(); }
    void SetText(TStrings* v);
    // Title and SubTitle stand at the top, feet at the bottom.
    bool AtTop() const { return FAtTop; }

    // Visible and (X, Y) inside ShapeBounds, edges included.
    bool Clicked(int X, int Y) const;
    // Places the box (taking room from the chart rectangle unless custom-positioned) and
    // draws the frame and the text. Nothing while hidden or empty.
    void Draw();

    void Assign(TPersistent* Source) override;

protected:
    bool FAtTop = true;

private:
    bool FAdjustFrame = true;
    TAlignment FAlignment = taCenter;
    std::unique_ptr<TStringList> FText;
};

class TChartFootTitle : public TChartTitle {
public:
    DECLARE_CLASS_NAME(TChartFootTitle)
    explicit TChartFootTitle(TCustomTeePanel* Chart);
};

// The room a title leaves between itself and the plot.
inline constexpr int TeeTitleFootDistance = 5;
