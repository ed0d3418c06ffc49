#include "DragDrop.h"

#include "ListBoxes.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>

namespace {

const char* const DragFormat = "application/x-hcapprox-control";
const char* const TargetFilterName = "controlDropTarget";
const char* const SourceFilterName = "controlDragSource";

// The control being dragged while a drag of this program runs.
TControl* CurrentSource = nullptr;

// The widgets that receive a control's mouse and drag events: the widget, and the
// viewport of a scrolling widget.
std::vector<QWidget*> EventWidgets(const TControl* Control)
{
    std::vector<QWidget*> widgets;
    if (QWidget* w = Control->Widget()) {
        widgets.push_back(w);
        if (auto* area = qobject_cast<QAbstractScrollArea*>(w))
            widgets.push_back(area->viewport());
    }
    return widgets;
}

QPoint InControl(const TControl* Control, QWidget* Receiver, const QPointF& At)
{
    const QPoint p = At.toPoint();
    QWidget* w = Control->Widget();
    return Receiver == w ? p : Receiver->mapTo(w, p);
}

class DropFilter : public QObject {
public:
    DropFilter(TControl* Control, QObject* Parent) : QObject(Parent), FControl(Control)
    {
        setObjectName(TargetFilterName);
    }
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;

    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        const QEvent::Type type = Event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            return false;
        auto* drop = static_cast<QDropEvent*>(Event);
        if (CurrentSource == nullptr || !drop->mimeData()->hasFormat(DragFormat)) {
            drop->ignore();
            return true;
        }
        const QPoint at = InControl(FControl, static_cast<QWidget*>(Watched), drop->position());
        bool taken = false;
        GuardedCall([&] {
            taken = type == QEvent::Drop ? DropOnTarget(FControl, CurrentSource, at.x(), at.y())
                                         : DragOverTarget(FControl, CurrentSource, at.x(), at.y());
        });
        if (taken) {
            drop->setDropAction(Qt::MoveAction);
            drop->accept();
        } else {
            drop->ignore();
        }
        return true;
    }

private:
    TControl* FControl;
};

class DragFilter : public QObject {
public:
    DragFilter(TControl* Control, QObject* Parent) : QObject(Parent), FControl(Control)
    {
        setObjectName(SourceFilterName);
    }

    bool eventFilter(QObject*, QEvent* Event) override
    {
        if (Event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(Event);
            FPressed = mouse->button() == Qt::LeftButton;
            FStart = mouse->globalPosition().toPoint();
        } else if (Event->type() == QEvent::MouseButtonRelease) {
            FPressed = false;
        } else if (Event->type() == QEvent::MouseMove && FPressed) {
            auto* mouse = static_cast<QMouseEvent*>(Event);
            if ((mouse->globalPosition().toPoint() - FStart).manhattanLength() >= QApplication::startDragDistance()) {
                FPressed = false;
                StartDrag();
                return true;
            }
        }
        return false;
    }

private:
    void StartDrag()
    {
        auto* drag = new QDrag(FControl->Widget());
        auto* data = new QMimeData;
        data->setData(DragFormat, QByteArray());
        drag->setMimeData(data);
        CurrentSource = FControl;
        drag->exec(Qt::MoveAction);
        CurrentSource = nullptr;
    }

    TControl* FControl;
    bool FPressed = false;
    QPoint FStart;
};

template <class Filter>
Filter* FindFilter(const TControl* Control, const char* Name)
{
    QWidget* w = Control != nullptr ? Control->Widget() : nullptr;
    if (w == nullptr)
        return nullptr;
    return static_cast<Filter*>(w->findChild<QObject*>(Name, Qt::FindDirectChildrenOnly));
}

} // namespace

void SetDragSource(TControl* Control, bool Value)
{
    if (Control == nullptr || Control->Widget() == nullptr)
        return;
    auto* existing = FindFilter<DragFilter>(Control, SourceFilterName);
    if (Value == (existing != nullptr))
        return;
    if (existing != nullptr) {
        delete existing;   // leaves the widgets' filter lists as it goes
        return;
    }
    auto* filter = new DragFilter(Control, Control->Widget());
    for (QWidget* w : EventWidgets(Control))
        w->installEventFilter(filter);
}

void SetDropTarget(TControl* Control, TDragOverEvent OnDragOver, TDragDropEvent OnDragDrop)
{
    if (Control == nullptr || Control->Widget() == nullptr)
        return;
    auto* filter = FindFilter<DropFilter>(Control, TargetFilterName);
    const bool target = OnDragOver || OnDragDrop;
    if (!target) {
        delete filter;
        for (QWidget* w : EventWidgets(Control))
            w->setAcceptDrops(false);
        return;
    }
    if (filter == nullptr) {
        filter = new DropFilter(Control, Control->Widget());
        for (QWidget* w : EventWidgets(Control)) {
            w->setAcceptDrops(true);
            w->installEventFilter(filter);
        }
    }
    filter->OnDragOver = std::move(OnDragOver);
    filter->OnDragDrop = std::move(OnDragDrop);
}

bool IsDropTarget(const TControl* Control)
{
    return FindFilter<DropFilter>(Control, TargetFilterName) != nullptr;
}

bool DragOverTarget(TControl* Target, TControl* Source, int X, int Y)
{
    auto* filter = FindFilter<DropFilter>(Target, TargetFilterName);
    if (filter == nullptr)
        return false;
    bool accept = true;
    if (filter->OnDragOver)
        filter->OnDragOver(Target, Source, X, Y, accept);
    return accept;
}

bool DropOnTarget(TControl* Target, TControl* Source, int X, int Y)
{
    if (!DragOverTarget(Target, Source, X, Y))
        return false;
    auto* filter = FindFilter<DropFilter>(Target, TargetFilterName);
    if (filter->OnDragDrop)
        filter->OnDragDrop(Target, Source, X, Y);
    return true;
}

int ListItemAtPos(const TListBox* Box, int X, int Y)
{
    auto* list = Box != nullptr ? qobject_cast<QListWidget*>(Box->Widget()) : nullptr;
    if (list == nullptr)
        return -1;
    QListWidgetItem* item = list->itemAt(list->viewport()->mapFrom(list, QPoint(X, Y)));
    return item != nullptr ? list->row(item) : -1;
}
