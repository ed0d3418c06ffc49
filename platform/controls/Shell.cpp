#include "Shell.h"

#include "QtBridge.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
TShellOpenHandler& OpenHandler()
{
    static TShellOpenHandler handler;
    return handler;
}
} // namespace

bool ShellOpenDocument(const std::string& Address)
{
    if (OpenHandler())
        return OpenHandler()(Address);
    return QDesktopServices::openUrl(QUrl(ctlqt::Q(Address)));
}

TShellOpenHandler SetShellOpenHandler(TShellOpenHandler Handler)
{
    TShellOpenHandler previous = std::move(OpenHandler());
    OpenHandler() = std::move(Handler);
    return previous;
}
