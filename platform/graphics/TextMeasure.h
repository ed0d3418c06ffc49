// Text measurement: the metrics of a font and the width of a text. A canvas measures
// with the installed faces unless it is given another measurer, such as the fixed one
// that tests use when they need exact geometry.
#pragma once

#include <string_view>

class TFont;

struct TTextMetric {
    int Ascent = 0;            // pixels above the baseline
    int Descent = 0;           // pixels below the baseline
    int Height = 0;            // Ascent + Descent (the text cell)
    int InternalLeading = 0;   // Height minus the em size
    int AveCharWidth = 0;
};

class TTextMeasurer {
public:
    virtual ~TTextMeasurer() = default;
    // Metrics of the font as selected into a device of the font's PixelsPerInch.
    virtual TTextMetric Metrics(const TFont& font) const = 0;
    // Advance width of the UTF-8 text, with `charExtra` extra pixels after each character.
    virtual int TextWidth(const TFont& font, std::string_view text, int charExtra) const = 0;
};

// Every character is CharWidth pixels wide; every font has the given ascent and descent.
class TFixedTextMeasurer : public TTextMeasurer {
public:
    TFixedTextMeasurer(int charWidth, int ascent, int descent)
        : FCharWidth(charWidth), FAscent(ascent), FDescent(descent) {}
    TTextMetric Metrics(const TFont& font) const override;
    int TextWidth(const TFont& font, std::string_view text, int charExtra) const override;
private:
    int FCharWidth;
    int FAscent;
    int FDescent;
};

// The measurer over the installed faces (shared, stateless).
const TTextMeasurer& SystemTextMeasurer();

// Number of characters (code points) of a UTF-8 text.
int Utf8Length(std::string_view text);
