#include "Clipboard.h"

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

void TClipboard::SetTextBuf(const char* Buffer)
{
    SetAsText(Buffer ? std::string(Buffer) : std::string());
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

TClipboard* Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}
