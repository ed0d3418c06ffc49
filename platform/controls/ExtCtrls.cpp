#include "ExtCtrls.h"

#include "QtBridge.h"
#include "StdCtrls.h"

#include <QFrame>
#include <QPainter>

#include <algorithm>

using namespace ctlqt;

namespace {

// A frame that draws its caption centred, as a platform panel does.
class PanelWidget : public QFrame {
public:
    QString Caption;

protected:
    void paintEvent(QPaintEvent* Event) override
    {
        QFrame::paintEvent(Event);
        if (Caption.isEmpty())
            return;
        QPainter p(this);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(contentsRect(), Qt::AlignCenter, Caption);
    }
};

} // namespace

TPanel::TPanel(TComponent* AOwner) : TWinControl(AOwner)
{
    SetWidget(new PanelWidget);
    ApplyBevel();
    SetBounds(0, 0, 185, 41);
}

void TPanel::SetBevelOuter(TPanelBevel Value)
{
    FBevelOuter = Value;
    ApplyBevel();
    Realign();
}

void TPanel::SetBevelWidth(int Value)
{
    FBevelWidth = std::max(Value, 1);
    ApplyBevel();
    Realign();
}

void TPanel::ApplyBevel()
{
    auto* frame = static_cast<QFrame*>(Widget());
    if (frame == nullptr)
        return;
    switch (FBevelOuter) {
    case bvNone:
    case bvSpace: frame->setFrameStyle(QFrame::NoFrame); break;
    case bvLowered: frame->setFrameStyle(QFrame::Panel | QFrame::Sunken); break;
    case bvRaised: frame->setFrameStyle(QFrame::Panel | QFrame::Raised); break;
    }
    frame->setLineWidth(FBevelWidth);
}

void TPanel::GetClientArea(int& ALeft, int& ATop, int& AWidth, int& AHeight) const
{
    const int border = FBevelOuter == bvNone ? 0 : FBevelWidth;
    ALeft = border;
    ATop = border;
    AWidth = std::max(Width() - 2 * border, 0);
    AHeight = std::max(Height() - 2 * border, 0);
}

void TPanel::TextChanged()
{
    if (auto* panel = static_cast<PanelWidget*>(Widget())) {
        panel->Caption = Q(StripHotkey(FText));
        panel->update();
    }
}
