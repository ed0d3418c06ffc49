// Fonts measured and texts shaped by the canvases, kept beyond any one canvas. A chart
// measures and shapes the same labels in the same few fonts at every redraw, and a
// picture, a copy, a print or a preview draws it on a new canvas each time; finding a face
// and shaping a text are slow. The canvases that draw on the application's thread share
// one store of fonts. The toolkit's font engines belong to the thread that made them and
// end with it, so a canvas drawing on another thread keeps a store of its own. Bounded:
// MaxFonts fonts a store, MaxTexts widths and shapes a font, and MaxPlacedPixels text
// pixels kept (see TMeasuredFont::Shaped::Placed) a store.
#pragma once

#include "graphics/TextMeasure.h"

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>
#include <QList>
#include <QRect>

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class TFont;
class TKeptFonts;

// One font (by what sets its face and size, without extra character spacing), with its
// metrics, the widths of the texts measured in it and the texts shaped in it.
struct TMeasuredFont {
    QFont Font;
    QFontMetrics Metrics;
    TTextMetric Metric;
    std::unordered_map<std::string, int> Widths;
    // A text shaped once: its glyphs placed from the top of the line, which lies Ascent
    // above the baseline.
    struct Shaped {
        QList<QGlyphRun> Runs;
        double Ascent = 0;
        // Places where the text was drawn in one colour into an image of one format, with
        // the pixels of a box around the glyphs before and after they were drawn there
        // (none until the text is drawn there again: see the canvas's DirectText); Fits
        // false once the glyphs were seen to reach out of their box.
        struct Placed {
            QPointF At;
            QRgb Colour = 0;
            QImage::Format Format = QImage::Format_Invalid;
            QRect Box;
            std::vector<QRgb> Before, After;
        };
        std::vector<Placed> Places;
        size_t Oldest = 0;   // the place given up for the next new one
        bool Fits = true;
        std::optional<QRectF> Ink;   // the glyphs' bounds from the top of the line
    };
    std::unordered_map<std::string, Shaped> Shapes;

    explicit TMeasuredFont(const TFont& font);
    // The advance of a non-empty text, without extra spacing.
    int Width(const std::string& text);
    // The text (not empty) shaped in the font; `fonts` (the owner) takes back the pixels
    // of the places given up when the font has too many texts.
    Shaped& Shape(const std::string& text, TKeptFonts& fonts);
};

// A store of fonts.
class TKeptFonts {
public:
    static constexpr size_t MaxFonts = 64;
    static constexpr size_t MaxTexts = 4096;
    static constexpr size_t MaxPlacedPixels = size_t(1) << 18;

    // The store for a canvas drawing on the calling thread: the shared one on the
    // application's thread, else a new one.
    static std::shared_ptr<TKeptFonts> ForThisThread();
    // Forgets the shared store (canvases keep what they hold until they let go); done
    // when the application ends, while its font engines still stand.
    static void ForgetShared();

    // The font, measured the first time it is met.
    std::shared_ptr<TMeasuredFont> Find(const TFont& font);

    // Text pixels kept in places, in all fonts.
    size_t PlacedPixels = 0;
    // Forgets every place of every font.
    void ForgetPlaces();
    // Gives back the pixels kept in one place.
    void Release(const TMeasuredFont::Shaped::Placed& place);

private:
    std::unordered_map<std::string, std::shared_ptr<TMeasuredFont>> Fonts;
};
