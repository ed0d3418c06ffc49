#include "ListBoxes.h"

#include "OwnerDrawItems.h"
#include "graphics/Bitmap.h"
#include "graphics/QtBridge.h"

#include "QtBridge.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QSignalBlocker>

#include <functional>

using namespace ctlqt;

namespace {

const char* SListIndexError = "List index out of bounds (%d)";

// The items of a list box, kept by the toolkit list; each item's object rides in its data.
class TListBoxStrings : public TStrings {
public:
    explicit TListBoxStrings(TListBox* ABox) : FBox(ABox) {}

    int Count() const override { return List() != nullptr ? List()->count() : 0; }

    std::string Get(int Index) const override
    {
        CheckIndex(Index);
        return S(List()->item(Index)->text());
    }

    void Put(int Index, const std::string& Value) override
    {
        CheckIndex(Index);
        List()->item(Index)->setText(Q(Value));
    }

    TObject* GetObject(int Index) const override
    {
        CheckIndex(Index);
        return reinterpret_cast<TObject*>(List()->item(Index)->data(Qt::UserRole).value<quintptr>());
    }

    void PutObject(int Index, TObject* AObject) override
    {
        CheckIndex(Index);
        List()->item(Index)->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(AObject)));
    }

    void Insert(int Index, const std::string& Value) override
    {
        QListWidget* list = List();
        if (list == nullptr)
            return;
        if (Index < 0 || Index > Count())
            Error(SListIndexError, Index);
        const QSignalBlocker block(list);
        list->insertItem(Index, Q(Value));
    }

    void Delete(int Index) override
    {
        CheckIndex(Index);
        const QSignalBlocker block(List());
        delete List()->takeItem(Index);
    }

    void Clear() override
    {
        if (QListWidget* list = List()) {
            const QSignalBlocker block(list);
            list->clear();
        }
    }

protected:
    void SetUpdateState(bool Updating) override
    {
        if (QListWidget* list = List())
            list->setUpdatesEnabled(!Updating);
    }

private:
    QListWidget* List() const { return static_cast<QListWidget*>(FBox->Widget()); }
    void CheckIndex(int Index) const
    {
        if (Index < 0 || Index >= Count())
            Error(SListIndexError, Index);
    }

    TListBox* FBox;
};

QListWidget* ListOf(const TListBox* Box)
{
    return static_cast<QListWidget*>(Box->Widget());
}

// The toolkit list of a list box. A key that moves the current item (arrows, page keys,
// Home, End, a typed initial) is a choice by the user, reported as a click, as the mouse's
// is; the program's own changes report nothing.
class TKeyClickList : public QListWidget {
public:
    std::function<void()> KeyMoved;

protected:
    void keyPressEvent(QKeyEvent* Event) override
    {
        const int before = currentRow();
        QListWidget::keyPressEvent(Event);
        if (currentRow() != before && currentRow() >= 0 && KeyMoved)
            KeyMoved();
    }
};

} // namespace

// Lets the owner draw the items of an owner-drawn list box.
class ListItemsDelegate : public QStyledItemDelegate {
public:
    ListItemsDelegate(TListBox* AControl, QObject* AParent) : QStyledItemDelegate(AParent), FControl(AControl) {}

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override
    {
        if (FControl->Style() != lbOwnerDrawFixed) {
            QStyledItemDelegate::paint(Painter, Option, Index);
            return;
        }
        PaintOwnerDrawnRow(Painter, Option, [&](QImage& Image, const TRect& Rect, TOwnerDrawState State) {
            FControl->DrawItem(Image, Index.row(), Rect, State);
        });
    }

    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(Option, Index);
        if (FControl->Style() == lbOwnerDrawFixed)
            size.setHeight(FControl->ItemHeight());
        return size;
    }

private:
    TListBox* FControl;
};

TListBox::TListBox(TComponent* AOwner) : TWinControl(AOwner)
{
    auto* list = new TKeyClickList;
    SetWidget(list);
    FItems = std::make_unique<TListBoxStrings>(this);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->KeyMoved = [this] { GuardedCall([this] { Click(); }); };
    QObject::connect(list, &QListWidget::itemClicked, list, [this](QListWidgetItem*) { GuardedCall([this] { Click(); }); });
    QObject::connect(list, &QListWidget::itemDoubleClicked, list, [this](QListWidgetItem*) {
        GuardedCall([this] {
            if (OnDblClick)
                OnDblClick(this);
        });
    });
    SetBounds(0, 0, 121, 97);
}

TListBox::~TListBox() = default;

void TListBox::SetStyle(TListBoxStyle Value)
{
    FStyle = Value;
    auto* list = static_cast<QListWidget*>(Widget());
    if (Value == lbOwnerDrawFixed && dynamic_cast<ListItemsDelegate*>(list->itemDelegate()) == nullptr)
        list->setItemDelegate(new ListItemsDelegate(this, list));
    list->setUniformItemSizes(Value == lbOwnerDrawFixed);
    list->doItemsLayout();
}

void TListBox::SetItemHeight(int Value)
{
    FItemHeight = std::max(1, Value);
    static_cast<QListWidget*>(Widget())->doItemsLayout();
}

void TListBox::DrawItem(QImage& Image, int Index, const TRect& Rect, TOwnerDrawState State)
{
    DrawOwnerDrawnItem(Image, Rect, State, clWindow, [&](TCanvas& Canvas) {
        TCanvas* previous = FDrawCanvas;
        FDrawCanvas = &Canvas;
        GuardedCall([&] {
            if (OnDrawItem) {
                OnDrawItem(this, Index, Rect, State);
            } else {
                Canvas.FillRect(Rect);
                if (Index >= 0 && Index < FItems->Count())
                    Canvas.TextOut(Rect.Left + 2, Rect.Top, FItems->Get(Index));
            }
        });
        FDrawCanvas = previous;
    });
}

void TListBox::PaintItemTo(TBitmap* Bitmap, int Index, TOwnerDrawState State)
{
    if (Bitmap == nullptr)
        return;
    Bitmap->SetSize(std::max(Width(), 1), FItemHeight);
    Bitmap->Canvas()->Flush();
    DrawItem(Bitmap->impl().Image(), Index, TRect(0, 0, Bitmap->Width(), FItemHeight), State);
}

void TListBox::SetMultiSelect(bool Value)
{
    FMultiSelect = Value;
    if (QListWidget* list = ListOf(this))
        list->setSelectionMode(Value ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

int TListBox::ItemIndex() const
{
    QListWidget* list = ListOf(this);
    return list != nullptr ? list->currentRow() : -1;
}

void TListBox::SetItemIndex(int Value)
{
    QListWidget* list = ListOf(this);
    if (list == nullptr)
        return;
    if (Value < -1 || Value >= list->count())
        Value = -1;
    const QSignalBlocker block(list);
    if (Value < 0) {
        list->setCurrentRow(-1);
        list->clearSelection();
    } else {
        list->setCurrentRow(Value, FMultiSelect ? QItemSelectionModel::Current : QItemSelectionModel::ClearAndSelect);
    }
}

bool TListBox::Selected(int Index) const
{
    if (Index < 0 || Index >= FItems->Count())
        throw EListError(Format(SListIndexError, {Index}));
    return ListOf(this)->item(Index)->isSelected();
}

void TListBox::SetSelected(int Index, bool Value)
{
    if (Index < 0 || Index >= FItems->Count())
        throw EListError(Format(SListIndexError, {Index}));
    QListWidget* list = ListOf(this);
    const QSignalBlocker block(list);
    if (Value && !FMultiSelect)
        list->clearSelection();
    list->item(Index)->setSelected(Value);
}

int TListBox::SelCount() const
{
    QListWidget* list = ListOf(this);
    return list != nullptr ? static_cast<int>(list->selectedItems().size()) : 0;
}

// ---- TCheckListBox -----------------------------------------------------------------------

namespace {
// The check state the program last set or the user last chose.
constexpr int KnownCheckRole = Qt::UserRole + 1;

Qt::CheckState ToQt(TCheckBoxState State)
{
    return State == cbChecked ? Qt::Checked : State == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked;
}
} // namespace

TCheckListBox::TCheckListBox(TComponent* AOwner) : TListBox(AOwner)
{
    QListWidget* list = ListOf(this);
    // Other changes of an item (its text, its object) are not a click on its check.
    QObject::connect(list, &QListWidget::itemChanged, list, [this, list](QListWidgetItem* item) {
        const QVariant known = item->data(KnownCheckRole);
        if (!known.isValid() || known.toInt() == int(item->checkState()))
            return;
        item->setData(KnownCheckRole, int(item->checkState()));
        GuardedCall([this, list, item] {
            const QSignalBlocker block(list);
            list->setCurrentItem(item);
            if (OnClickCheck)
                OnClickCheck(this);
        });
    });
}

TCheckBoxState TCheckListBox::State(int Index) const
{
    if (Index < 0 || Index >= Items()->Count())
        throw EListError(Format(SListIndexError, {Index}));
    const Qt::CheckState state = ListOf(this)->item(Index)->checkState();
    return state == Qt::Checked ? cbChecked : state == Qt::PartiallyChecked ? cbGrayed : cbUnchecked;
}

void TCheckListBox::SetState(int Index, TCheckBoxState Value)
{
    if (Index < 0 || Index >= Items()->Count())
        throw EListError(Format(SListIndexError, {Index}));
    QListWidget* list = ListOf(this);
    const QSignalBlocker block(list);
    QListWidgetItem* item = list->item(Index);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(ToQt(Value));
    item->setData(KnownCheckRole, int(ToQt(Value)));
}
