#include "Buttons.h"

#include "Forms.h"
#include "QtBridge.h"

#include <QPainter>
#include <QPushButton>
#include <QStyleOptionFocusRect>
#include <QToolButton>

using namespace ctlqt;

// ---- TSpeedButton -----------------------------------------------------------------

namespace {

// The tool button of a speed button, which can show a focus rectangle it does not own.
class SpeedButtonWidget : public QToolButton {
public:
    bool FocusFrame = false;

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QToolButton::paintEvent(e);
        if (!FocusFrame)
            return;
        QPainter p(this);
        QStyleOptionFocusRect o;
        o.initFrom(this);
        // Shown whenever asked for, also after the mouse moved the focus (the style
        // otherwise keeps focus rectangles for keyboard users).
        o.state |= QStyle::State_KeyboardFocusChange | QStyle::State_HasFocus;
        o.rect = rect().adjusted(3, 3, -3, -3);
        if (isDown())
            o.rect.translate(1, 1);
        o.backgroundColor = palette().color(QPalette::Button);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &o, &p, this);
    }
};

} // namespace

TSpeedButton::TSpeedButton(TComponent* AOwner) : TControl(AOwner)
{
    auto* button = new SpeedButtonWidget;
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    SetWidget(button);
    QObject::connect(button, &QToolButton::clicked, button, [this] { GuardedCall([this] { Click(); }); });
    QObject::connect(button, &QToolButton::pressed, button, [this] {
        if (OnMouseDown)
            GuardedCall([this] { OnMouseDown(this); });
    });
    SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetAutoRepeat(bool Value, int Delay, int Interval)
{
    FAutoRepeat = Value;
    if (auto* button = static_cast<QToolButton*>(Widget())) {
        button->setAutoRepeat(Value);
        button->setAutoRepeatDelay(Delay);
        button->setAutoRepeatInterval(Interval);
    }
}

void TSpeedButton::SetFocusFrame(bool Value)
{
    SetAndNotify(FFocusFrame, Value, [this, Value] {
        if (auto* button = static_cast<SpeedButtonWidget*>(Widget())) {
            button->FocusFrame = Value;
            button->update();
        }
    });
}

void TSpeedButton::SetTakesFocus(bool Value)
{
    if (QWidget* w = Widget())
        w->setFocusPolicy(Value ? Qt::TabFocus : Qt::NoFocus);
}

void TSpeedButton::SetFlat(bool Value)
{
    FFlat = Value;
    if (auto* button = static_cast<QToolButton*>(Widget()))
        button->setAutoRaise(Value);
}

void TSpeedButton::TextChanged()
{
    if (auto* button = static_cast<QToolButton*>(Widget()))
        button->setText(Q(FText));
}

// ---- TBitBtn ----------------------------------------------------------------------

TBitBtn::TBitBtn(TComponent* AOwner) : TWinControl(AOwner)
{
    auto* button = new QPushButton;
    button->setAutoDefault(false);
    SetWidget(button);
    QObject::connect(button, &QPushButton::clicked, button, [this] { GuardedCall([this] { Click(); }); });
    SetBounds(0, 0, 75, 25);
}

void TBitBtn::SetKind(TBitBtnKind Value)
{
    FKind = Value;
    switch (Value) {
    case bkOK:
        SetCaption("OK");
        FModalResult = mrOk;
        break;
    case bkCancel:
        SetCaption("Cancel");
        FModalResult = mrCancel;
        break;
    case bkClose:
        SetCaption("&Close");
        FModalResult = mrNone;
        break;
    case bkCustom:
        break;
    }
}

void TBitBtn::Click()
{
    TForm* form = GetParentForm(this);
    if (FKind == bkClose && form != nullptr) {
        form->Close();
        return;
    }
    if (form != nullptr && FModalResult != mrNone)
        form->SetModalResult(FModalResult);
    TWinControl::Click();
}

void TBitBtn::TextChanged()
{
    if (auto* button = static_cast<QPushButton*>(Widget()))
        button->setText(Q(FText));
}
