#include "graphics/FontCache.h"

#include "graphics/GraphicsObjects.h"
#include "graphics/QtBridge.h"

#include <QCoreApplication>
#include <QTextLayout>
#include <QThread>

#include <mutex>

namespace {

QString QStr(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// The store shared by the canvases on the application's thread. Never destroyed: the
// fonts are given up with the application (see ForgetShared), not in whatever order
// statics end.
struct Shared {
    std::mutex Lock;
    std::shared_ptr<TKeptFonts> Fonts;
};

Shared& TheShared()
{
    static Shared* s = new Shared;
    return *s;
}

} // namespace

TMeasuredFont::TMeasuredFont(const TFont& font)
    : Font(qtbridge::ToQFont(font, 0)), Metrics(Font), Metric(SystemTextMeasurer().Metrics(font))
{
}

int TMeasuredFont::Width(const std::string& text)
{
    auto at = Widths.find(text);
    if (at == Widths.end()) {
        if (Widths.size() > TKeptFonts::MaxTexts)
            Widths.clear();
        at = Widths.emplace(text, Metrics.horizontalAdvance(QStr(text))).first;
    }
    return at->second;
}

TMeasuredFont::Shaped& TMeasuredFont::Shape(const std::string& text, TKeptFonts& fonts)
{
    auto at = Shapes.find(text);
    if (at != Shapes.end())
        return at->second;
    if (Shapes.size() > TKeptFonts::MaxTexts) {
        for (const auto& [key, kept] : Shapes)
            for (const auto& place : kept.Places)
                fonts.Release(place);
        Shapes.clear();
    }
    QTextLayout layout(QStr(text), Font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    Shaped shaped;
    // Runs without glyphs are left out: they draw nothing, and the painter reads past the
    // end of an empty underlined or struck-out one.
    for (const QGlyphRun& run : layout.glyphRuns())
        if (!run.glyphIndexes().isEmpty())
            shaped.Runs.append(run);
    shaped.Ascent = line.ascent();
    return Shapes.emplace(text, std::move(shaped)).first->second;
}

std::shared_ptr<TKeptFonts> TKeptFonts::ForThisThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() != app->thread())
        return std::make_shared<TKeptFonts>();
    Shared& s = TheShared();
    const std::lock_guard<std::mutex> lock(s.Lock);
    if (!s.Fonts) {
        s.Fonts = std::make_shared<TKeptFonts>();
        qAddPostRoutine(&TKeptFonts::ForgetShared);
    }
    return s.Fonts;
}

void TKeptFonts::ForgetShared()
{
    Shared& s = TheShared();
    const std::lock_guard<std::mutex> lock(s.Lock);
    s.Fonts.reset();
}

std::shared_ptr<TMeasuredFont> TKeptFonts::Find(const TFont& font)
{
    const std::string key = font.Name() + '\n' + std::to_string(font.Height()) + ' ' +
                            std::to_string(font.Style().Bits()) + ' ' + std::to_string(int(font.Pitch())) + ' ' +
                            std::to_string(int(font.Quality()));
    auto at = Fonts.find(key);
    if (at != Fonts.end())
        return at->second;
    if (Fonts.size() >= MaxFonts) {   // a bound for programs that make up fonts
        Fonts.clear();
        PlacedPixels = 0;
    }
    return Fonts.emplace(key, std::make_shared<TMeasuredFont>(font)).first->second;
}

void TKeptFonts::ForgetPlaces()
{
    for (auto& [key, font] : Fonts)
        for (auto& [text, kept] : font->Shapes) {
            kept.Places.clear();
            kept.Oldest = 0;
        }
    PlacedPixels = 0;
}

void TKeptFonts::Release(const TMeasuredFont::Shaped::Placed& place)
{
    PlacedPixels -= std::min(PlacedPixels, place.Before.size() * 2);
}
