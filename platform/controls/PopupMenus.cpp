#include "PopupMenus.h"

#include "Controls.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QWidget>

struct TPopupMenu::Connection {
    QMetaObject::Connection Request;
    QPointer<QWidget> Widget;
};

TPopupMenu::TPopupMenu(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr)), FConnection(std::make_unique<Connection>())
{
}

TPopupMenu::~TPopupMenu()
{
    BindTo(nullptr);
    FItems.reset();
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    if (AComponent == FBound) {
        QObject::disconnect(FConnection->Request);
        FBound = nullptr;
    }
    if (AComponent == FPopupComponent)
        FPopupComponent = nullptr;
}

void TPopupMenu::BindTo(TControl* Control)
{
    if (FBound == Control)
        return;
    if (FBound != nullptr) {
        QObject::disconnect(FConnection->Request);
        if (FConnection->Widget)
            FConnection->Widget->setContextMenuPolicy(Qt::DefaultContextMenu);
        if (FBound != FPopupComponent)
            FBound->RemoveFreeNotification(this);
    }
    FBound = Control;
    FConnection->Widget = nullptr;
    if (FBound == nullptr || FBound->Widget() == nullptr)
        return;
    FBound->FreeNotification(this);
    QWidget* widget = FBound->Widget();
    FConnection->Widget = widget;
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    FConnection->Request = QObject::connect(widget, &QWidget::customContextMenuRequested, widget,
                                            [this, widget](const QPoint& At) {
                                                // A scrolling view (grid, memo, list) reports the point in
                                                // its viewport, inside its headers and frame.
                                                QPoint at = At;
                                                if (auto* scroll = qobject_cast<QAbstractScrollArea*>(widget))
                                                    at = scroll->viewport()->mapTo(widget, At);
                                                GuardedCall([this, at] { PopupFor(FBound, at.x(), at.y()); });
                                            });
}

void TPopupMenu::Popup(int X, int Y)
{
    if (OnPopup)
        OnPopup(this);
    if (QMenu* menu = FItems->Action()->menu())
        menu->popup(QPoint(X, Y));
}

void TPopupMenu::PopupFor(TControl* Control, int X, int Y)
{
    if (FPopupComponent != nullptr && FPopupComponent != FBound)
        FPopupComponent->RemoveFreeNotification(this);
    FPopupComponent = Control;
    QPoint at(X, Y);
    if (Control != nullptr) {
        Control->FreeNotification(this);
        if (QWidget* widget = Control->Widget())
            at = widget->mapToGlobal(at);
    }
    Popup(at.x(), at.y());
}

bool TPopupMenu::Showing() const
{
    QMenu* menu = FItems->Action()->menu();
    return menu != nullptr && menu->isVisible();
}

void TPopupMenu::CloseUp()
{
    if (QMenu* menu = FItems->Action()->menu())
        menu->hide();
}
