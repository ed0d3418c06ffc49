#include "ComCtrls.h"

#include "QtBridge.h"
#include "system/ScopeGuard.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

using namespace ctlqt;

namespace {

// Up and Down pressed in an up-down's associated edit step the up-down, as the arrows do.
// Enter, or the focus leaving the edit for another control of its window, finishes the
// typing: a text that is no number within the up-down's limits is refused, any other
// goes to the up-down's OnTyped.
class UpDownArrowKeys : public QObject {
public:
    UpDownArrowKeys(TUpDown* AUpDown, QObject* Parent) : QObject(Parent), FUpDown(AUpDown) {}
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(Event)->reason();
            // Another window or a popup taking the keyboard is no leaving of the edit.
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                // Once the focus has settled, so that the message does not interrupt its move.
                QTimer::singleShot(0, this, [this] { GuardedCall([this] { RefuseAfterLeaving(); }); });
            return false;
        }
        if (Event->type() != QEvent::KeyPress)
            return QObject::eventFilter(Watched, Event);
        auto* key = static_cast<QKeyEvent*>(Event);
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            const bool refused = !FUpDown->TypedRefusal().empty();
            GuardedCall([this] { FUpDown->FinishTyping(); });
            return refused;   // else on to the window's default button
        }
        if (key->key() == Qt::Key_Up)
            GuardedCall([this] { FUpDown->StepUp(); });
        else if (key->key() == Qt::Key_Down)
            GuardedCall([this] { FUpDown->StepDown(); });
        else
            return false;
        return true;
    }

private:
    void RefuseAfterLeaving()
    {
        TWinControl* edit = FUpDown->Associate();
        if (edit == nullptr || edit->Widget() == nullptr)
            return;
        QWidget* w = edit->Widget();
        // An edit that went away with its page or window is only put right.
        if (!w->isVisible() || !w->isEnabled() || !w->window()->isActiveWindow()) {
            if (!FUpDown->TypedRefusal().empty())
                FUpDown->SetPosition(FUpDown->Position());
            return;
        }
        FUpDown->FinishTyping();
    }

    TUpDown* FUpDown;
};

} // namespace

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner)
{
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* up = new QToolButton(panel);
    up->setObjectName("up");
    up->setArrowType(Qt::UpArrow);
    // The arrows are no tab stop: the keyboard steps through the associated edit.
    up->setFocusPolicy(Qt::NoFocus);
    up->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* down = new QToolButton(panel);
    down->setObjectName("down");
    down->setArrowType(Qt::DownArrow);
    down->setFocusPolicy(Qt::NoFocus);
    down->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(up);
    layout->addWidget(down);
    up->setAutoRepeat(true);
    down->setAutoRepeat(true);
    SetWidget(panel);
    FArrowKeys = new UpDownArrowKeys(this, panel);
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

std::string TUpDown::TypedRefusal() const
{
    if (FAssociate == nullptr)
        return {};
    const std::string typed = Trim(FAssociate->Text());
    if (typed.empty())
        return {};
    int value = 0;
    if (!TryStrToInt(typed, value))
        return "'" + typed + "' is not a valid integer value";
    const int low = std::min(FMin, FMax), high = std::max(FMin, FMax);
    if (value < low || value > high)
        return "Value must be between " + IntToStr(low) + " and " + IntToStr(high);
    return {};
}

void TUpDown::RefuseTyped()
{
    const std::string refusal = TypedRefusal();
    if (refusal.empty())
        return;
    // The owner sees the refused text first and may put back a value of its own.
    if (OnTyped)
        OnTyped(this);
    SetPosition(Position());
    // Whatever the message box did with the focus, the edit has it again, ready for a
    // new number.
    TScopeGuard focusEdit([this] {
        if (FAssociate == nullptr || FAssociate->Widget() == nullptr)
            return;
        QWidget* w = FAssociate->Widget();
        w->activateWindow();
        w->setFocus(Qt::OtherFocusReason);
        if (auto* line = qobject_cast<QLineEdit*>(w))
            line->selectAll();
    });
    throw EConvertError(refusal);
}

void TUpDown::FinishTyping()
{
    if (!TypedRefusal().empty())
        RefuseTyped();
    else if (OnTyped)
        OnTyped(this);
}

void TUpDown::SetAssociate(TWinControl* Value)
{
    if (Value == FAssociate || Value == this)
        return;
    if (FAssociate != nullptr) {
        FAssociate->RemoveFreeNotification(this);
        if (FAssociate->Widget() != nullptr)
            FAssociate->Widget()->removeEventFilter(FArrowKeys);
    }
    FAssociate = Value;
    if (FAssociate == nullptr)
        return;
    FAssociate->FreeNotification(this);
    if (FAssociate->Widget() != nullptr)
        FAssociate->Widget()->installEventFilter(FArrowKeys);
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

// ---- TTrackBar ----------------------------------------------------------------------

namespace {

QSlider* SliderOf(const TTrackBar* Bar)
{
    return static_cast<QSlider*>(Bar->Widget());
}

} // namespace

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner)
{
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setRange(0, 10);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    SetWidget(slider);
    QObject::connect(slider, &QSlider::valueChanged, slider, [this](int) {
        GuardedCall([this] {
            if (OnChange)
                OnChange(this);
        });
    });
    SetBounds(0, 0, 150, 45);
}

int TTrackBar::Min() const { return SliderOf(this) != nullptr ? SliderOf(this)->minimum() : 0; }
int TTrackBar::Max() const { return SliderOf(this) != nullptr ? SliderOf(this)->maximum() : 0; }
int TTrackBar::Position() const { return SliderOf(this) != nullptr ? SliderOf(this)->value() : 0; }

void TTrackBar::SetMin(int Value)
{
    if (QSlider* s = SliderOf(this))
        s->setMinimum(Value);
}

void TTrackBar::SetMax(int Value)
{
    if (QSlider* s = SliderOf(this))
        s->setMaximum(Value);
}

void TTrackBar::SetPosition(int Value)
{
    if (QSlider* s = SliderOf(this))
        s->setValue(Value);
}

void TTrackBar::SetFrequency(int Value)
{
    FFrequency = std::max(Value, 1);
    if (QSlider* s = SliderOf(this))
        s->setTickInterval(FFrequency);
}

void TTrackBar::SetLineSize(int Value)
{
    if (QSlider* s = SliderOf(this))
        s->setSingleStep(std::max(Value, 1));
}

// ---- TTabSheet ----------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner)
{
    SetWidget(new QWidget);
    SetBounds(0, 0, 185, 105);
}

TTabSheet::~TTabSheet()
{
    SetPageControl(nullptr);
}

void TTabSheet::SetPageControl(TPageControl* Value)
{
    if (Value == FPageControl)
        return;
    if (FPageControl != nullptr)
        FPageControl->RemovePage(this);
    FPageControl = Value;
    if (Value != nullptr)
        Value->InsertPage(this);
}

int TTabSheet::PageIndex() const
{
    if (FPageControl == nullptr)
        return -1;
    const auto& pages = FPageControl->FPages;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int Value)
{
    if (FPageControl == nullptr)
        return;
    auto& pages = FPageControl->FPages;
    const int count = static_cast<int>(pages.size());
    const int to = std::clamp(Value, 0, count - 1);
    const int from = PageIndex();
    if (to == from)
        return;
    TTabSheet* active = FPageControl->ActivePage();
    pages.erase(pages.begin() + from);
    pages.insert(pages.begin() + to, this);
    FPageControl->ShowTabs();
    if (active != nullptr)
        FPageControl->SetActivePage(active);
}

void TTabSheet::SetTabVisible(bool Value)
{
    SetAndNotify(FTabVisible, Value, [this] {
        if (FPageControl != nullptr)
            FPageControl->ShowTabs();
    });
}

void TTabSheet::TextChanged()
{
    if (FPageControl == nullptr)
        return;
    auto* tabs = static_cast<QTabWidget*>(FPageControl->Widget());
    const int index = tabs != nullptr ? tabs->indexOf(Widget()) : -1;
    if (index >= 0)
        tabs->setTabText(index, Q(FText));
}

// ---- TPageControl -------------------------------------------------------------------

namespace {

QTabWidget* TabsOf(const TPageControl* Control)
{
    return static_cast<QTabWidget*>(Control->Widget());
}

// Tab bars that ask before they switch. Every switch that a user's input makes (a click,
// the arrow keys, the wheel over the bar, Ctrl+Tab at the tab widget) is put back and
// handed to Select, which asks the control's OnChanging and switches as the program
// does; switches by the program pass.
class AskingTabBar : public QTabBar {
public:
    std::function<void(int)> Select;

    // A click on a tab gives the bar the focus, as the desktop's tab controls do, so that
    // the arrow keys go on from the clicked tab.
    AskingTabBar() { setFocusPolicy(Qt::StrongFocus); }

    // Starts watching the switches; a tab widget calls it after it took the bar, so that
    // its own page switch runs first and the put-back switches the page back too.
    void Watch()
    {
        connect(this, &QTabBar::currentChanged, this, [this](int Index) { Changed(Index); });
    }

    // Runs the toolkit's handling of one input event as the user's.
    template <class THandle>
    bool AsUserInput(QEvent* Event, THandle Handle)
    {
        switch (Event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::Wheel: {
            auto restore = RestoreOnExit(FUserFrom);
            FUserFrom = currentIndex();
            auto passing = RestoreOnExit(PassingPageShows());
            ++PassingPageShows();
            return Handle();
        }
        default:
            return Handle();
        }
    }

protected:
    bool event(QEvent* Event) override
    {
        return AsUserInput(Event, [&] { return QTabBar::event(Event); });
    }

private:
    static constexpr int NoUserInput = -2;

    void Changed(int Index)
    {
        if (FUserFrom == NoUserInput)
            return;
        const int from = FUserFrom;
        FUserFrom = NoUserInput;
        setCurrentIndex(from);
        // The switch as the program makes it shows its page for real.
        auto passing = RestoreOnExit(PassingPageShows());
        PassingPageShows() = 0;
        if (Select && Index >= 0)
            Select(Index);
    }

    int FUserFrom = NoUserInput;
};

// The keys that switch pages: Ctrl+Tab and Ctrl+PageDown go to the next page, Ctrl+Shift+Tab
// and Ctrl+PageUp to the previous one, of the innermost page control round the focus, even
// from a control that would take the key itself (a combo box searching its items, a list,
// a spin edit). One filter of the application serves every page control of the program.
class PageKeys : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* Watched, QEvent* Event) override;
};

class AskingTabWidget : public QTabWidget {
public:
    AskingTabWidget()
    {
        InstallApplicationFilter<PageKeys>();
        Bar = new AskingTabBar;
        // Every tab shows: the control is at least as wide as its tabs.
        Bar->setUsesScrollButtons(false);
        setTabBar(Bar);
        Bar->Watch();
    }
    AskingTabBar* Bar;

    // Goes to the next or previous page as the user's Ctrl+Tab or Ctrl+Shift+Tab.
    void Step(bool Next)
    {
        QKeyEvent key(QEvent::KeyPress, Next ? Qt::Key_Tab : Qt::Key_Backtab,
                      Next ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
        Bar->AsUserInput(&key, [&] {
            QTabWidget::keyPressEvent(&key);
            return true;
        });
    }

protected:
    // Ctrl+Tab and Ctrl+Shift+Tab switch tabs here, not in the bar.
    bool event(QEvent* Event) override
    {
        return Bar->AsUserInput(Event, [&] { return QTabWidget::event(Event); });
    }
};

bool PageKeys::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Event->type() != QEvent::KeyPress && Event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(Watched, Event);
    auto* key = static_cast<QKeyEvent*>(Event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    bool next;
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_PageDown) && mods == Qt::ControlModifier)
        next = true;
    else if ((key->key() == Qt::Key_Backtab && mods == (Qt::ControlModifier | Qt::ShiftModifier)) ||
             (key->key() == Qt::Key_PageUp && mods == Qt::ControlModifier))
        next = false;
    else
        return QObject::eventFilter(Watched, Event);
    if (!Watched->isWidgetType())
        return QObject::eventFilter(Watched, Event);
    // Only a page control of the receiver's own window; an open list or menu is a window of
    // its own and keeps its keys.
    AskingTabWidget* tabs = nullptr;
    for (auto* w = static_cast<QWidget*>(Watched); w != nullptr && tabs == nullptr; w = w->parentWidget()) {
        tabs = dynamic_cast<AskingTabWidget*>(w);
        if (w->isWindow())
            break;
    }
    if (tabs == nullptr || !tabs->isEnabled())
        return QObject::eventFilter(Watched, Event);
    // The override round claims the key, so that it comes as a key press and not as a shortcut.
    if (Event->type() == QEvent::KeyPress)
        tabs->Step(next);
    Event->accept();
    return true;
}

} // namespace

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner)
{
    auto* tabs = new AskingTabWidget;
    tabs->Bar->Select = [this](int index) {
        GuardedCall([this, index] {
            QWidget* page = TabsOf(this)->widget(index);
            for (TTabSheet* sheet : FPages)
                if (sheet->Widget() == page) {
                    SelectPage(sheet);
                    break;
                }
        });
    };
    // Every tab shows whole, its text not shortened.
    tabs->setElideMode(Qt::ElideNone);
    SetWidget(tabs);
    SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl()
{
    for (TTabSheet* sheet : FPages)
        sheet->FPageControl = nullptr;
    FPages.clear();
}

TTabSheet* TPageControl::Pages(int Index) const
{
    if (Index < 0 || Index >= PageCount())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FPages[static_cast<size_t>(Index)];
}

void TPageControl::InsertPage(TTabSheet* Page)
{
    FPages.push_back(Page);
    Page->SetParent(this);
    ShowTabs();
}

void TPageControl::RemovePage(TTabSheet* Page)
{
    auto it = std::find(FPages.begin(), FPages.end(), Page);
    if (it == FPages.end())
        return;
    FPages.erase(it);
    if (QTabWidget* tabs = TabsOf(this)) {
        const QSignalBlocker block(tabs);
        const int index = tabs->indexOf(Page->Widget());
        if (index >= 0)
            tabs->removeTab(index);
    }
}

// The tab widget shows the sheets whose tabs are visible, in page order.
void TPageControl::ShowTabs()
{
    QTabWidget* tabs = TabsOf(this);
    if (tabs == nullptr)
        return;
    const QSignalBlocker block(tabs);
    QWidget* current = tabs->currentWidget();
    while (tabs->count() > 0)
        tabs->removeTab(0);
    for (TTabSheet* sheet : FPages) {
        QWidget* w = sheet->Widget();
        if (w == nullptr)
            continue;
        if (sheet->TabVisible()) {
            tabs->addTab(w, Q(sheet->Text()));
        } else {
            w->setParent(tabs);
            w->hide();
        }
    }
    if (current != nullptr && tabs->indexOf(current) >= 0)
        tabs->setCurrentWidget(current);
}

void TPageControl::SetTabBarVisible(bool Value)
{
    if (QTabWidget* tabs = TabsOf(this)) {
        tabs->tabBar()->setVisible(Value);
        tabs->setDocumentMode(!Value);
    }
}

TTabSheet* TPageControl::ActivePage() const
{
    QTabWidget* tabs = TabsOf(this);
    if (tabs == nullptr)
        return nullptr;
    QWidget* current = tabs->currentWidget();
    for (TTabSheet* sheet : FPages)
        if (sheet->Widget() == current && current != nullptr)
            return sheet;
    return nullptr;
}

void TPageControl::SetActivePage(TTabSheet* Value)
{
    QTabWidget* tabs = TabsOf(this);
    if (tabs == nullptr || Value == nullptr || Value->FPageControl != this || !Value->TabVisible())
        return;
    const QSignalBlocker block(tabs);
    tabs->setCurrentWidget(Value->Widget());
}

void TPageControl::SetActivePageIndex(int Value)
{
    if (Value >= 0 && Value < PageCount())
        SetActivePage(FPages[static_cast<size_t>(Value)]);
}

namespace {

// A switch of tabs as the user's click makes it: OnChanging may veto it; otherwise the
// switch runs (with Switching set, so that the toolkit's echo is ignored) and OnChange
// follows.
template <class TSwitch>
bool SwitchAsUserDoes(TObject* Sender, const TTabChangingEvent& OnChanging, const TNotifyEvent& OnChange,
                      bool& Switching, TSwitch Switch)
{
    bool allow = true;
    if (OnChanging)
        OnChanging(Sender, allow);
    if (!allow)
        return false;
    {
        auto restore = RestoreOnExit(Switching);
        Switching = true;
        Switch();
    }
    if (OnChange)
        OnChange(Sender);
    return true;
}

} // namespace

bool TPageControl::SelectPage(TTabSheet* Page)
{
    if (Page == nullptr || Page == ActivePage() || FSwitching || Page->FPageControl != this || !Page->TabVisible())
        return false;
    return SwitchAsUserDoes(this, OnChanging, OnChange, FSwitching, [&] { SetActivePage(Page); });
}

// ---- TTabControl --------------------------------------------------------------------

namespace {

// The tab texts of a tab control, read from and written to its bar.
class TTabStrings : public TStrings {
public:
    explicit TTabStrings(TTabControl* AControl) : FControl(AControl) {}
    int Count() const override { return Bar() != nullptr ? Bar()->count() : 0; }
    std::string Get(int Index) const override
    {
        Check(Index);
        return S(Bar()->tabText(Index));
    }
    void Put(int Index, const std::string& Value) override
    {
        Check(Index);
        Bar()->setTabText(Index, Q(Value));
    }
    void Insert(int Index, const std::string& Value) override
    {
        if (Index < 0 || Index > Count())
            Check(Index);
        const QSignalBlocker block(Bar());
        Bar()->insertTab(Index, Q(Value));
        Bar()->updateGeometry();
    }
    void Delete(int Index) override
    {
        Check(Index);
        const QSignalBlocker block(Bar());
        Bar()->removeTab(Index);
        Bar()->updateGeometry();
    }
    void Clear() override
    {
        const QSignalBlocker block(Bar());
        while (Bar()->count() > 0)
            Bar()->removeTab(0);
        Bar()->updateGeometry();
    }

private:
    QTabBar* Bar() const { return static_cast<QTabBar*>(FControl->Widget()); }
    void Check(int Index) const
    {
        if (Index < 0 || Index >= Count())
            throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    }
    TTabControl* FControl;
};

} // namespace

TTabControl::TTabControl(TComponent* AOwner) : TWinControl(AOwner)
{
    auto* bar = new AskingTabBar;
    bar->setExpanding(false);
    bar->setDrawBase(true);
    bar->setUsesScrollButtons(false);
    bar->setElideMode(Qt::ElideNone);
    bar->Select = [this](int index) { GuardedCall([this, index] { SelectTab(index); }); };
    bar->Watch();
    SetWidget(bar);
    FTabs = std::make_unique<TTabStrings>(this);
    SetBounds(0, 0, 289, 24);
}

TTabControl::~TTabControl() = default;

int TTabControl::TabIndex() const
{
    auto* bar = static_cast<QTabBar*>(Widget());
    return bar != nullptr ? bar->currentIndex() : -1;
}

void TTabControl::SetTabIndex(int Value)
{
    auto* bar = static_cast<QTabBar*>(Widget());
    if (bar == nullptr || Value < 0 || Value >= bar->count())
        return;
    const QSignalBlocker block(bar);
    bar->setCurrentIndex(Value);
}

bool TTabControl::SelectTab(int Index)
{
    if (Index < 0 || Index >= FTabs->Count() || Index == TabIndex() || FSwitching)
        return false;
    return SwitchAsUserDoes(this, OnChanging, OnChange, FSwitching, [&] { SetTabIndex(Index); });
}
