#include "ExtCtrls.h"

#include "QtBridge.h"
#include "StdCtrls.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
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

// ---- TRadioGroup ------------------------------------------------------------------

namespace {

// One button of a radio group: a plain widget holder, so that the group's items can be
// reached as controls.
class TGroupButton : public TControl {
public:
    explicit TGroupButton(TComponent* AOwner) : TControl(AOwner) { SetWidget(new QRadioButton); }
    QRadioButton* Button() const { return static_cast<QRadioButton*>(Widget()); }
};

} // namespace

TRadioGroup::TRadioGroup(TComponent* AOwner) : TWinControl(AOwner), FItems(std::make_unique<TStringList>())
{
    auto* box = new QGroupBox;
    new QGridLayout(box);
    SetWidget(box);
    FItems->OnChange = [this](TObject*) { RebuildButtons(); };
    SetBounds(0, 0, 185, 105);
}

TRadioGroup::~TRadioGroup()
{
    FItems->OnChange = nullptr;
    for (TControl* b : FButtons)
        delete b;
}

TStrings* TRadioGroup::Items() const
{
    return FItems.get();
}

TControl* TRadioGroup::Buttons(int Index) const
{
    if (Index < 0 || Index >= static_cast<int>(FButtons.size()))
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FButtons[static_cast<size_t>(Index)];
}

void TRadioGroup::SetColumns(int Value)
{
    FColumns = std::max(Value, 1);
    RebuildButtons();
}

void TRadioGroup::RebuildButtons()
{
    auto* box = static_cast<QGroupBox*>(Widget());
    if (box == nullptr)
        return;
    for (TControl* b : FButtons)
        delete b;
    FButtons.clear();
    auto* grid = static_cast<QGridLayout*>(box->layout());
    const int count = FItems->Count();
    const int rows = (count + FColumns - 1) / FColumns;
    for (int i = 0; i < count; ++i) {
        auto* item = new TGroupButton(nullptr);
        QRadioButton* button = item->Button();
        button->setObjectName(Q(Name() + "_" + std::to_string(i)));
        button->setText(Q(FItems->Get(i)));
        button->setParent(box);
        button->setChecked(i == FItemIndex);
        button->show();
        grid->addWidget(button, rows > 0 ? i % rows : 0, rows > 0 ? i / rows : 0);
        QObject::connect(button, &QRadioButton::toggled, button, [this, i](bool on) {
            if (on && !FUpdating)
                GuardedCall([this, i] { SetItemIndex(i); });
        });
        FButtons.push_back(item);
    }
    if (FItemIndex >= count)
        FItemIndex = -1;
}

void TRadioGroup::SetItemIndex(int Value)
{
    if (Value < -1)
        Value = -1;
    if (Value >= static_cast<int>(FButtons.size()))
        Value = static_cast<int>(FButtons.size()) - 1;
    SetAndNotify(FItemIndex, Value, [this, Value] {
        FUpdating = true;
        for (size_t i = 0; i < FButtons.size(); ++i) {
            QRadioButton* button = static_cast<TGroupButton*>(FButtons[i])->Button();
            button->setAutoExclusive(false);
            button->setChecked(static_cast<int>(i) == Value);
            button->setAutoExclusive(true);
        }
        FUpdating = false;
        Click();
    });
}

void TRadioGroup::TextChanged()
{
    if (auto* box = static_cast<QGroupBox*>(Widget()))
        box->setTitle(Q(FText));
}
