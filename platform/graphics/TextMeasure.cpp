#include "graphics/TextMeasure.h"

#include "graphics/GraphicsObjects.h"
#include "graphics/QtBridge.h"

#include <QFontMetrics>

#include <cmath>

int Utf8Length(std::string_view text)
{
    int n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++n;
    return n;
}

TTextMetric TFixedTextMeasurer::Metrics(const TFont&) const
{
    TTextMetric m;
    m.Ascent = FAscent;
    m.Descent = FDescent;
    m.Height = FAscent + FDescent;
    m.AveCharWidth = FCharWidth;
    return m;
}

int TFixedTextMeasurer::TextWidth(const TFont&, std::string_view text, int charExtra) const
{
    return Utf8Length(text) * (FCharWidth + charExtra);
}

namespace {

class TSystemTextMeasurer : public TTextMeasurer {
public:
    TTextMetric Metrics(const TFont& font) const override
    {
        const QFont q = qtbridge::ToQFont(font);
        const QFontMetrics fm(q);
        TTextMetric m;
        m.Ascent = fm.ascent();
        m.Descent = fm.descent();
        m.Height = m.Ascent + m.Descent;
        m.InternalLeading = std::max(0, m.Height - q.pixelSize());
        m.AveCharWidth = fm.averageCharWidth();
        return m;
    }
    int TextWidth(const TFont& font, std::string_view text, int charExtra) const override
    {
        if (text.empty())
            return 0;
        const QFont q = qtbridge::ToQFont(font);
        const QFontMetrics fm(q);
        const QString s = QString::fromUtf8(text.data(), qsizetype(text.size()));
        return fm.horizontalAdvance(s) + charExtra * Utf8Length(text);
    }
};

} // namespace

const TTextMeasurer& SystemTextMeasurer()
{
    static const TSystemTextMeasurer measurer;
    return measurer;
}
