#include "InplaceEdit.h"

#include "KeysQt.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QObject>

class TInplaceEdit::KeyFilter : public QObject {
public:
    explicit KeyFilter(TInplaceEdit* Edit) : FEdit(Edit) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* e = static_cast<QKeyEvent*>(event);
        uint16_t key = ctlqt::VirtualKeyOf(e->key());
        if (key == 0)
            return false;
        FEdit->DispatchKeyDown(key, ctlqt::ShiftOf(e->modifiers(), Qt::NoButton));
        return key == 0;
    }

private:
    TInplaceEdit* FEdit;
};

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TEdit(AOwner)
{
    if (QWidget* w = Widget()) {
        auto* filter = new KeyFilter(this);
        filter->setParent(w);
        w->installEventFilter(filter);
    }
}

TInplaceEdit::~TInplaceEdit() = default;

void TInplaceEdit::DispatchKeyDown(uint16_t& Key, TShiftState Shift)
{
    if (OnKeyDown)
        GuardedCall([&] { OnKeyDown(this, Key, Shift); });
}
