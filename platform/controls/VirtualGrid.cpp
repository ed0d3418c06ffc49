#include "VirtualGrid.h"

#include "KeysQt.h"
#include "QtBridge.h"

#include "graphics/Bitmap.h"
#include "graphics/QtBridge.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>

using namespace ctlqt;

namespace {

// The model: data rows and columns only; the fixed row and column are the headings.
class GridModel : public QAbstractTableModel {
public:
    explicit GridModel(TVirtualGrid* Grid) : FGrid(Grid) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : std::max(0, FGrid->RowCount() - FGrid->FixedRows());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : std::max(0, FGrid->ColCount() - 1);
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        const int col = index.column() + 1, row = index.row() + FGrid->FixedRows();
        try {
            switch (role) {
            case Qt::EditRole:
                if (FGrid->OnGetEditText)
                    return Q(FGrid->OnGetEditText(col, row));
                [[fallthrough]];
            case Qt::DisplayRole:
                return FGrid->OnGetText ? Q(FGrid->OnGetText(col, row)) : QString();
            case Qt::BackgroundRole:
                if (FGrid->OnGetFill) {
                    const TColor c = FGrid->OnGetFill(col, row);
                    if (c != clNone)
                        return QBrush(qtbridge::ToQColor(c));
                }
                return {};
            case Qt::TextAlignmentRole: {
                const bool left = FGrid->OnLeftAligned && FGrid->OnLeftAligned(col, row);
                return QVariant::fromValue(Qt::AlignVCenter | (left ? Qt::AlignLeft : Qt::AlignRight));
            }
            default:
                return {};
            }
        } catch (...) {
            // A cell that cannot be shown stays empty; painting goes on.
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        try {
            if (orientation == Qt::Vertical) {
                if (role == Qt::DisplayRole && FGrid->OnGetText)
                    return Q(FGrid->OnGetText(0, section + FGrid->FixedRows()));
                if (role == Qt::TextAlignmentRole)
                    return QVariant::fromValue(Qt::AlignVCenter | Qt::AlignRight);
                return {};
            }
            const int col = section + 1;
            if (role == Qt::DisplayRole && FGrid->OnGetText) {
                QStringList lines;
                for (int r = 0; r < FGrid->FixedRows(); ++r)
                    lines << Q(FGrid->OnGetText(col, r));
                return lines.join('\n');
            }
            if (role == Qt::DecorationRole && FGrid->OnGetHeadingPicture) {
                TBitmap picture;
                FGrid->OnGetHeadingPicture(col, &picture);
                if (!picture.Empty()) {
                    picture.Canvas()->Flush();
                    return QPixmap::fromImage(picture.impl().Image());
                }
            }
            if (role == Qt::TextAlignmentRole)
                return QVariant::fromValue(Qt::AlignVCenter | Qt::AlignLeft);
        } catch (...) {
            return {};
        }
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (index.isValid() && FGrid->Options().Test(goEditing)) {
            bool editable = true;
            if (FGrid->OnCanEdit) {
                try {
                    editable = FGrid->OnCanEdit(index.column() + 1, index.row() + FGrid->FixedRows());
                } catch (...) {
                    editable = false;
                }
            }
            if (editable)
                f |= Qt::ItemIsEditable;
        }
        return f;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (!index.isValid() || role != Qt::EditRole || !FGrid->OnSetText)
            return false;
        const int col = index.column() + 1, row = index.row() + FGrid->FixedRows();
        const std::string text = S(value.toString());
        bool stored = false;
        GuardedCall([&] {
            FGrid->OnSetText(col, row, text);
            stored = true;
        });
        if (stored)
            emit dataChanged(index, index);
        return stored;
    }

    void Reset(const std::function<void()>& Change)
    {
        beginResetModel();
        Change();
        endResetModel();
    }
    using QAbstractTableModel::beginInsertRows;
    using QAbstractTableModel::beginRemoveRows;
    using QAbstractTableModel::endInsertRows;
    using QAbstractTableModel::endRemoveRows;
    void Refresh()
    {
        if (rowCount() > 0 && columnCount() > 0)
            emit dataChanged(this->index(0, 0), this->index(rowCount() - 1, columnCount() - 1));
        emit headerDataChanged(Qt::Horizontal, 0, std::max(0, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, 0, std::max(0, rowCount() - 1));
    }

private:
    TVirtualGrid* FGrid;
};

// The editor's delegate: keeps the open editor so that the grid can read, set, keep or
// discard its text.
class GridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QPointer<QLineEdit> Editor;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        const_cast<GridDelegate*>(this)->Editor = editor;
        return editor;
    }
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override
    {
        if (Editor == editor)
            const_cast<GridDelegate*>(this)->Editor = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
    }
    // A filled cell keeps its fill while it is selected: the selection shows as a frame
    // around it, so that a colour just chosen for the current cell is seen.
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        const QVariant fill = index.data(Qt::BackgroundRole);
        if ((option.state & QStyle::State_Selected) != 0 && fill.canConvert<QBrush>())
            painter->fillRect(option.rect.adjusted(2, 2, -2, -2), fill.value<QBrush>());
    }
};

} // namespace

// The table view: hands the grid the keys it does not use for editing.
class VirtualGridView : public QTableView {
public:
    explicit VirtualGridView(TVirtualGrid* Grid) : FGrid(Grid) {}
    using QTableView::edit;
    bool Editing() const { return state() == QAbstractItemView::EditingState; }

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (FGrid->OnKeyDown && state() != QAbstractItemView::EditingState) {
            uint16_t key = VirtualKeyOf(e->key());
            const TShiftState shift = ShiftOf(e->modifiers(), Qt::NoButton);
            if (key != 0) {
                GuardedCall([&] { FGrid->OnKeyDown(FGrid, key, shift); });
                if (key == 0)
                    return;
            }
        }
        // Tab walks the cells; from the last cell (Shift+Tab: the first) it leaves the grid
        // for the next (previous) control instead of going round, so that the keyboard
        // is not held in the grid. The event goes back unaccepted and the focus moves on.
        if ((e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) && AtTabEnd(e->key() == Qt::Key_Backtab)) {
            e->ignore();
            return;
        }
        QTableView::keyPressEvent(e);
    }
    bool AtTabEnd(bool Back) const
    {
        const QModelIndex current = currentIndex();
        if (!current.isValid())
            return true;
        return Back ? current.row() == 0 && current.column() == 0
                    : current.row() == model()->rowCount() - 1 && current.column() == model()->columnCount() - 1;
    }
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override
    {
        // Tab out of the last cell's editor (Shift+Tab out of the first's) keeps the text
        // and leaves the grid, as Tab from the cell itself does.
        bool leave = false, back = false;
        if ((hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem) &&
            AtTabEnd(hint == QAbstractItemDelegate::EditPreviousItem)) {
            leave = true;
            back = hint == QAbstractItemDelegate::EditPreviousItem;
            hint = QAbstractItemDelegate::NoHint;
        }
        CloseEditorKeepingFocus(editor, hint);
        if (leave && hasFocus())
            QAbstractScrollArea::focusNextPrevChild(!back);
    }
    void CloseEditorKeepingFocus(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
    {
        // The editor keeps its window's focus while a message box (a refused value) has
        // the keyboard: the grid takes that focus back, not a window without one.
        const bool focused = editor != nullptr && editor->window()->focusWidget() == editor;
        QTableView::closeEditor(editor, hint);
        if (focused && window()->focusWidget() == editor)
            setFocus();
        if (FGrid->OnEditorChange)
            GuardedCall([&] { FGrid->OnEditorChange(FGrid); });
    }
    // Ctrl with a moving key (Ctrl+Home, Ctrl+End, ...) goes to the cell and selects it, as
    // the platform's grid does; the toolkit would move the current cell alone and leave
    // the selection, drawn as the current cell, behind.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override
    {
        if (event != nullptr && event->type() == QEvent::KeyPress) {
            const Qt::KeyboardModifiers m = static_cast<const QKeyEvent*>(event)->modifiers();
            if ((m & Qt::ControlModifier) != 0 && (m & Qt::ShiftModifier) == 0)
                return QItemSelectionModel::ClearAndSelect;
        }
        return QTableView::selectionCommand(index, event);
    }
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override
    {
        const bool opened = QTableView::edit(index, trigger, event);
        if (opened && trigger != QAbstractItemView::CurrentChanged && FGrid->OnEditorChange)
            GuardedCall([&] { FGrid->OnEditorChange(FGrid); });
        return opened;
    }

private:
    TVirtualGrid* FGrid;
};

struct TVirtualGrid::Impl {
    VirtualGridView* View = nullptr;
    GridModel* Model = nullptr;
    GridDelegate* Delegate = nullptr;
    bool Moving = false;   // the grid itself moves the current cell
};

TVirtualGrid::TVirtualGrid(TComponent* AOwner) : TWinControl(AOwner), d(std::make_unique<Impl>())
{
    auto* view = new VirtualGridView(this);
    d->View = view;
    d->Model = new GridModel(this);
    d->Model->setParent(view);
    d->Delegate = new GridDelegate(view);
    view->setItemDelegate(d->Delegate);
    view->setModel(d->Model);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    view->setTabKeyNavigation(true);
    view->setWordWrap(false);
    // Uniform rows: the view then never measures rows, whatever their number.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(FDefaultRowHeight);
    view->verticalHeader()->setMinimumSectionSize(1);
    view->verticalHeader()->setMinimumWidth(30);
    view->horizontalHeader()->setDefaultSectionSize(FDefaultColWidth);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view->verticalScrollBar()->setTracking(true);
    SetWidget(view);
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentChanged, view,
                     [this](const QModelIndex& current, const QModelIndex&) {
                         if (d->Moving || !current.isValid() || !OnSelectCell)
                             return;
                         const int col = current.column() + 1, row = current.row() + FFixedRows;
                         GuardedCall([&] { OnSelectCell(col, row); });
                     });
    QObject::connect(view, &QAbstractItemView::doubleClicked, view, [this](const QModelIndex& index) {
        if (!index.isValid() || !OnDblClickCell)
            return;
        const int col = index.column() + 1, row = index.row() + FFixedRows;
        GuardedCall([&] { OnDblClickCell(col, row); });
    });
    SetBounds(0, 0, 320, 120);
}

TVirtualGrid::~TVirtualGrid()
{
    // The owner's answers may be gone already: the view asks nothing more.
    if (Widget() != nullptr) {
        d->View->blockSignals(true);
        d->View->selectionModel()->blockSignals(true);
    }
    OnGetText = nullptr;
    OnGetEditText = nullptr;
    OnGetFill = nullptr;
    OnLeftAligned = nullptr;
    OnGetHeadingPicture = nullptr;
    OnCanEdit = nullptr;
    OnSetText = nullptr;
    OnSelectCell = nullptr;
    OnDblClickCell = nullptr;
    OnKeyDown = nullptr;
    OnEditorChange = nullptr;
}

void TVirtualGrid::SetCounts(int AColCount, int ARowCount, int AFixedRows)
{
    AFixedRows = std::max(1, AFixedRows);
    AColCount = std::max(1, AColCount);
    ARowCount = std::max(AFixedRows + 1, ARowCount);
    const int col = Col(), row = Row();
    if (AColCount == FColCount && ARowCount == FRowCount && AFixedRows == FFixedRows) {
        InvalidateGrid();
        return;
    }
    const bool sameColumns = AColCount == FColCount && AFixedRows == FFixedRows;
    const int oldRows = FRowCount - FFixedRows, newRows = ARowCount - AFixedRows;
    d->Moving = true;
    if (sameColumns && newRows > oldRows) {
        // Rows added at the end: the view keeps its place and its column widths.
        d->Model->beginInsertRows(QModelIndex(), oldRows, newRows - 1);
        FRowCount = ARowCount;
        d->Model->endInsertRows();
    } else if (sameColumns && newRows < oldRows) {
        d->Model->beginRemoveRows(QModelIndex(), newRows, oldRows - 1);
        FRowCount = ARowCount;
        d->Model->endRemoveRows();
    } else {
        d->Model->Reset([&] {
            FColCount = AColCount;
            FRowCount = ARowCount;
            FFixedRows = AFixedRows;
        });
    }
    d->Moving = false;
    if (FColCount > 1)
        FocusCell(std::clamp(col, 1, FColCount - 1), std::clamp(row, FFixedRows, FRowCount - 1));
    InvalidateGrid();
}

void TVirtualGrid::SetDefaultColWidth(int Value)
{
    FDefaultColWidth = Value;
    d->View->horizontalHeader()->setDefaultSectionSize(Value);
}

void TVirtualGrid::SetDefaultRowHeight(int Value)
{
    FDefaultRowHeight = Value;
    d->View->verticalHeader()->setDefaultSectionSize(Value);
}

int TVirtualGrid::ColWidths(int ACol) const
{
    if (ACol < 0 || ACol >= FColCount)
        throw ERangeError();
    if (ACol == 0)
        return d->View->verticalHeader()->width();
    return d->View->horizontalHeader()->sectionSize(ACol - 1);
}

int TVirtualGrid::HeadingWidth(int ACol) const
{
    if (ACol < 0 || ACol >= FColCount)
        throw ERangeError();
    if (ACol == 0)
        return d->View->verticalHeader()->sizeHint().width();
    return d->View->horizontalHeader()->sectionSizeHint(ACol - 1);
}

void TVirtualGrid::SetColWidths(int ACol, int Value)
{
    if (ACol < 0 || ACol >= FColCount)
        throw ERangeError();
    if (ACol == 0)
        d->View->verticalHeader()->setMinimumWidth(Value);
    else
        d->View->horizontalHeader()->resizeSection(ACol - 1, Value);
}

void TVirtualGrid::SetOptions(TGridOptions Value)
{
    FOptions = Value;
    InvalidateGrid();
}

int TVirtualGrid::Col() const
{
    const QModelIndex i = d->View->currentIndex();
    return i.isValid() ? i.column() + 1 : std::min(1, FColCount - 1);
}

int TVirtualGrid::Row() const
{
    const QModelIndex i = d->View->currentIndex();
    return i.isValid() ? i.row() + FFixedRows : FFixedRows;
}

void TVirtualGrid::FocusCell(int ACol, int ARow)
{
    if (FColCount < 2)
        return;
    ACol = std::clamp(ACol, 1, FColCount - 1);
    ARow = std::clamp(ARow, FFixedRows, FRowCount - 1);
    const QModelIndex index = d->Model->index(ARow - FFixedRows, ACol - 1);
    if (index == d->View->currentIndex()) {
        if (OnSelectCell)
            OnSelectCell(ACol, ARow);
        return;
    }
    d->View->setCurrentIndex(index);
    d->View->scrollTo(index);
}

int TVirtualGrid::TopRow() const
{
    return d->View->rowAt(0) < 0 ? FFixedRows : d->View->rowAt(0) + FFixedRows;
}

void TVirtualGrid::SetTopRow(int Value)
{
    const int row = std::clamp(Value - FFixedRows, 0, std::max(0, FRowCount - FFixedRows - 1));
    d->View->verticalScrollBar()->setValue(row);
    d->View->scrollTo(d->Model->index(row, 0), QAbstractItemView::PositionAtTop);
}

int TVirtualGrid::VisibleRowCount() const
{
    return std::max(1, d->View->viewport()->height() / std::max(1, FDefaultRowHeight));
}

bool TVirtualGrid::EditorMode() const
{
    return d->Delegate->Editor != nullptr && d->View->Editing();
}

bool TVirtualGrid::ShowEditor()
{
    if (EditorMode())
        return true;
    const QModelIndex index = d->View->currentIndex();
    if (!index.isValid() || !(d->Model->flags(index) & Qt::ItemIsEditable))
        return false;
    d->View->edit(index);
    return EditorMode();
}

void TVirtualGrid::HideEditor(bool Keep)
{
    QLineEdit* editor = d->Delegate->Editor;
    if (editor == nullptr)
        return;
    if (Keep)
        emit d->Delegate->commitData(editor);
    emit d->Delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    d->Delegate->Editor = nullptr;
}

std::string TVirtualGrid::EditorText() const
{
    return d->Delegate->Editor != nullptr ? S(d->Delegate->Editor->text()) : std::string();
}

void TVirtualGrid::SetEditorText(const std::string& Value)
{
    if (d->Delegate->Editor != nullptr)
        d->Delegate->Editor->setText(Q(Value));
}

void TVirtualGrid::InvalidateGrid()
{
    d->Model->Refresh();
    d->View->viewport()->update();
}

void TVirtualGrid::PaintTo(TBitmap* Bitmap)
{
    if (Bitmap == nullptr)
        return;
    QWidget* w = d->View;
    if (w->size() != QSize(Width(), Height()))
        w->resize(Width(), Height());
    if (!w->testAttribute(Qt::WA_WState_Polished))
        w->ensurePolished();
    QImage image(w->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    w->render(&image);
    Bitmap->SetSize(image.width(), image.height());
    Bitmap->Canvas()->Flush();
    QPainter p(&Bitmap->impl().Image());
    p.drawImage(0, 0, image);
}
