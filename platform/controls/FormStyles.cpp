#include "FormStyles.h"

#include "CursorsQt.h"
#include "QtBridge.h"

#include <QApplication>
#include <QGuiApplication>
#include <QVariant>
#include <QWidget>

namespace {

// The values live on the form's window, so that they go with it.
constexpr const char* BorderStyleKey = "platformBorderStyle";
constexpr const char* BorderIconsKey = "platformBorderIcons";
constexpr const char* ParentColorKey = "platformParentColor";
constexpr const char* ScreenCursorKey = "platformScreenCursor";

QWidget* WindowOf(const TForm* Form)
{
    return Form != nullptr ? Form->Widget() : nullptr;
}

int Stored(const TForm* Form, const char* Key, int Default)
{
    QWidget* w = WindowOf(Form);
    if (w == nullptr)
        return Default;
    const QVariant v = w->property(Key);
    return v.isValid() ? v.toInt() : Default;
}

// The title-bar buttons kept on the form's window (system menu, minimise and maximise
// until set).
TBorderIcons StoredIcons(const TForm* Form)
{
    constexpr TBorderIcons Default = biSystemMenu | biMinimize | biMaximize;
    return TBorderIcons::FromBits(static_cast<unsigned>(Stored(Form, BorderIconsKey, int(Default.Bits()))));
}

// Gives a form that is a window of its own the frame of its style and icons.
void ApplyFrame(TForm* Form)
{
    QWidget* w = WindowOf(Form);
    if (w == nullptr || !w->isWindow())
        return;
    const auto style = static_cast<TFormBorderStyle>(Stored(Form, BorderStyleKey, bsSizeable));
    const TBorderIcons icons = StoredIcons(Form);
    Qt::WindowFlags flags = style == bsDialog ? Qt::Dialog : Qt::Window;
    if (style == bsToolWindow || style == bsSizeToolWin)
        flags = Qt::Tool;
    if (style == bsNone) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (icons & biSystemMenu) {
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
            // A dialog frame has no minimise or maximise button, as on the platform.
            if (style != bsDialog && (icons & biMinimize))
                flags |= Qt::WindowMinimizeButtonHint;
            if (style != bsDialog && (icons & biMaximize))
                flags |= Qt::WindowMaximizeButtonHint;
            if (icons & biHelp)
                flags |= Qt::WindowContextHelpButtonHint;
        }
        if (style == bsSingle || style == bsDialog || style == bsToolWindow)
            flags |= Qt::MSWindowsFixedSizeDialogHint;
    }
    const bool visible = w->isVisible();
    w->setWindowFlags(flags);
    if (visible)
        w->show();
}

} // namespace

TFormBorderStyle FormBorderStyle(const TForm* Form)
{
    return static_cast<TFormBorderStyle>(Stored(Form, BorderStyleKey, bsSizeable));
}

void SetFormBorderStyle(TForm* Form, TFormBorderStyle Value)
{
    if (QWidget* w = WindowOf(Form)) {
        w->setProperty(BorderStyleKey, int(Value));
        ApplyFrame(Form);
    }
}

TBorderIcons FormBorderIcons(const TForm* Form)
{
    return StoredIcons(Form);
}

void SetFormBorderIcons(TForm* Form, TBorderIcons Value)
{
    if (QWidget* w = WindowOf(Form)) {
        w->setProperty(BorderIconsKey, int(Value.Bits()));
        ApplyFrame(Form);
    }
}

bool FormParentColor(const TForm* Form)
{
    return Stored(Form, ParentColorKey, 0) != 0;
}

void SetFormParentColor(TForm* Form, bool Value)
{
    QWidget* w = WindowOf(Form);
    if (w == nullptr)
        return;
    w->setProperty(ParentColorKey, Value ? 1 : 0);
    // Without a background of its own the form shows what its parent paints.
    w->setAutoFillBackground(!Value && w->isWindow());
    if (QWidget* client = Form->ClientWidget())
        client->setAutoFillBackground(false);
}

int FormClientWidth(const TForm* Form)
{
    int l, t, w, h;
    Form->GetClientArea(l, t, w, h);
    return w;
}

int FormClientHeight(const TForm* Form)
{
    int l, t, w, h;
    Form->GetClientArea(l, t, w, h);
    return h;
}

int ControlClientHeight(const TWinControl* Control)
{
    int l, t, w, h;
    Control->GetClientArea(l, t, w, h);
    return h;
}

TCursor ScreenCursor()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr)
        return crDefault;
    const QVariant v = app->property(ScreenCursorKey);
    return v.isValid() ? v.toInt() : crDefault;
}

void SetScreenCursor(TCursor Value)
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr)
        return;
    const TCursor old = ScreenCursor();
    app->setProperty(ScreenCursorKey, Value);
    if (old == Value)
        return;
    if (old != crDefault)
        QGuiApplication::restoreOverrideCursor();
    if (Value != crDefault)
        QGuiApplication::setOverrideCursor(ctlqt::ToQCursor(Value));
}

TPoint ControlScreenOrigin(const TControl* Control)
{
    QWidget* w = Control != nullptr ? Control->Widget() : nullptr;
    if (w == nullptr)
        return {};
    const QPoint p = w->mapToGlobal(QPoint(0, 0));
    return {p.x(), p.y()};
}
