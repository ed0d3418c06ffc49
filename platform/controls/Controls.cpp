#include "Controls.h"

#include "QtBridge.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <QWidget>

#include <algorithm>
#include <vector>

using namespace ctlqt;

struct TControl::WidgetRef {
    QPointer<QWidget> Ptr;
};

namespace {

// Alt with a letter or other character that no accelerator or menu took is no typing: an
// edit, memo, editable combo box or spin edit does not insert the character (the toolkit
// would, so that Alt+D meant for a menu put a "d" into the number being edited). One
// filter of the application serves every control of the program.
class AltKeysTypeNothing : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
#ifdef Q_OS_MACOS
        // There the Option key types characters of its own.
        return false;
#endif
        if (Event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(Event);
        if ((key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) != Qt::AltModifier ||
            key->text().isEmpty() || !key->text().at(0).isPrint())
            return false;
        const auto* combo = qobject_cast<QComboBox*>(Watched);
        return qobject_cast<QLineEdit*>(Watched) != nullptr || qobject_cast<QPlainTextEdit*>(Watched) != nullptr ||
               qobject_cast<QTextEdit*>(Watched) != nullptr || qobject_cast<QAbstractSpinBox*>(Watched) != nullptr ||
               (combo != nullptr && combo->isEditable());
    }
};

} // namespace

// ---- TControl -------------------------------------------------------------------

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner), FWidget(std::make_unique<WidgetRef>())
{
}

TControl::~TControl()
{
    if (FParent != nullptr)
        FParent->RemoveControl(this);
    FParent = nullptr;
    // The control owns its widget; the toolkit may already have destroyed it with a
    // parent widget, which the guarded pointer tells.
    delete FWidget->Ptr.data();
}

QWidget* TControl::Widget() const
{
    return FWidget->Ptr.data();
}

void TControl::SetWidget(QWidget* AWidget)
{
    FWidget->Ptr = AWidget;
    if (AWidget == nullptr)
        return;
    AWidget->setObjectName(Q(Name()));
    AWidget->hide();
    InstallApplicationFilter<AltKeysTypeNothing>();
}

void TControl::SetName(const std::string& NewName)
{
    TComponent::SetName(NewName);
    if (QWidget* w = Widget())
        w->setObjectName(Q(Name()));
}

namespace {

// Whether the widget is Inner itself or lies inside it.
bool Within(const QWidget* Widget, const QWidget* Inner)
{
    return Widget == Inner || Inner->isAncestorOf(Widget);
}

// A widget given a parent inside a window joins the window's focus chain at its end; the
// Tab key follows the parents instead: the widget and what it holds come after what its
// parent already holds (a form embedded in a page sits between the page's tab and the
// controls below the page, not after the window's last button).
void FollowParentInFocusChain(QWidget* Widget)
{
    QWidget* parent = Widget->parentWidget();
    if (parent == nullptr || Within(Widget->previousInFocusChain(), parent))
        return;
    // The last control that takes the focus and belongs to the parent; without one, the
    // last such control before the parent.
    QWidget* after = nullptr;
    QWidget* before = nullptr;
    bool passedParent = false;
    QWidget* start = Widget->window();
    QWidget* w = start;
    do {
        if (w == parent)
            passedParent = true;
        if (w->focusPolicy() != Qt::NoFocus && !Within(w, Widget)) {
            if (Within(w, parent))
                after = w;
            else if (!passedParent)
                before = w;
        }
        w = w->nextInFocusChain();
    } while (w != start && w != nullptr);
    QWidget* anchor = after != nullptr ? after : before;
    if (anchor == nullptr)
        return;
    std::vector<QWidget*> moving;
    for (QWidget* m = Widget; m != nullptr && Within(m, Widget); m = m->nextInFocusChain()) {
        if (m->focusPolicy() != Qt::NoFocus)
            moving.push_back(m);
        if (m->nextInFocusChain() == Widget)
            break;
    }
    for (QWidget* m : moving) {
        QWidget::setTabOrder(anchor, m);
        anchor = m;
    }
}

} // namespace

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == FParent)
        return;
    if (AParent == this)
        throw EInvalidOperation("A control cannot be its own parent");
    TWinControl* old = FParent;
    if (old != nullptr)
        old->RemoveControl(this);
    FParent = AParent;
    QWidget* w = Widget();
    if (w != nullptr) {
        w->setParent(AParent != nullptr ? AParent->ClientWidget() : nullptr);
        if (AParent != nullptr)
            FollowParentInFocusChain(w);
        w->setGeometry(FLeft, FTop, FWidth, FHeight);
        w->setVisible(AParent != nullptr && FVisible);
    }
    if (AParent != nullptr)
        AParent->InsertControl(this);
    if (FAlign != alNone) {
        if (old != nullptr)
            old->Realign();
        if (AParent != nullptr)
            AParent->Realign();
    }
}

bool TControl::LaidOut() const
{
    QWidget* w = Widget();
    return w != nullptr && w->property("platformLaidOut").toBool();
}

void TControl::BoundsFromLayout()
{
    QWidget* w = Widget();
    if (w == nullptr)
        return;
    const QRect g = w->geometry();
    if (g.x() == FLeft && g.y() == FTop && g.width() == FWidth && g.height() == FHeight)
        return;
    FLeft = g.x();
    FTop = g.y();
    FWidth = g.width();
    FHeight = g.height();
    if (auto* self = dynamic_cast<TWinControl*>(this))
        self->Realign();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (LaidOut()) {
        BoundsFromLayout();
        return;
    }
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    UpdateBoundsFromAlign(ALeft, ATop, AWidth, AHeight);
    if (FAlign != alNone && FParent != nullptr)
        FParent->Realign();
}

void TControl::UpdateBoundsFromAlign(int ALeft, int ATop, int AWidth, int AHeight)
{
    FLeft = ALeft;
    FTop = ATop;
    FWidth = std::max(AWidth, 0);
    FHeight = std::max(AHeight, 0);
    if (QWidget* w = Widget(); w != nullptr && FParent != nullptr)
        w->setGeometry(FLeft, FTop, FWidth, FHeight);
    if (auto* self = dynamic_cast<TWinControl*>(this))
        self->Realign();
}

void TControl::SetAlign(TAlign Value)
{
    SetAndNotify(FAlign, Value, [this] {
        if (FParent != nullptr)
            FParent->Realign();
    });
}

void TControl::SetVisible(bool Value)
{
    SetAndNotify(FVisible, Value, [this, Value] {
        if (QWidget* w = Widget(); w != nullptr && FParent != nullptr)
            w->setVisible(Value);
        if (FAlign != alNone && FParent != nullptr)
            FParent->Realign();
    });
}

void TControl::SetEnabled(bool Value)
{
    FEnabled = Value;
    if (QWidget* w = Widget())
        w->setEnabled(Value);
}

void TControl::SetHint(const std::string& Value)
{
    FHint = Value;
    if (QWidget* w = Widget())
        w->setToolTip(Q(Value));
}

void TControl::SetText(const std::string& Value)
{
    if (GetText() == Value)
        return;
    FText = Value;
    TextChanged();
}

std::string TControl::FontName() const
{
    if (!FFontName.empty())
        return FFontName;
    QWidget* w = Widget();
    return w != nullptr ? S(w->font().family()) : std::string();
}

void TControl::SetFontName(const std::string& Value)
{
    FFontName = Value;
    ApplyFont();
}

int TControl::FontSize() const
{
    if (FFontSize > 0)
        return FFontSize;
    QWidget* w = Widget();
    return w != nullptr ? w->font().pointSize() : 0;
}

void TControl::SetFontSize(int Value)
{
    FFontSize = Value;
    ApplyFont();
}

void TControl::SetFontStyle(TFontStyles Value)
{
    FFontStyle = Value;
    FFontStyleSet = true;
    ApplyFont();
}

void TControl::SetFontColor(int Value)
{
    FFontColor = Value;
    FFontColorSet = true;
    ApplyFont();
}

void TControl::ApplyFont()
{
    QWidget* w = Widget();
    if (w == nullptr)
        return;
    // Only what was set is fixed; the rest still comes from the parent's font.
    QFont f;
    if (!FFontName.empty())
        f.setFamily(Q(FFontName));
    if (FFontSize > 0)
        f.setPointSize(FFontSize);
    if (FFontStyleSet) {
        f.setBold(FFontStyle.Test(fsBold));
        f.setItalic(FFontStyle.Test(fsItalic));
        f.setUnderline(FFontStyle.Test(fsUnderline));
        f.setStrikeOut(FFontStyle.Test(fsStrikeOut));
    }
    w->setFont(f);
    if (FFontColorSet) {
        QPalette p = w->palette();
        const QColor c = Color(FFontColor);
        p.setColor(QPalette::WindowText, c);
        p.setColor(QPalette::Text, c);
        p.setColor(QPalette::ButtonText, c);
        w->setPalette(p);
    }
    FontChanged();
}

void TControl::SetFocus()
{
    if (QWidget* w = Widget())
        w->setFocus();
}

bool TControl::Focused() const
{
    const QWidget* w = Widget();
    return w != nullptr && (w->hasFocus() || w->window()->focusWidget() == w);
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

// ---- TWinControl ----------------------------------------------------------------

bool TWinControl::TabStop() const
{
    const QWidget* w = Widget();
    return w != nullptr && (w->focusPolicy() & Qt::TabFocus) != 0;
}

void TWinControl::SetTabStop(bool Value)
{
    QWidget* w = Widget();
    if (w == nullptr)
        return;
    const int policy = w->focusPolicy();
    w->setFocusPolicy(static_cast<Qt::FocusPolicy>(Value ? policy | Qt::TabFocus : policy & ~Qt::TabFocus));
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl()
{
    DetachChildren();
}

void TWinControl::DetachChildren()
{
    // Children that outlive their parent (owned elsewhere) keep their widgets, detached.
    for (TControl* c : FControls) {
        c->FParent = nullptr;
        if (QWidget* w = c->Widget()) {
            w->hide();
            w->setParent(nullptr);
        }
    }
    FControls.clear();
}

TControl* TWinControl::Controls(int Index) const
{
    if (Index < 0 || Index >= ControlCount())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FControls[static_cast<size_t>(Index)];
}

QWidget* TWinControl::ClientWidget() const
{
    return Widget();
}

void TWinControl::GetClientArea(int& ALeft, int& ATop, int& AWidth, int& AHeight) const
{
    ALeft = 0;
    ATop = 0;
    AWidth = Width();
    AHeight = Height();
}

void TWinControl::InsertControl(TControl* AControl)
{
    if (std::find(FControls.begin(), FControls.end(), AControl) == FControls.end())
        FControls.push_back(AControl);
}

void TWinControl::RemoveControl(TControl* AControl)
{
    auto it = std::find(FControls.begin(), FControls.end(), AControl);
    if (it != FControls.end())
        FControls.erase(it);
}

void TWinControl::Realign()
{
    if (FAligning)
        return;
    FAligning = true;
    int x, y, w, h;
    GetClientArea(x, y, w, h);
    int l = x, t = y, r = x + std::max(w, 0), b = y + std::max(h, 0);
    auto clampW = [&](int v) { return std::max(v, 0); };
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* c : FControls) {
            if (c->Align() != a || !c->Visible())
                continue;
            switch (a) {
            case alTop:
                c->UpdateBoundsFromAlign(l, t, clampW(r - l), c->Height());
                t += c->Height();
                break;
            case alBottom:
                b -= c->Height();
                c->UpdateBoundsFromAlign(l, b, clampW(r - l), c->Height());
                break;
            case alLeft:
                c->UpdateBoundsFromAlign(l, t, c->Width(), clampW(b - t));
                l += c->Width();
                break;
            case alRight:
                r -= c->Width();
                c->UpdateBoundsFromAlign(r, t, c->Width(), clampW(b - t));
                break;
            case alClient:
                c->UpdateBoundsFromAlign(l, t, clampW(r - l), clampW(b - t));
                break;
            case alNone:
                break;
            }
        }
    }
    FAligning = false;
}
