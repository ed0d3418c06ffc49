#include "StdButtons.h"

#include "Forms.h"
#include "QtBridge.h"

#include "graphics/Bitmap.h"
#include "graphics/QtBridge.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QToolButton>

using namespace ctlqt;

// The toolkit button: drawn into an image that the control's PaintOver may draw on.
class PushButtonWidget : public QPushButton {
public:
    explicit PushButtonWidget(TButton* AControl) : FControl(AControl) { setAutoDefault(false); }

    // The button as it is shown: the toolkit's drawing, then the control's, at Ratio image
    // pixels per unit (the screen's density, so that the caption is not enlarged).
    void Render(QImage& Image, double Ratio)
    {
        Image = qtbridge::NewImage(std::max(width(), 1), std::max(height(), 1), std::max(1.0, Ratio),
                                   QImage::Format_RGB32, qtbridge::ToQColor(clBtnFace).rgb());
        {
            QPainter p(&Image);
            QStyleOptionButton option;
            initStyleOption(&option);
            style()->drawControl(QStyle::CE_PushButton, &option, &p, this);
        }
        TCanvas canvas;
        qtbridge::AttachImage(canvas, &Image, false);
        GuardedCall([&] { FControl->PaintOver(&canvas); });
        qtbridge::Detach(canvas);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QImage image;
        Render(image, devicePixelRatio());
        QPainter p(this);
        p.drawImage(0, 0, image);
    }

private:
    TButton* FControl;
};

struct TButton::Impl {
    PushButtonWidget* Button = nullptr;
};

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner), d(std::make_unique<Impl>())
{
    d->Button = new PushButtonWidget(this);
    SetWidget(d->Button);
    QObject::connect(d->Button, &QPushButton::clicked, d->Button, [this] { GuardedCall([this] { Click(); }); });
    SetBounds(0, 0, 75, 25);
}

TButton::~TButton() = default;

// The form's window presses the visible, enabled default button on an Enter and the
// cancel button on an Escape that no control with the focus took (see Forms.cpp).
void TButton::SetDefault(bool Value)
{
    FDefault = Value;
    if (d->Button == nullptr || Widget() == nullptr)
        return;
    d->Button->setDefault(Value);
    d->Button->setProperty(DefaultButtonProperty, Value);
}

void TButton::SetCancel(bool Value)
{
    FCancel = Value;
    if (d->Button != nullptr && Widget() != nullptr)
        d->Button->setProperty(CancelButtonProperty, Value);
}

void TButton::Click()
{
    if (TForm* form = GetParentForm(this); form != nullptr && FModalResult != mrNone)
        form->SetModalResult(FModalResult);
    TWinControl::Click();
}

void TButton::Invalidate()
{
    if (QWidget* w = Widget())
        w->update();
}

void TButton::PaintTo(TBitmap* Bitmap)
{
    if (Bitmap == nullptr || Widget() == nullptr)
        return;
    if (d->Button->size() != QSize(Width(), Height()))
        d->Button->resize(Width(), Height());
    QImage image;
    d->Button->Render(image, 1);
    Bitmap->SetSize(image.width(), image.height());
    Bitmap->Canvas()->Flush();
    QImage& target = Bitmap->impl().Image();
    QPainter p(&target);
    p.drawImage(0, 0, image);
}

void TButton::TextChanged()
{
    if (d->Button != nullptr && Widget() != nullptr) {
        d->Button->setText(Q(FText));
        d->Button->update();
    }
}

// ---- speed-button glyphs ----------------------------------------------------------------

void SetSpeedButtonGlyph(TSpeedButton* Button, const TBitmap& Glyph)
{
    auto* tool = Button != nullptr ? qobject_cast<QToolButton*>(Button->Widget()) : nullptr;
    if (tool == nullptr)
        return;
    if (Glyph.Empty()) {
        tool->setIcon(QIcon());
        tool->setToolButtonStyle(Qt::ToolButtonTextOnly);
        return;
    }
    QImage image = Glyph.impl().Image().convertToFormat(QImage::Format_ARGB32);
    const QRgb clear = image.pixel(0, image.height() - 1) | 0xFF000000u;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((row[x] | 0xFF000000u) == clear)
                row[x] = qRgba(0, 0, 0, 0);
    }
    tool->setIcon(QIcon(QPixmap::fromImage(image)));
    tool->setIconSize(image.size());
    tool->setToolButtonStyle(tool->text().isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
}

bool SpeedButtonHasGlyph(const TSpeedButton* Button)
{
    auto* tool = Button != nullptr ? qobject_cast<QToolButton*>(Button->Widget()) : nullptr;
    return tool != nullptr && !tool->icon().isNull();
}

void ShowOwnCloseButton(TButton* Button, const TControl* Form)
{
    const bool alone = Form->Parent() == nullptr;
    Button->SetVisible(alone);
    Button->SetDefault(alone);
    Button->SetCancel(alone);
}
