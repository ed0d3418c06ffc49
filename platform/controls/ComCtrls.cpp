#include "ComCtrls.h"

#include "QtBridge.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

using namespace ctlqt;

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner)
{
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* up = new QToolButton(panel);
    up->setObjectName("up");
    up->setArrowType(Qt::UpArrow);
    up->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* down = new QToolButton(panel);
    down->setObjectName("down");
    down->setArrowType(Qt::DownArrow);
    down->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(up);
    layout->addWidget(down);
    up->setAutoRepeat(true);
    down->setAutoRepeat(true);
    SetWidget(panel);
    QObject::connect(up, &QToolButton::clicked, panel, [this] { GuardedCall([this] { StepUp(); }); });
    QObject::connect(down, &QToolButton::clicked, panel, [this] { GuardedCall([this] { StepDown(); }); });
    SetBounds(0, 0, 16, 24);
}

TUpDown::~TUpDown()
{
    if (FAssociate != nullptr)
        FAssociate->RemoveFreeNotification(this);
}

int TUpDown::Clamp(int Value) const
{
    return std::clamp(Value, std::min(FMin, FMax), std::max(FMin, FMax));
}

void TUpDown::SetMin(int Value)
{
    FMin = Value;
    FPosition = Clamp(FPosition);
}

void TUpDown::SetMax(int Value)
{
    FMax = Value;
    FPosition = Clamp(FPosition);
}

int TUpDown::Position() const
{
    if (FAssociate != nullptr) {
        int typed = 0;
        if (TryStrToInt(Trim(FAssociate->Text()), typed))
            FPosition = Clamp(typed);
    }
    return FPosition;
}

void TUpDown::SetPosition(int Value)
{
    FPosition = Clamp(Value);
    ShowInAssociate();
}

void TUpDown::ShowInAssociate()
{
    if (FAssociate != nullptr)
        FAssociate->SetText(IntToStr(FPosition));
}

void TUpDown::StepUp()
{
    const int old = Position();
    SetPosition(old + FIncrement);
    if (FPosition != old && OnChange)
        OnChange(this);
}

void TUpDown::StepDown()
{
    const int old = Position();
    SetPosition(old - FIncrement);
    if (FPosition != old && OnChange)
        OnChange(this);
}

void TUpDown::SetAssociate(TWinControl* Value)
{
    if (Value == FAssociate || Value == this)
        return;
    if (FAssociate != nullptr)
        FAssociate->RemoveFreeNotification(this);
    FAssociate = Value;
    if (FAssociate == nullptr)
        return;
    FAssociate->FreeNotification(this);
    // The up-down takes the right end of the edit.
    const int width = Width();
    FAssociate->SetWidth(std::max(FAssociate->Width() - width, 0));
    if (FAssociate->Parent() != nullptr && Parent() != FAssociate->Parent())
        SetParent(FAssociate->Parent());
    SetBounds(FAssociate->Left() + FAssociate->Width(), FAssociate->Top(), width, FAssociate->Height());
    ShowInAssociate();
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FAssociate)
        FAssociate = nullptr;
}
