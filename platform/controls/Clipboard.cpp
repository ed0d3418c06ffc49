#include "Clipboard.h"

#include "graphics/Metafile.h"
#include "graphics/QtBridge.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

QClipboard* SystemClipboard()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw Exception("Cannot open clipboard");
    return QGuiApplication::clipboard();
}

} // namespace

std::string TClipboard::AsText() const
{
    return SystemClipboard()->text().toStdString();
}

void TClipboard::SetAsText(const std::string& Value)
{
    SystemClipboard()->setText(QString::fromStdString(Value));
}

void TClipboard::Clear()
{
    SystemClipboard()->clear();
}

bool TClipboard::HasText() const
{
    const QMimeData* data = SystemClipboard()->mimeData();
    return data && data->hasText();
}

void TClipboard::Assign(TPersistent* Source)
{
    if (auto* p = dynamic_cast<TPicture*>(Source)) {
        if (p->Graphic() == nullptr)
            AssignError(Source);
        Assign(p->Graphic());
        return;
    }
    if (auto* b = dynamic_cast<TBitmap*>(Source)) {
        QClipboard* cb = SystemClipboard();
        cb->setImage(b->impl().Image().copy());
        return;
    }
    if (auto* m = dynamic_cast<TMetafile*>(Source)) {
        QClipboard* cb = SystemClipboard();
        // The picture played into an image of its size, for programs that take images...
        TBitmap picture(std::max(1, m->Width()), std::max(1, m->Height()));
        m->Draw(*picture.Canvas(), TRect(0, 0, picture.Width(), picture.Height()));
        picture.Canvas()->Flush();
        auto data = std::make_unique<QMimeData>();
        data->setImageData(picture.impl().Image().copy());
        // ... and the metafile itself for those that take metafiles.
        const std::vector<uint8_t> bytes = m->SaveToBytes();
        data->setData(m->Enhanced() ? "image/x-emf" : "image/x-wmf",
                      QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
        cb->setMimeData(data.release());   // the clipboard owns it
        return;
    }
    TPersistent::Assign(Source);
}

TClipboard* Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}
