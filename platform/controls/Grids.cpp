#include "Grids.h"

#include "QtBridge.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <algorithm>
#include <functional>

using namespace ctlqt;

namespace {

QTableWidget* Table(const TStringGrid* g)
{
    return static_cast<QTableWidget*>(g->Widget());
}

// A cell's text follows its editor as the user types, as the text of the cell being edited:
// a button that takes no focus (RUN) reads what is typed although the editor is still
// open. When the editor closes, the cell takes the item's text again: the typed one when
// the edit was committed (that happens first), the one before it when it was given up.
class TCellDelegate : public QStyledItemDelegate {
public:
    std::function<void(int, int, const QString&)> Typed;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            const int col = index.column(), row = index.row();
            QObject::connect(line, &QLineEdit::textEdited, line, [this, col, row](const QString& text) {
                if (Typed)
                    Typed(col, row, text);
            });
            QObject::connect(this, &QAbstractItemDelegate::closeEditor, line,
                             [this, line, col, row, index = QPersistentModelIndex(index)](QWidget* closed) {
                                 if (closed == line && Typed && index.isValid())
                                     Typed(col, row, index.data(Qt::EditRole).toString());
                             });
        }
        return editor;
    }

    // Tab and Shift+Tab end the edit, keeping the typed text, and go on to the next or
    // previous control, as they do from the grid itself, rather than opening the next cell.
    std::function<void(bool)> LeaveGrid;

    bool eventFilter(QObject* Object, QEvent* Event) override
    {
        auto* editor = qobject_cast<QWidget*>(Object);
        if (Event->type() == QEvent::KeyPress && editor != nullptr && LeaveGrid) {
            const auto* key = static_cast<QKeyEvent*>(Event);
            if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
                !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                const bool next = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                LeaveGrid(next);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(Object, Event);
    }
};

// The grid's table. Ctrl+C and Ctrl+V (the desktop's copy and paste keys) act on the
// cells while no cell is being edited; a cell's editor keeps them for its own text. The
// fixed (header) cells are never chosen: the arrow, Home, End and page keys stop at the
// first cell beyond them, and a click or a drag onto them moves neither the current cell
// nor the selection there.
class TGridTable : public QTableWidget {
public:
    std::function<void()> CopyCells;
    std::function<void()> PasteCells;
    std::function<int()> FixedCols = [] { return 0; };
    std::function<int()> FixedRows = [] { return 0; };

    // The focus to the next or previous control of the window.
    void Leave(bool Next) { focusNextPrevChild(Next); }

    bool IsFixed(const QModelIndex& Index) const
    {
        return Index.isValid() && (Index.column() < FixedCols() || Index.row() < FixedRows());
    }

protected:
    bool event(QEvent* Event) override
    {
        // Taken before any window-wide shortcut on the same keys.
        if (Event->type() == QEvent::ShortcutOverride && IsCopyOrPaste(static_cast<QKeyEvent*>(Event))) {
            Event->accept();
            return true;
        }
        return QTableWidget::event(Event);
    }
    void keyPressEvent(QKeyEvent* Event) override
    {
        if (Event->matches(QKeySequence::Copy) && CopyCells) {
            GuardedCall(CopyCells);
            Event->accept();
        } else if (Event->matches(QKeySequence::Paste) && PasteCells) {
            GuardedCall(PasteCells);
            Event->accept();
        } else {
            QTableWidget::keyPressEvent(Event);
        }
    }
    QModelIndex moveCursor(CursorAction Action, Qt::KeyboardModifiers Modifiers) override
    {
        const QModelIndex next = QTableWidget::moveCursor(Action, Modifiers);
        if (!IsFixed(next))
            return next;
        const int row = std::max(next.row(), FixedRows());
        const int col = std::max(next.column(), FixedCols());
        return row < rowCount() && col < columnCount() ? model()->index(row, col) : currentIndex();
    }
    // A press or a drag on a fixed cell leaves the selection as it is.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& Index, const QEvent* Event) const override
    {
        return IsFixed(Index) ? QItemSelectionModel::NoUpdate : QTableWidget::selectionCommand(Index, Event);
    }

private:
    static bool IsCopyOrPaste(QKeyEvent* Event)
    {
        return Event->matches(QKeySequence::Copy) || Event->matches(QKeySequence::Paste);
    }
};

class TGridSelectionModel : public QItemSelectionModel {
public:
    TGridSelectionModel(QAbstractItemModel* Model, TGridTable* Table) : QItemSelectionModel(Model, Table), FTable(Table) {}

    void setCurrentIndex(const QModelIndex& Index, QItemSelectionModel::SelectionFlags Command) override
    {
        if (!FTable->IsFixed(Index))
            QItemSelectionModel::setCurrentIndex(Index, Command);
    }

private:
    TGridTable* FTable;
};

} // namespace

TStringGrid::TStringGrid(TComponent* AOwner) : TWinControl(AOwner)
{
    auto* table = new TGridTable;
    table->FixedCols = [this] { return FFixedCols; };
    table->FixedRows = [this] { return FFixedRows; };
    QItemSelectionModel* toolkitSelection = table->selectionModel();
    table->setSelectionModel(new TGridSelectionModel(table->model(), table));
    delete toolkitSelection;
    table->CopyCells = [this] { CopyCells(); };
    table->PasteCells = [this] { PasteCells(); };
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    // Tab and Shift+Tab go on to the next or previous control; the arrow keys move
    // between the cells.
    table->setTabKeyNavigation(false);
    auto* delegate = new TCellDelegate;
    delegate->setParent(table);
    delegate->LeaveGrid = [table](bool Next) { table->Leave(Next); };
    delegate->Typed = [this](int col, int row, const QString& text) {
        // The store alone: the item keeps its text until the edit ends, so the editor is
        // not reset under the user's cursor.
        GuardedCall([&] { StoreCell(col, row, S(text)); });
    };
    table->setItemDelegate(delegate);
    SetWidget(table);
    QObject::connect(table, &QTableWidget::itemChanged, table, [this](QTableWidgetItem* item) {
        if (FUpdating || item == nullptr)
            return;
        const int col = item->column(), row = item->row();
        const std::string text = S(item->text());
        GuardedCall([&] { CellEdited(col, row, text); });
    });
    FColWidths.assign(static_cast<size_t>(FColCount), FDefaultColWidth);
    SetBounds(0, 0, 320, 120);
    Refresh();
}

TStringGrid::~TStringGrid() = default;

void TStringGrid::CheckCell(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0 || ACol > MaxCellIndex || ARow > MaxCellIndex)
        throw ERangeError();
}

std::string TStringGrid::Cells(int ACol, int ARow) const
{
    CheckCell(ACol, ARow);
    if (static_cast<size_t>(ARow) >= FCells.size())
        return {};
    const auto& row = FCells[static_cast<size_t>(ARow)];
    return static_cast<size_t>(ACol) < row.size() ? row[static_cast<size_t>(ACol)] : std::string();
}

void TStringGrid::SetCells(int ACol, int ARow, const std::string& Value)
{
    if (StoreCell(ACol, ARow, Value) && ACol < FColCount && ARow < FRowCount)
        ShowCell(ACol, ARow);
}

bool TStringGrid::StoreCell(int ACol, int ARow, const std::string& Value)
{
    CheckCell(ACol, ARow);
    if (static_cast<size_t>(ARow) >= FCells.size()) {
        if (Value.empty())
            return false;
        FCells.resize(static_cast<size_t>(ARow) + 1);
    }
    auto& row = FCells[static_cast<size_t>(ARow)];
    if (static_cast<size_t>(ACol) >= row.size()) {
        if (Value.empty())
            return false;
        row.resize(static_cast<size_t>(ACol) + 1);
    }
    row[static_cast<size_t>(ACol)] = Value;
    return true;
}

void TStringGrid::CellEdited(int ACol, int ARow, const std::string& Value)
{
    SetCells(ACol, ARow, Value);
}

bool TStringGrid::CellEditable(int ACol, int ARow) const
{
    return (FOptions & goEditing) && ACol >= FFixedCols && ARow >= FFixedRows && ACol < FColCount &&
           ARow < FRowCount;
}

void TStringGrid::CopyCells()
{
    // The block from the first to the last selected row and column (the current cell when
    // none is selected), a tab between the cells of a row and a line break between rows,
    // as spreadsheets and text editors take it; cells inside the block that are not
    // selected are copied empty.
    QTableWidget* t = Table(this);
    QModelIndexList selected = t->selectionModel()->selectedIndexes();
    if (selected.isEmpty() && t->currentIndex().isValid())
        selected.push_back(t->currentIndex());
    if (selected.isEmpty())
        return;
    int top = selected.front().row(), bottom = top, left = selected.front().column(), right = left;
    for (const QModelIndex& index : selected) {
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
    }
    std::string text;
    for (int row = top; row <= bottom; ++row) {
        if (row > top)
            text += '\n';
        for (int col = left; col <= right; ++col) {
            if (col > left)
                text += '\t';
            if (t->selectionModel()->isSelected(t->model()->index(row, col)) || selected.size() == 1)
                text += Cells(col, row);
        }
    }
    QGuiApplication::clipboard()->setText(Q(text));
}

void TStringGrid::PasteCells()
{
    // The clipboard's text as a block of cells (tabs between cells, line breaks between
    // rows) from the top-left selected cell on; what falls on a fixed cell or outside the
    // grid is left out.
    QTableWidget* t = Table(this);
    int top = t->currentRow(), left = t->currentColumn();
    for (const QModelIndex& index : t->selectionModel()->selectedIndexes()) {
        top = std::min(top, index.row());
        left = std::min(left, index.column());
    }
    if (top < 0 || left < 0)
        return;
    QString text = QGuiApplication::clipboard()->text();
    text.remove(QLatin1Char('\r'));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    const QStringList rows = text.split(QLatin1Char('\n'));
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList cells = rows[i].split(QLatin1Char('\t'));
        for (int j = 0; j < cells.size(); ++j)
            if (CellEditable(left + j, top + i))
                SetCells(left + j, top + i, S(cells[j]));
    }
}

void TStringGrid::SetColCount(int Value)
{
    Value = std::max(Value, 1);
    SetAndNotify(FColCount, Value, [this, Value] {
        if (FFixedCols >= Value)
            FFixedCols = Value - 1;
        FColWidths.resize(static_cast<size_t>(Value), FDefaultColWidth);
        Refresh();
    });
}

void TStringGrid::SetRowCount(int Value)
{
    Value = std::max(Value, 1);
    SetAndNotify(FRowCount, Value, [this, Value] {
        if (FFixedRows >= Value)
            FFixedRows = Value - 1;
        Refresh();
    });
}

void TStringGrid::SetFixedCols(int Value)
{
    if (Value < 0 || Value >= FColCount)
        throw EInvalidOperation("Fixed column count must be less than column count");
    FFixedCols = Value;
    Refresh();
}

void TStringGrid::SetFixedRows(int Value)
{
    if (Value < 0 || Value >= FRowCount)
        throw EInvalidOperation("Fixed row count must be less than row count");
    FFixedRows = Value;
    Refresh();
}

void TStringGrid::SetDefaultColWidth(int Value)
{
    FDefaultColWidth = std::max(Value, 0);
    std::fill(FColWidths.begin(), FColWidths.end(), FDefaultColWidth);
    Refresh();
}

void TStringGrid::SetDefaultRowHeight(int Value)
{
    FDefaultRowHeight = std::max(Value, 0);
    Refresh();
}

int TStringGrid::ColWidths(int ACol) const
{
    if (ACol < 0 || ACol >= FColCount)
        throw ERangeError();
    return FColWidths[static_cast<size_t>(ACol)];
}

void TStringGrid::SetColWidths(int ACol, int Value)
{
    if (ACol < 0 || ACol >= FColCount)
        throw ERangeError();
    FColWidths[static_cast<size_t>(ACol)] = std::max(Value, 0);
    if (QTableWidget* t = Table(this))
        t->setColumnWidth(ACol, FColWidths[static_cast<size_t>(ACol)]);
}

void TStringGrid::SetOptions(TGridOptions Value)
{
    FOptions = Value;
    Refresh();
}

void TStringGrid::ShowCell(int ACol, int ARow)
{
    QTableWidget* t = Table(this);
    if (t == nullptr)
        return;
    FUpdating = true;
    QTableWidgetItem* item = t->item(ARow, ACol);
    if (item == nullptr) {
        item = new QTableWidgetItem;
        t->setItem(ARow, ACol, item);   // the table owns its items
    }
    const bool fixed = ACol < FFixedCols || ARow < FFixedRows;
    Qt::ItemFlags flags = Qt::ItemIsEnabled;
    if (!fixed)
        flags |= Qt::ItemIsSelectable;
    if (!fixed && (FOptions & goEditing))
        flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    item->setBackground(fixed ? t->palette().brush(QPalette::Button) : QBrush());
    item->setText(Q(Cells(ACol, ARow)));
    FUpdating = false;
}

void TStringGrid::Refresh()
{
    QTableWidget* t = Table(this);
    if (t == nullptr)
        return;
    FUpdating = true;
    t->setColumnCount(FColCount);
    t->setRowCount(FRowCount);
    t->verticalHeader()->setDefaultSectionSize(FDefaultRowHeight);
    for (int c = 0; c < FColCount; ++c)
        t->setColumnWidth(c, FColWidths[static_cast<size_t>(c)]);
    FUpdating = false;
    for (int r = 0; r < FRowCount; ++r)
        for (int c = 0; c < FColCount; ++c)
            ShowCell(c, r);
}
