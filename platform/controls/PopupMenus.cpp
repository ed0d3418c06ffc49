#include "PopupMenus.h"

#include "Controls.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <utility>

namespace {

// Shift+F10 asks for the bound control's menu, as the Menu key does: at the current
// item of a list or grid, else at the control's middle.
class MenuKeyFilter : public QObject {
public:
    MenuKeyFilter(QWidget* Widget, std::function<void(QPoint)> Show) : QObject(Widget), FShow(std::move(Show)) {}

    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(Event);
        if (key->key() != Qt::Key_F10 || key->modifiers() != Qt::ShiftModifier)
            return false;
        auto* widget = static_cast<QWidget*>(parent());
        QPoint at = widget->rect().center();
        if (auto* view = qobject_cast<QAbstractItemView*>(widget); view != nullptr && view->currentIndex().isValid())
            at = view->viewport()->mapTo(view, view->visualRect(view->currentIndex()).center());
        FShow(at);
        return true;
    }

private:
    std::function<void(QPoint)> FShow;
};

} // namespace

struct TPopupMenu::Connection {
    QMetaObject::Connection Request;
    QPointer<QWidget> Widget;
    QPointer<QObject> KeyFilter;
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
        delete FConnection->KeyFilter.data();
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
        delete FConnection->KeyFilter.data();
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
    auto* filter = new MenuKeyFilter(widget, [this](QPoint At) {
        GuardedCall([this, At] { PopupFor(FBound, At.x(), At.y()); });
    });
    widget->installEventFilter(filter);
    FConnection->KeyFilter = filter;
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
