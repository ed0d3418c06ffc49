#include "Resources.h"

#include "QtBridge.h"

#include "graphics/Bitmap.h"

#include <QFile>
#include <QImage>

// The resource file is compiled into a static library: naming its initialiser keeps the
// linker from dropping it.
static void InitProgramResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(chartbitmaps);
        return true;
    }();
    (void)done;
}

namespace {

QString ResourcePath(const std::string& Name)
{
    return QStringLiteral(":/bitmaps/") + ctlqt::Q(Name) + QStringLiteral(".bmp");
}

} // namespace

bool BitmapResourceExists(const std::string& Name)
{
    InitProgramResources();
    return !Name.empty() && QFile::exists(ResourcePath(Name));
}

bool LoadBitmapResource(TBitmap* Bitmap, const std::string& Name)
{
    if (Bitmap == nullptr || !BitmapResourceExists(Name))
        return false;
    QImage image(ResourcePath(Name));
    if (image.isNull())
        return false;
    image = image.convertToFormat(QImage::Format_RGB32);
    TBitmap loaded(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        TRGBQuad* out = loaded.ScanLine(y);
        for (int x = 0; x < image.width(); ++x)
            out[x] = TRGBQuad{uint8_t(qBlue(in[x])), uint8_t(qGreen(in[x])), uint8_t(qRed(in[x])), 0};
    }
    Bitmap->Assign(&loaded);
    return true;
}
