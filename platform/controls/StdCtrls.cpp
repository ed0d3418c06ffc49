#include "StdCtrls.h"

#include "QtBridge.h"

#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <utility>

using namespace ctlqt;

namespace {

const char* SListIndexError = "List index out of bounds (%d)";

// Platform text (lines ended by CR LF) to the toolkit's (LF) and back.
QString ToEditorText(const std::string& s)
{
    QString q = Q(s);
    q.replace("\r\n", "\n");
    q.replace('\r', '\n');
    return q;
}

std::string FromEditorText(const QString& q)
{
    QString t = q;
    t.replace('\n', "\r\n");
    return S(t);
}

// The lines of a memo, read from and written to its document.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TMemo* AMemo) : FMemo(AMemo) {}

    int Count() const override
    {
        QPlainTextEdit* e = Edit();
        if (e == nullptr)
            return 0;
        QTextDocument* doc = e->document();
        int n = doc->blockCount();
        if (doc->lastBlock().length() <= 1)   // an empty last line is no line
            --n;
        return n;
    }

    std::string Get(int Index) const override
    {
        CheckIndex(Index);
        return S(Edit()->document()->findBlockByNumber(Index).text());
    }

    void Put(int Index, const std::string& S) override
    {
        CheckIndex(Index);
        QTextCursor c(Edit()->document()->findBlockByNumber(Index));
        c.movePosition(QTextCursor::StartOfBlock);
        c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        c.insertText(LineText(S));
    }

    void Insert(int Index, const std::string& S) override
    {
        QPlainTextEdit* e = Edit();
        if (e == nullptr)
            return;
        if (Index < 0 || Index > Count())
            Error(SListIndexError, Index);
        QTextDocument* doc = e->document();
        if (Index < doc->blockCount()) {
            QTextCursor c(doc->findBlockByNumber(Index));
            c.movePosition(QTextCursor::StartOfBlock);
            c.insertText(LineText(S) + "\n");
        } else {
            // The text does not end with a line break: the new line follows one.
            QTextCursor c(doc);
            c.movePosition(QTextCursor::End);
            c.insertText("\n" + LineText(S));
        }
    }

    void Delete(int Index) override
    {
        CheckIndex(Index);
        QTextDocument* doc = Edit()->document();
        QTextBlock block = doc->findBlockByNumber(Index);
        QTextCursor c(block);
        if (block.next().isValid()) {
            c.setPosition(block.position());
            c.setPosition(block.next().position(), QTextCursor::KeepAnchor);
        } else if (block.previous().isValid()) {
            c.setPosition(block.previous().position() + block.previous().length() - 1);
            c.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
        } else {
            c.select(QTextCursor::Document);
        }
        c.removeSelectedText();
    }

    void Clear() override
    {
        if (QPlainTextEdit* e = Edit())
            e->clear();
    }

    std::string Text() const override
    {
        QPlainTextEdit* e = Edit();
        return e != nullptr ? FromEditorText(e->toPlainText()) : std::string();
    }

    void SetText(const std::string& Value) override
    {
        if (QPlainTextEdit* e = Edit())
            e->setPlainText(ToEditorText(Value));
    }

private:
    QPlainTextEdit* Edit() const { return static_cast<QPlainTextEdit*>(FMemo->Widget()); }
    void CheckIndex(int Index) const
    {
        if (Index < 0 || Index >= Count())
            Error(SListIndexError, Index);
    }
    // A line holds no line break; one inside the text would split the line.
    static QString LineText(const std::string& s) { return ToEditorText(s); }

    TMemo* FMemo;
};

// The items of a combo box.
class TComboStrings : public TStrings {
public:
    explicit TComboStrings(TComboBox* ACombo) : FCombo(ACombo) {}

    int Count() const override { return Box() != nullptr ? Box()->count() : 0; }

    std::string Get(int Index) const override
    {
        CheckIndex(Index);
        return S(Box()->itemText(Index));
    }

    void Put(int Index, const std::string& S) override
    {
        CheckIndex(Index);
        Box()->setItemText(Index, Q(S));
    }

    // Each item keeps its object, as the platform's combo items do.
    TObject* GetObject(int Index) const override
    {
        CheckIndex(Index);
        return reinterpret_cast<TObject*>(Box()->itemData(Index).value<quintptr>());
    }

    void PutObject(int Index, TObject* AObject) override
    {
        CheckIndex(Index);
        Box()->setItemData(Index, QVariant::fromValue(reinterpret_cast<quintptr>(AObject)));
    }

    void Insert(int Index, const std::string& S) override
    {
        QComboBox* b = Box();
        if (b == nullptr)
            return;
        if (Index < 0 || Index > Count())
            Error(SListIndexError, Index);
        // Adding an item selects nothing new, as on the platform.
        const QSignalBlocker block(b);
        const int current = b->currentIndex();
        b->insertItem(Index, Q(S));
        b->setCurrentIndex(current < 0 ? -1 : (Index <= current ? current + 1 : current));
    }

    void Delete(int Index) override
    {
        CheckIndex(Index);
        const QSignalBlocker block(Box());
        Box()->removeItem(Index);
    }

    void Clear() override
    {
        if (QComboBox* b = Box()) {
            const QSignalBlocker block(b);
            b->clear();
        }
    }

private:
    QComboBox* Box() const { return static_cast<QComboBox*>(FCombo->Widget()); }
    void CheckIndex(int Index) const
    {
        if (Index < 0 || Index >= Count())
            Error(SListIndexError, Index);
    }

    TComboBox* FCombo;
};

} // namespace

std::string StripHotkey(const std::string& Caption)
{
    std::string out;
    out.reserve(Caption.size());
    for (size_t i = 0; i < Caption.size(); ++i) {
        if (Caption[i] == '&') {
            if (i + 1 < Caption.size() && Caption[i + 1] == '&')
                out += '&';
            ++i;
            if (i < Caption.size() && Caption[i] != '&')
                out += Caption[i];
            continue;
        }
        out += Caption[i];
    }
    return out;
}

// ---- TLabel -----------------------------------------------------------------------

namespace {

// A label that the user clicks: a left press and release over it fire its Click, as on
// the platform.
class ClickLabel : public QLabel {
public:
    explicit ClickLabel(TLabel* AControl) : FControl(AControl) {}

protected:
    // Other buttons pass to the parent (its pop-up menu, say).
    void mousePressEvent(QMouseEvent* e) override
    {
        FClicking = e->button() == Qt::LeftButton;
        e->setAccepted(FClicking);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        FClicking = false;
        e->setAccepted(e->button() == Qt::LeftButton);
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() != Qt::LeftButton) {
            e->ignore();
            return;
        }
        if (std::exchange(FClicking, false) && rect().contains(e->position().toPoint()))
            GuardedCall([this] { FControl->Click(); });
    }

private:
    TLabel* FControl;
    bool FClicking = false;
};

// Ctrl+Y redoes in an edit or memo as well as the desktop's own redo key.
template <class Edit>
void RedoOnCtrlY(Edit* edit)
{
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), edit, edit, &Edit::redo, Qt::WidgetShortcut);
}

} // namespace

TLabel::TLabel(TComponent* AOwner) : TControl(AOwner)
{
    auto* label = new ClickLabel(this);
    label->setTextFormat(Qt::PlainText);
    SetWidget(label);
    SetBounds(0, 0, 65, 17);
}

void TLabel::TextChanged()
{
    // A label with a control beside it keeps its accelerator ("&Width:"): Alt and the
    // letter move the focus to that control. Without one the text shows plain.
    if (auto* label = static_cast<QLabel*>(Widget()))
        label->setText(label->buddy() != nullptr ? Q(FText) : Q(StripHotkey(FText)));
    AdjustSize();
}

void TLabel::SetFocusControl(TControl* Control)
{
    auto* label = static_cast<QLabel*>(Widget());
    if (label == nullptr)
        return;
    label->setBuddy(Control != nullptr ? Control->Widget() : nullptr);
    TextChanged();
}

void TLabel::FontChanged()
{
    AdjustSize();
}

void TLabel::AdjustSize()
{
    auto* label = static_cast<QLabel*>(Widget());
    if (!FAutoSize || label == nullptr)
        return;
    const QSize size = label->sizeHint();
    SetBounds(Left(), Top(), size.width(), size.height());
}

// ---- TEdit ------------------------------------------------------------------------

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner)
{
    auto* edit = new QLineEdit;
    SetWidget(edit);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [this](const QString&) { GuardedCall([this] { Change(); }); });
    RedoOnCtrlY(edit);
    SetBounds(0, 0, 121, 21);
}

std::string TEdit::GetText() const
{
    auto* edit = static_cast<QLineEdit*>(Widget());
    return edit != nullptr ? S(edit->text()) : FText;
}

void TEdit::TextChanged()
{
    if (auto* edit = static_cast<QLineEdit*>(Widget()))
        edit->setText(Q(FText));
}

void TEdit::Change()
{
    if (OnChange)
        OnChange(this);
}

void TEdit::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    if (auto* edit = static_cast<QLineEdit*>(Widget()))
        edit->setReadOnly(Value);
}

void TEdit::SetMaxLength(int Value)
{
    FMaxLength = std::max(Value, 0);
    if (auto* edit = static_cast<QLineEdit*>(Widget()))
        edit->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
}

void TEdit::SelectAll()
{
    if (auto* edit = static_cast<QLineEdit*>(Widget()))
        edit->selectAll();
}

// ---- TMemo ------------------------------------------------------------------------

TMemo::TMemo(TComponent* AOwner) : TWinControl(AOwner)
{
    auto* edit = new QPlainTextEdit;
    // Tab and Shift+Tab go on to the next or previous control unless WantTabs is set.
    edit->setTabChangesFocus(true);
    SetWidget(edit);
    RedoOnCtrlY(edit);
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [this] {
        GuardedCall([this] {
            if (OnChange)
                OnChange(this);
        });
    });
    FLines = std::make_unique<TMemoStrings>(this);
    SetScrollBars(ssNone);
    SetBounds(0, 0, 185, 89);
}

TMemo::~TMemo() = default;

std::string TMemo::GetText() const
{
    return FLines->Text();
}

void TMemo::TextChanged()
{
    FLines->SetText(FText);
}

void TMemo::Clear()
{
    FLines->Clear();
}

void TMemo::SetScrollBars(TScrollStyle Value)
{
    FScrollBars = Value;
    auto* edit = static_cast<QPlainTextEdit*>(Widget());
    if (edit == nullptr)
        return;
    const bool v = Value == ssVertical || Value == ssBoth;
    const bool h = Value == ssHorizontal || Value == ssBoth;
    edit->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TMemo::SetWordWrap(bool Value)
{
    FWordWrap = Value;
    if (auto* edit = static_cast<QPlainTextEdit*>(Widget()))
        edit->setLineWrapMode(Value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    if (auto* edit = static_cast<QPlainTextEdit*>(Widget()))
        edit->setReadOnly(Value);
}

void TMemo::SetWantTabs(bool Value)
{
    FWantTabs = Value;
    if (auto* edit = static_cast<QPlainTextEdit*>(Widget()))
        edit->setTabChangesFocus(!Value);
}

// ---- TComboBox --------------------------------------------------------------------

TComboBox::TComboBox(TComponent* AOwner, TComboBoxStyle AStyle) : TWinControl(AOwner)
{
    auto* box = new QComboBox(NewControlsParent());
    SetWidget(box);
    FItems = std::make_unique<TComboStrings>(this);
    QObject::connect(box, &QComboBox::activated, box, [this](int) { GuardedCall([this] { Change(); }); });
    SetStyle(AStyle);
    SetBounds(0, 0, 145, 21);
}

TComboBox::~TComboBox() = default;

void TComboBox::SetStyle(TComboBoxStyle Value)
{
    FStyle = Value;
    auto* box = static_cast<QComboBox*>(Widget());
    if (box == nullptr)
        return;
    const QSignalBlocker block(box);
    const int current = box->currentIndex();
    const bool wasEditable = box->isEditable();
    box->setEditable(Value == csDropDown);
    box->setCurrentIndex(current);
    // A new line edit comes with editability; typing in it is a change.
    if (QLineEdit* line = box->lineEdit(); line != nullptr && !wasEditable)
        QObject::connect(line, &QLineEdit::textEdited, line, [this](const QString&) { GuardedCall([this] { Change(); }); });
}

int TComboBox::ItemIndex() const
{
    auto* box = static_cast<QComboBox*>(Widget());
    return box != nullptr ? box->currentIndex() : -1;
}

void TComboBox::SetItemIndex(int Value)
{
    auto* box = static_cast<QComboBox*>(Widget());
    if (box == nullptr)
        return;
    if (Value < -1 || Value >= box->count())
        Value = -1;
    const QSignalBlocker block(box);
    box->setCurrentIndex(Value);
}

int TComboBox::DropDownCount() const
{
    return static_cast<QComboBox*>(Widget())->maxVisibleItems();
}

void TComboBox::SetDropDownCount(int Value)
{
    static_cast<QComboBox*>(Widget())->setMaxVisibleItems(std::max(1, Value));
}

int TComboBox::DropDownWidth() const
{
    return std::max(static_cast<QComboBox*>(Widget())->view()->minimumWidth(), Width());
}

void TComboBox::SetDropDownWidth(int Value)
{
    static_cast<QComboBox*>(Widget())->view()->setMinimumWidth(std::max(Value, 0));
}

void TComboBox::Pick(int Index)
{
    SetItemIndex(Index);
    Change();
}

std::string TComboBox::GetText() const
{
    auto* box = static_cast<QComboBox*>(Widget());
    return box != nullptr ? S(box->currentText()) : FText;
}

void TComboBox::TextChanged()
{
    auto* box = static_cast<QComboBox*>(Widget());
    if (box == nullptr)
        return;
    const QSignalBlocker block(box);
    if (FStyle == csDropDownList)
        box->setCurrentIndex(FItems->IndexOf(FText));
    else
        box->setEditText(Q(FText));
}

void TComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

// ---- TCheckBox --------------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner)
{
    auto* box = new QCheckBox;
    SetWidget(box);
    QObject::connect(box, &QCheckBox::toggled, box, [this](bool) { GuardedCall([this] { Click(); }); });
    SetBounds(0, 0, 97, 17);
}

bool TCheckBox::Checked() const
{
    auto* box = static_cast<QCheckBox*>(Widget());
    return box != nullptr && box->isChecked();
}

void TCheckBox::SetChecked(bool Value)
{
    if (auto* box = static_cast<QCheckBox*>(Widget()))
        box->setChecked(Value);
}

void TCheckBox::TextChanged()
{
    if (auto* box = static_cast<QCheckBox*>(Widget()))
        box->setText(Q(FText));
}

// ---- TGroupBox --------------------------------------------------------------------

TGroupBox::TGroupBox(TComponent* AOwner) : TWinControl(AOwner)
{
    SetWidget(new QGroupBox);
    SetBounds(0, 0, 185, 105);
}

void TGroupBox::TextChanged()
{
    if (auto* box = static_cast<QGroupBox*>(Widget()))
        box->setTitle(Q(FText));
}

void TGroupBox::GetClientArea(int& ALeft, int& ATop, int& AWidth, int& AHeight) const
{
    // Inside the frame and below the caption.
    int captionHeight = 16;
    if (QWidget* w = Widget())
        captionHeight = QFontMetrics(w->font()).height() + 2;
    ALeft = 2;
    ATop = captionHeight;
    AWidth = std::max(Width() - 4, 0);
    AHeight = std::max(Height() - captionHeight - 2, 0);
}

// ---- TRadioButton -----------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* AOwner) : TWinControl(AOwner)
{
    auto* button = new QRadioButton;
    SetWidget(button);
    QObject::connect(button, &QRadioButton::toggled, button, [this](bool on) {
        if (on)
            GuardedCall([this] { Click(); });
    });
    SetBounds(0, 0, 113, 17);
}

bool TRadioButton::Checked() const
{
    auto* button = static_cast<QRadioButton*>(Widget());
    return button != nullptr && button->isChecked();
}

void TRadioButton::SetChecked(bool Value)
{
    auto* button = static_cast<QRadioButton*>(Widget());
    if (button == nullptr)
        return;
    if (!Value && button->isChecked()) {
        // Unchecking one button of a group is not something exclusive buttons allow.
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
        return;
    }
    button->setChecked(Value);
}

void TRadioButton::TextChanged()
{
    if (auto* button = static_cast<QRadioButton*>(Widget()))
        button->setText(Q(FText));
}

// ---- TScrollBar -------------------------------------------------------------------

namespace {

QScrollBar* BarOf(const TScrollBar* Bar)
{
    return static_cast<QScrollBar*>(Bar->Widget());
}

// The platform's keys: Right, Down and Page Down move the bar towards its maximum, Left,
// Up and Page Up towards its minimum, whichever way it lies. The toolkit's bar takes
// Left and Right the other way round.
class KeyedScrollBar : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void keyPressEvent(QKeyEvent* Event) override
    {
        if (Event->modifiers() == Qt::NoModifier && (Event->key() == Qt::Key_Left || Event->key() == Qt::Key_Right)) {
            triggerAction(Event->key() == Qt::Key_Right ? SliderSingleStepAdd : SliderSingleStepSub);
            Event->accept();
            return;
        }
        QScrollBar::keyPressEvent(Event);
    }
};

} // namespace

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner)
{
    auto* bar = new KeyedScrollBar(Qt::Horizontal);
    bar->setRange(0, 100);
    // Along its length a bar takes the room it is given, as a slider does, instead of
    // keeping to the toolkit's stub of a size hint.
    bar->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    SetWidget(bar);
    // A scroll bar control is a tab stop whose arrow keys move it (the toolkit's bar
    // takes no focus at all), so a user without a mouse can set it.
    SetTabStop(true);
    QObject::connect(bar, &QScrollBar::valueChanged, bar, [this](int) {
        GuardedCall([this] {
            if (OnChange)
                OnChange(this);
        });
    });
    SetBounds(0, 0, 121, 17);
}

void TScrollBar::SetKind(TScrollBarKind Value)
{
    FKind = Value;
    if (QScrollBar* b = BarOf(this))
    {
        b->setOrientation(Value == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
        if (Value == sbHorizontal)
            b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        else
            b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
}

int TScrollBar::Min() const { return BarOf(this) != nullptr ? BarOf(this)->minimum() : 0; }
int TScrollBar::Max() const { return BarOf(this) != nullptr ? BarOf(this)->maximum() : 0; }
int TScrollBar::Position() const { return BarOf(this) != nullptr ? BarOf(this)->value() : 0; }

void TScrollBar::SetMin(int Value)
{
    if (QScrollBar* b = BarOf(this))
        b->setMinimum(Value);
}

void TScrollBar::SetMax(int Value)
{
    if (QScrollBar* b = BarOf(this))
        b->setMaximum(Value);
}

void TScrollBar::SetPosition(int Value)
{
    if (QScrollBar* b = BarOf(this))
        b->setValue(Value);
}

void TScrollBar::SetTabStop(bool Value)
{
    if (QScrollBar* b = BarOf(this))
        b->setFocusPolicy(Value ? Qt::StrongFocus : Qt::NoFocus);
}
