#include "CommonDialogs.h"

#include "Forms.h"
#include "QtBridge.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QEvent>
#include <QLayout>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

using namespace ctlqt;

namespace {

std::string CustomColorName(int Index)
{
    return std::string("Color") + char('A' + Index);
}

// The real colour dialog of the toolkit.
int ShowColorDialog(TDialogRequest& Request)
{
    auto* r = AsColorDialogRequest(Request);
    if (r == nullptr || QApplication::instance() == nullptr)
        return mrCancel;
    for (int i = 0; i < ColorDialogCustomCount && i < int(r->CustomColors.size()); ++i)
        QColorDialog::setCustomColor(i, Color(ColorToDrawRGB(r->CustomColors[size_t(i)])));
    QColorDialog dialog(Color(ColorToDrawRGB(r->Color)), QApplication::activeWindow());
    dialog.setWindowTitle(Q(r->Caption));
    if (dialog.exec() != QDialog::Accepted)
        return mrCancel;
    const QColor c = dialog.selectedColor();
    r->Color = RGB(c.red(), c.green(), c.blue());
    r->CustomColors.assign(ColorDialogCustomCount, clWhite);
    for (int i = 0; i < ColorDialogCustomCount; ++i) {
        const QColor k = QColorDialog::customColor(i);
        r->CustomColors[size_t(i)] = RGB(k.red(), k.green(), k.blue());
    }
    return mrOk;
}

// Moves the first message box that is shown to a point before it appears.
class PlaceMessageBox : public QObject {
public:
    PlaceMessageBox(int X, int Y) : FX(X), FY(Y) {}

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (!FDone && Event->type() == QEvent::Show) {
            if (auto* box = qobject_cast<QMessageBox*>(Watched)) {
                FDone = true;
                box->move(OnScreen(box, QPoint(FX, FY)));
            }
        }
        return false;
    }

private:
    // The point moved so that the whole box, its buttons too, stays on the screen there.
    static QPoint OnScreen(const QWidget* Box, QPoint At)
    {
        const QScreen* screen = QGuiApplication::screenAt(At);
        if (screen == nullptr)
            screen = Box->screen();
        if (screen == nullptr)
            return At;
        const QRect room = screen->availableGeometry();
        const QSize size = Box->frameGeometry().size().expandedTo(Box->size());
        At.setX(std::clamp(At.x(), room.left(), std::max(room.left(), room.right() + 1 - size.width())));
        At.setY(std::clamp(At.y(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height())));
        return At;
    }

    int FX, FY;
    bool FDone = false;
};

} // namespace

TColorDialogRequest* AsColorDialogRequest(TDialogRequest& Request)
{
    return Request.Kind == dkColorDialog ? static_cast<TColorDialogRequest*>(&Request) : nullptr;
}

TColorDialog::TColorDialog(TComponent* AOwner)
    : TComponent(AOwner), FCustomColors(std::make_unique<TStringList>())
{
}

TColorDialog::~TColorDialog() = default;

bool TColorDialog::Execute()
{
    TColorDialogRequest request;
    request.Kind = dkColorDialog;
    request.Caption = "Color";
    request.Color = FColor;
    request.CustomColors.assign(ColorDialogCustomCount, clWhite);
    for (int i = 0; i < ColorDialogCustomCount; ++i) {
        const std::string text = FCustomColors->Values(CustomColorName(i));
        int value = 0;
        if (!text.empty() && TryStrToInt("$" + text, value))
            request.CustomColors[size_t(i)] = value;
    }
    if (ExecuteDialogRequest(request, ShowColorDialog) != mrOk)
        return false;
    FColor = request.Color;
    FCustomColors->BeginUpdate();
    FCustomColors->Clear();
    for (int i = 0; i < ColorDialogCustomCount; ++i) {
        const TColor c = i < int(request.CustomColors.size()) ? request.CustomColors[size_t(i)] : clWhite;
        FCustomColors->Add(CustomColorName(i) + "=" + IntToHex(c & 0xFFFFFF, 6));
    }
    FCustomColors->EndUpdate();
    return true;
}

// ---- TFontDialog ----------------------------------------------------------------

namespace {

// The platform's font dialog chooses the text colour among its effects; the toolkit's
// has no such box. A "Color..." button (with a swatch of the colour) joins strikeout
// and underline and asks the colour dialog; Colour is what it chose last. Its
// accelerator is L, as the dialog's Cancel has C.
void AddColourChoice(QFontDialog& Dialog, TColor& Colour)
{
    auto* effect = Dialog.findChild<QCheckBox*>();
    QWidget* group = effect != nullptr ? effect->parentWidget() : nullptr;
    if (group == nullptr || group->layout() == nullptr)
        return;
    auto* button = new QPushButton("Co&lor...", group);
    button->setObjectName("FontColor");
    // Enter still answers the dialog when the button has the focus.
    button->setAutoDefault(false);
    const auto showSwatch = [button, &Colour] {
        QPixmap swatch(12, 12);
        swatch.fill(Color(ColorToDrawRGB(Colour)));
        button->setIcon(QIcon(swatch));
    };
    showSwatch();
    QObject::connect(button, &QPushButton::clicked, button, [&Colour, showSwatch] {
        GuardedCall([&] {
            TColorDialog picker(nullptr);
            picker.SetColor(Colour);
            if (picker.Execute()) {
                Colour = picker.Color();
                showSwatch();
            }
        });
    });
    group->layout()->addWidget(button);
}

int ShowFontDialog(TDialogRequest& Request)
{
    auto* r = AsFontDialogRequest(Request);
    if (r == nullptr || QApplication::instance() == nullptr)
        return mrCancel;
    QFont start(Q(r->Name), r->Size);
    start.setBold(r->Style.Test(fsBold));
    start.setItalic(r->Style.Test(fsItalic));
    start.setUnderline(r->Style.Test(fsUnderline));
    start.setStrikeOut(r->Style.Test(fsStrikeOut));
    // A name the system answers with another face (an alias such as "Arial") is not in
    // the dialog's list: the dialog shows the face that draws it, and keeping that face
    // keeps the name asked for.
    QString shown = start.family();
    if (!QFontDatabase::hasFamily(shown)) {
        shown = QFontInfo(start).family();
        start.setFamily(shown);
    }
    // The dialog finds the style by its name and takes the first one it lists when the
    // name is not there; a regular face is not always called "Normal" or "Regular" (it
    // may be "Book"), so the font carries the name of the face that draws it.
    if (const QString style = QFontInfo(start).styleName();
        !style.isEmpty() && QFontDatabase::styles(shown).contains(style))
        start.setStyleName(style);
    QFontDialog dialog(start, QApplication::activeWindow());
    dialog.setWindowTitle(Q(r->Caption));
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    TColor colour = r->Color;
    AddColourChoice(dialog, colour);
    if (dialog.exec() != QDialog::Accepted)
        return mrCancel;
    const QFont f = dialog.selectedFont();
    r->Color = colour;
    if (f.family() != shown)
        r->Name = S(f.family());
    r->Size = f.pointSize();
    TFontStyles style;
    if (f.bold())
        style |= fsBold;
    if (f.italic())
        style |= fsItalic;
    if (f.underline())
        style |= fsUnderline;
    if (f.strikeOut())
        style |= fsStrikeOut;
    r->Style = style;
    return mrOk;
}

} // namespace

TFontDialogRequest* AsFontDialogRequest(TDialogRequest& Request)
{
    return Request.Kind == TDialogKind::dkFont ? static_cast<TFontDialogRequest*>(&Request) : nullptr;
}

TFontDialog::TFontDialog(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute()
{
    TFontDialogRequest request;
    request.Kind = TDialogKind::dkFont;
    request.Caption = "Font";
    request.Name = FFont->Name();
    request.Size = FFont->Size();
    request.Style = FFont->Style();
    request.Color = FFont->Color();
    if (ExecuteDialogRequest(request, ShowFontDialog) != mrOk)
        return false;
    FFont->SetName(request.Name);
    FFont->SetSize(request.Size);
    FFont->SetStyle(request.Style);
    FFont->SetColor(request.Color);
    return true;
}

int MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y)
{
    PlaceMessageBox place(X, Y);
    QCoreApplication* app = QCoreApplication::instance();
    if (app != nullptr)
        app->installEventFilter(&place);
    struct Remove {
        QCoreApplication* App;
        PlaceMessageBox* Filter;
        ~Remove()
        {
            if (App != nullptr)
                App->removeEventFilter(Filter);
        }
    } remove{app, &place};
    return MessageDlg(Msg, DlgType, Buttons, HelpCtx);
}
