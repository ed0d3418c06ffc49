#include "Cursors.h"

#include "CursorsQt.h"

#include "graphics/Bitmap.h"

#include <map>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

struct TScreen::Impl {
    struct Entry {
        QImage Image;   // ARGB32, transparent where the picture is see-through
        TPoint HotSpot;
    };
    std::map<TCursor, Entry> Custom;
};

TScreen::TScreen() : d(std::make_unique<Impl>()) {}

TScreen::~TScreen() = default;

void TScreen::SetCursorImage(TCursor Index, const TBitmap& Image, TColor TransparentColor, TPoint HotSpot)
{
    const int w = Image.Width(), h = Image.Height();
    QImage img(std::max(w, 1), std::max(h, 1), QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    const TColor clear = ColorToDrawRGB(TransparentColor);
    for (int y = 0; y < h; ++y) {
        const TRGBQuad* row = Image.ScanLine(y);
        auto* out = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const TColor c = RGB(row[x].rgbRed, row[x].rgbGreen, row[x].rgbBlue);
            out[x] = c == clear ? qRgba(0, 0, 0, 0) : qRgb(row[x].rgbRed, row[x].rgbGreen, row[x].rgbBlue);
        }
    }
    d->Custom[Index] = Impl::Entry{img, HotSpot};
}

void TScreen::RemoveCursor(TCursor Index)
{
    d->Custom.erase(Index);
}

bool TScreen::HasCursor(TCursor Index) const
{
    return (Index <= crDefault && Index >= crSizeAll && Index != -5) || IsCustomCursor(Index);
}

bool TScreen::IsCustomCursor(TCursor Index) const
{
    return d->Custom.count(Index) != 0;
}

TPoint TScreen::CursorPos() const
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {};
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

TScreen* Screen()
{
    static TScreen screen;
    return &screen;
}

namespace ctlqt {

QCursor ToQCursor(TCursor Cursor)
{
    const auto& custom = Screen()->impl().Custom;
    if (auto it = custom.find(Cursor); it != custom.end())
        return QCursor(QPixmap::fromImage(it->second.Image), it->second.HotSpot.X, it->second.HotSpot.Y);
    switch (Cursor) {
    case crNone: return QCursor(Qt::BlankCursor);
    case crCross: return QCursor(Qt::CrossCursor);
    case crIBeam: return QCursor(Qt::IBeamCursor);
    case crSizeNESW: return QCursor(Qt::SizeBDiagCursor);
    case crSizeNS: return QCursor(Qt::SizeVerCursor);
    case crSizeNWSE: return QCursor(Qt::SizeFDiagCursor);
    case crSizeWE: return QCursor(Qt::SizeHorCursor);
    case crUpArrow: return QCursor(Qt::UpArrowCursor);
    case crHourGlass:
    case crSQLWait: return QCursor(Qt::WaitCursor);
    case crDrag:
    case crMultiDrag: return QCursor(Qt::DragCopyCursor);
    case crNoDrop:
    case crNo: return QCursor(Qt::ForbiddenCursor);
    case crHSplit: return QCursor(Qt::SplitHCursor);
    case crVSplit: return QCursor(Qt::SplitVCursor);
    case crAppStart: return QCursor(Qt::BusyCursor);
    case crHelp: return QCursor(Qt::WhatsThisCursor);
    case crHandPoint: return QCursor(Qt::PointingHandCursor);
    case crSizeAll: return QCursor(Qt::SizeAllCursor);
    default: return QCursor(Qt::ArrowCursor);
    }
}

} // namespace ctlqt

int TScreen::Width() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().width() : 640;
}

int TScreen::Height() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().height() : 480;
}
