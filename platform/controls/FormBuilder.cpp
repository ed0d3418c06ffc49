#include "FormBuilder.h"

#include "ListBoxes.h"
#include "QtBridge.h"
#include "classes/Streams.h"
#include "system/ScopeGuard.h"

#include <QBoxLayout>
#include <QBuffer>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

#include <utility>

using namespace ctlqt;

namespace {

using TKind = TFormItem::TKind;

constexpr int Margin = 8;
constexpr int Spacing = 6;

// Keeps a built control's bounds equal to where its layout put the widget.
class BoundsFollower : public QObject {
public:
    BoundsFollower(TControl* AControl, QWidget* AWidget) : QObject(AWidget), FControl(AControl) {}
    bool eventFilter(QObject*, QEvent* Event) override
    {
        if (Event->type() == QEvent::Move || Event->type() == QEvent::Resize)
            FControl->BoundsFromLayout();
        return false;
    }

private:
    TControl* FControl;
};

void FollowLayout(TControl* Control)
{
    QWidget* w = Control->Widget();
    if (w == nullptr || w->property("platformLaidOut").toBool())
        return;
    w->setProperty("platformLaidOut", true);
    w->installEventFilter(new BoundsFollower(Control, w));
}

// The layouts of one container: a grid whose first column holds row labels.
class Builder {
public:
    Builder(TComponent* AOwner) : FOwner(AOwner) {}

    // Fills Grid (inside Container) with the items, stacking them downwards.
    void Stack(TWinControl* Container, QGridLayout* Grid, const TFormItems& Items)
    {
        Grid->setColumnStretch(1, 1);
        int row = Grid->rowCount();
        if (Grid->count() == 0)
            row = 0;
        bool stretched = false;
        for (const TFormItem& item : Items) {
            TLabel* waiting = std::exchange(FWaitingLabel, nullptr);
            switch (item.Kind) {
            case TKind::Row: {
                auto* label = static_cast<TLabel*>(MakeControl(Container, item.Children.front()));
                Grid->addWidget(label->Widget(), row, 0, Qt::AlignLeft | Qt::AlignVCenter);
                TFormItems rest(item.Children.begin() + 1, item.Children.end());
                QHBoxLayout* line = Line(Container, rest, true);
                if (!rest.empty())
                    if (auto* buddy = BuddyOf(Container, line))
                        static_cast<QLabel*>(label->Widget())->setBuddy(buddy);
                // With its buddy known the caption's accelerator takes the focus there.
                label->SetCaption(item.Caption);
                Grid->addLayout(line, row, 1);
                break;
            }
            case TKind::Stretch:
                Grid->setRowStretch(row, 1);
                stretched = true;
                break;
            default: {
                // A label standing alone above a control ("A&xes:" over a list) takes the
                // focus there by its accelerator, as the label of a row does.
                Grid->addLayout(Block(Container, item), row, 0, 1, 2);
                if (item.Kind == TKind::Control) {
                    if (auto* label = dynamic_cast<TLabel*>(FLastMade))
                        FWaitingLabel = label;
                    else if (waiting != nullptr)
                        waiting->SetFocusControl(FLastMade);
                }
                if (item.Kind == TKind::Pages || item.Kind == TKind::Columns || item.Grows)
                    Grid->setRowStretch(row, 1), stretched = true;
                break;
            }
            }
            ++row;
        }
        // Without a stretching item the rows keep to the top.
        if (!stretched)
            Grid->setRowStretch(row, 1);
    }

private:
    TControl* MakeControl(TWinControl* Container, const TFormItem& Item)
    {
        TControl* c = nullptr;
        {
            const auto restore = RestoreOnExit(NewControlsParent());
            NewControlsParent() = Container->ClientWidget();
            c = Item.Make(FOwner);
        }
        FLastMade = c;
        c->SetParent(Container);
        FollowLayout(c);
        QWidget* w = c->Widget();
        if (Item.FixedWidth > 0 && w != nullptr)
            w->setFixedWidth(Item.FixedWidth);
        // Push buttons keep the platform's width at least, and room beside their text
        // for a symbol that a descendant may paint there.
        if (auto* button = qobject_cast<QPushButton*>(w); button != nullptr && Item.FixedWidth == 0)
            button->setMinimumWidth(std::max(c->Width(), button->sizeHint().width() + 28));
        return c;
    }

    // The first control of a row's line, inside a group of controls too (an edit with its
    // up-down).
    static QWidget* BuddyOf(TWinControl*, QLayout* Line)
    {
        for (int i = 0; i < Line->count(); ++i) {
            QLayoutItem* item = Line->itemAt(i);
            if (QWidget* w = item->widget())
                return w;
            if (item->layout() != nullptr)
                if (QWidget* w = BuddyOf(nullptr, item->layout()))
                    return w;
        }
        return nullptr;
    }

    // Items side by side; a row line ends in a stretch unless an item widens.
    QHBoxLayout* Line(TWinControl* Container, const TFormItems& Items, bool KeepLeft)
    {
        auto* line = new QHBoxLayout;
        line->setSpacing(Spacing);
        bool widens = false;
        for (const TFormItem& item : Items) {
            if (item.Kind == TKind::Stretch) {
                line->addStretch(1);
                widens = true;
                continue;
            }
            if (item.Kind != TKind::Control) {
                // A nested line (an edit with its up-down) keeps its size; other blocks widen.
                const bool nestedLine = item.Kind == TKind::Line;
                line->addLayout(Block(Container, item), nestedLine ? 0 : 1);
                widens = widens || !nestedLine;
                continue;
            }
            TControl* c = MakeControl(Container, item);
            QWidget* w = c->Widget();
            if (dynamic_cast<TUpDown*>(c) != nullptr) {
                // The up-down sticks to the edit before it.
                w->setFixedWidth(17);
                if (line->count() > 0) {
                    auto* pair = new QHBoxLayout;
                    pair->setSpacing(0);
                    QLayoutItem* edit = line->takeAt(line->count() - 1);
                    if (edit->widget() != nullptr)
                        w->setFixedHeight(edit->widget()->sizeHint().height());
                    pair->addItem(edit);
                    pair->addWidget(w);
                    line->addLayout(pair);
                    continue;
                }
            }
            const bool wide = item.FixedWidth == 0 && w->sizePolicy().horizontalPolicy() & QSizePolicy::ExpandFlag &&
                              dynamic_cast<TUpDown*>(c) == nullptr;
            widens = widens || wide;
            line->addWidget(w, wide ? 1 : 0);
        }
        if (KeepLeft && !widens)
            line->addStretch(1);
        return line;
    }

    // A block that takes the whole width of its container.
    QLayout* Block(TWinControl* Container, const TFormItem& Item)
    {
        switch (Item.Kind) {
        case TKind::Control: {
            auto* line = new QHBoxLayout;
            TControl* c = MakeControl(Container, Item);
            line->addWidget(c->Widget(), Item.FixedWidth == 0 ? 1 : 0);
            if (Item.FixedWidth > 0)
                line->addStretch(1);
            return line;
        }
        case TKind::Line:
            return Line(Container, Item.Children, false);
        case TKind::Buttons: {
            QHBoxLayout* line = Line(Container, Item.Children, false);
            line->insertStretch(0, 1);
            return line;
        }
        case TKind::Group: {
            auto* line = new QHBoxLayout;
            auto* box = static_cast<TWinControl*>(MakeControl(Container, Item.Children.front()));
            box->SetCaption(Item.Caption);
            Fill(box, TFormItems(Item.Children.begin() + 1, Item.Children.end()));
            line->addWidget(box->Widget());
            return line;
        }
        case TKind::Pages: {
            auto* line = new QHBoxLayout;
            auto* pages = static_cast<TPageControl*>(MakeControl(Container, Item.Children.front()));
            for (size_t i = 1; i < Item.Children.size(); ++i) {
                const TFormItem& pageItem = Item.Children[i];
                auto* sheet = static_cast<TTabSheet*>(pageItem.Make(FOwner));
                sheet->SetCaption(pageItem.Caption);
                sheet->SetPageControl(pages);
                FollowLayout(sheet);
                Fill(sheet, pageItem.Children);
            }
            if (pages->PageCount() > 0)
                pages->SetActivePageIndex(0);
            line->addWidget(pages->Widget());
            return line;
        }
        case TKind::Columns: {
            auto* line = new QHBoxLayout;
            line->setSpacing(Spacing * 2);
            // The growing column (the first one when none is marked) takes the room the
            // others leave.
            size_t growing = 0;
            for (size_t i = 0; i < Item.Children.size(); ++i)
                if (Item.Children[i].Grows) {
                    growing = i;
                    break;
                }
            for (size_t i = 0; i < Item.Children.size(); ++i) {
                auto* grid = new QGridLayout;
                grid->setSpacing(Spacing);
                Stack(Container, grid, Item.Children[i].Children);
                line->addLayout(grid, i == growing ? 1 : 0);
            }
            return line;
        }
        case TKind::Row: {
            auto* grid = new QGridLayout;
            grid->setSpacing(Spacing);
            Stack(Container, grid, {Item});
            return grid;
        }
        default: {
            auto* grid = new QGridLayout;
            grid->setSpacing(Spacing);
            Stack(Container, grid, Item.Children);
            return grid;
        }
        }
    }

public:
    // Gives Container a grid of its own and fills it.
    void Fill(TWinControl* Container, const TFormItems& Items)
    {
        QWidget* client = Container->ClientWidget();
        // A container built empty (a panel left for later contents) is filled in place.
        auto* grid = qobject_cast<QGridLayout*>(client->layout());
        if (grid != nullptr && grid->count() == 0) {
            for (int r = 0; r < grid->rowCount(); ++r)
                grid->setRowStretch(r, 0);
        } else {
            grid = new QGridLayout(client);
        }
        // A plain panel only groups; its contents line up with its neighbours'.
        const int margin = dynamic_cast<TPanel*>(Container) != nullptr ? 0 : Margin;
        grid->setContentsMargins(margin, margin, margin, margin);
        grid->setSpacing(Spacing);
        client->setProperty("platformBuilt", true);
        Stack(Container, grid, Items);
    }

private:
    TComponent* FOwner;
    TControl* FLastMade = nullptr;
    TLabel* FWaitingLabel = nullptr;
};

// Forgets the sizes cached for the widget's contents: by every layout below it (nested
// layouts included) and for every widget in them (a page control that got tabs after it
// was laid out, or a form embedded after it was a window, needs more room than was
// remembered).
void InvalidateLayoutItems(QLayoutItem* Item)
{
    Item->invalidate();
    if (QLayout* layout = Item->layout())
        for (int i = 0; i < layout->count(); ++i)
            InvalidateLayoutItems(layout->itemAt(i));
}

void InvalidateContents(QWidget* Root)
{
    QList<QWidget*> widgets = Root->findChildren<QWidget*>();
    widgets.prepend(Root);
    for (QWidget* w : widgets) {
        w->updateGeometry();
        if (QLayout* layout = w->layout())
            InvalidateLayoutItems(layout);
    }
}

// Makes every built control's bounds equal to its widget's geometry now.
void TakeBounds(TWinControl* Container)
{
    for (int i = 0; i < Container->ControlCount(); ++i) {
        TControl* c = Container->Controls(i);
        if (QWidget* w = c->Widget(); w != nullptr && w->property("platformLaidOut").toBool())
            c->BoundsFromLayout();
        if (auto* inner = dynamic_cast<TWinControl*>(c))
            TakeBounds(inner);
    }
}

TFormItem Arrangement(TKind Kind, std::string Caption, TFormItems Children)
{
    TFormItem item;
    item.Kind = Kind;
    item.Caption = std::move(Caption);
    item.Children = std::move(Children);
    return item;
}

} // namespace

// ---- controls ---------------------------------------------------------------------

TFormItem List(TListBox*& Ref, const std::string& Name, std::initializer_list<const char*> Items)
{
    std::vector<std::string> items(Items.begin(), Items.end());
    TFormItem item = Ctl(Ref, Name);
    auto make = item.Make;
    item.Make = [make, items, &Ref](TComponent* Owner) -> TControl* {
        TControl* c = make(Owner);
        for (const std::string& s : items)
            Ref->Items()->Add(s);
        return c;
    };
    return item;
}

TFormItem UpDownEdit(TEdit*& Edit, const std::string& EditName, TUpDown*& UpDown, const std::string& UpDownName,
                     int Min, int Max, int Increment)
{
    TFormItem edit = Ctl(Edit, EditName, "", 56);
    TFormItem upDown = Ctl(UpDown, UpDownName);
    auto makeUpDown = upDown.Make;
    upDown.Make = [makeUpDown, &Edit, &UpDown, Min, Max, Increment](TComponent* Owner) -> TControl* {
        TControl* c = makeUpDown(Owner);
        UpDown->SetMin(Min);
        UpDown->SetMax(Max);
        UpDown->SetIncrement(Increment);
        UpDown->SetParent(Edit->Parent());
        UpDown->SetAssociate(Edit);
        UpDown->SetPosition(Min);
        return c;
    };
    return Arrangement(TKind::Line, "", {edit, upDown});
}

TFormItem Track(TTrackBar*& Ref, const std::string& Name, int Min, int Max, int Frequency)
{
    TFormItem item = Ctl(Ref, Name);
    auto make = item.Make;
    item.Make = [make, &Ref, Min, Max, Frequency](TComponent* Owner) -> TControl* {
        TControl* c = make(Owner);
        Ref->SetMin(Min);
        Ref->SetMax(Max);
        Ref->SetFrequency(Frequency);
        return c;
    };
    return item;
}

TFormItem Radios(TRadioGroup*& Ref, const std::string& Name, const std::string& Caption,
                 std::initializer_list<const char*> Items, int Columns)
{
    return Radios(Ref, Name, Caption, std::vector<std::string>(Items.begin(), Items.end()), Columns);
}

TFormItem Radios(TRadioGroup*& Ref, const std::string& Name, const std::string& Caption,
                 const std::vector<std::string>& items, int Columns)
{
    TFormItem item = Ctl(Ref, Name, Caption);
    auto make = item.Make;
    item.Make = [make, &Ref, items, Columns](TComponent* Owner) -> TControl* {
        TControl* c = make(Owner);
        Ref->SetColumns(Columns);
        for (const std::string& s : items)
            Ref->Items()->Add(s);
        return c;
    };
    return item;
}

TFormItem KindButton(TBitBtn*& Ref, const std::string& Name, TBitBtnKind Kind, int FixedWidth)
{
    TFormItem item = Ctl(Ref, Name, "", FixedWidth);
    auto make = item.Make;
    item.Make = [make, &Ref, Kind](TComponent* Owner) -> TControl* {
        TControl* c = make(Owner);
        Ref->SetKind(Kind);
        return c;
    };
    return item;
}

// ---- arrangement ------------------------------------------------------------------

TFormItem Row(TLabel*& Label, const std::string& LabelName, const std::string& Caption, TFormItems Items)
{
    TFormItems children{Ctl(Label, LabelName)};
    for (TFormItem& i : Items)
        children.push_back(std::move(i));
    return Arrangement(TKind::Row, Caption, std::move(children));
}

TFormItem Row(const std::string& Caption, TFormItems Items)
{
    TFormItem label;
    label.Make = [](TComponent* Owner) -> TControl* { return new TLabel(Owner); };
    TFormItems children{label};
    for (TFormItem& i : Items)
        children.push_back(std::move(i));
    return Arrangement(TKind::Row, Caption, std::move(children));
}

TFormItem Line(TFormItems Items)
{
    return Arrangement(TKind::Line, "", std::move(Items));
}

TFormItem Group(TGroupBox*& Ref, const std::string& Name, const std::string& Caption, TFormItems Items)
{
    TFormItems children{Ctl(Ref, Name)};
    for (TFormItem& i : Items)
        children.push_back(std::move(i));
    return Arrangement(TKind::Group, Caption, std::move(children));
}

TFormItem Panel(TPanel*& Ref, const std::string& Name, TFormItems Items)
{
    TFormItem panel = Ctl(Ref, Name);
    auto make = panel.Make;
    panel.Make = [make, &Ref](TComponent* Owner) -> TControl* {
        TControl* c = make(Owner);
        Ref->SetBevelOuter(bvNone);
        return c;
    };
    TFormItems children{panel};
    for (TFormItem& i : Items)
        children.push_back(std::move(i));
    // A panel is a group without frame or caption.
    return Arrangement(TKind::Group, "", std::move(children));
}

TFormItem Pages(TPageControl*& Ref, const std::string& Name, TFormItems PageItems)
{
    TFormItems children{Ctl(Ref, Name)};
    for (TFormItem& i : PageItems)
        children.push_back(std::move(i));
    return Arrangement(TKind::Pages, "", std::move(children));
}

TFormItem Page(TTabSheet*& Ref, const std::string& Name, const std::string& Caption, TFormItems Items)
{
    TFormItem page = Ctl(Ref, Name);
    page.Kind = TKind::Page;
    page.Caption = Caption;
    page.Children = std::move(Items);
    return page;
}

TFormItem Buttons(TFormItems Items)
{
    return Arrangement(TKind::Buttons, "", std::move(Items));
}

TFormItem Columns(TFormItems ColumnItems)
{
    return Arrangement(TKind::Columns, "", std::move(ColumnItems));
}

TFormItem Column(TFormItems Items)
{
    return Arrangement(TKind::Column, "", std::move(Items));
}

TFormItem Growing(TFormItem Item)
{
    Item.Grows = true;
    return Item;
}

TFormItem WithFontName(TFormItem Item, const std::string& FontName)
{
    TFormItem& control = Item.Kind == TKind::Control ? Item : Item.Children.front();
    control.Make = [make = std::move(control.Make), FontName](TComponent* Owner) {
        TControl* c = make(Owner);
        c->SetFontName(FontName);
        return c;
    };
    return Item;
}

TFormItem Stretch()
{
    return Arrangement(TKind::Stretch, "", {});
}

// ---- building ---------------------------------------------------------------------

void BuildInto(TWinControl* Container, TComponent* Owner, TFormItems Items)
{
    Builder builder(Owner);
    builder.Fill(Container, Items);
    if (QLayout* layout = Container->ClientWidget()->layout())
        layout->activate();
    TakeBounds(Container);
}

void BuildForm(TForm* Form, int ClientWidth, int ClientHeight, TFormItems Items)
{
    Builder builder(Form);
    builder.Fill(Form, Items);
    QLayout* layout = Form->ClientWidget()->layout();
    const QSize need = layout->minimumSize();
    Form->SetBounds(Form->Left(), Form->Top(), std::max(ClientWidth, need.width()),
                    std::max(ClientHeight, need.height()));
    Form->ClientWidget()->resize(Form->Width(), Form->Height());
    layout->activate();
    TakeBounds(Form);
}

bool FillLaidOutHost(TWinControl* Host, TControl* Control)
{
    QWidget* client = Host != nullptr ? Host->ClientWidget() : nullptr;
    if (client == nullptr || !client->property("platformBuilt").toBool() || Control->Widget() == nullptr)
        return false;
    auto* grid = static_cast<QGridLayout*>(client->layout());
    Control->SetParent(Host);
    FollowLayout(Control);
    // The hosted control takes the whole client area of the (empty) host. A form built as
    // a window kept the least size its layout had then; from now on its contents tell.
    Control->Widget()->setMinimumSize(0, 0);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Control->Widget(), 0, 0, std::max(grid->rowCount(), 1), 2);
    grid->activate();
    Control->BoundsFromLayout();
    return true;
}

bool ContentsMinimumSize(TWinControl* Control, int& Width, int& Height)
{
    QLayout* layout = Control != nullptr && Control->ClientWidget() != nullptr ? Control->ClientWidget()->layout() : nullptr;
    if (layout == nullptr)
        return false;
    InvalidateContents(Control->ClientWidget());
    const QSize need = layout->minimumSize();
    Width = need.width();
    Height = need.height();
    return true;
}

void SetMinimumSize(TControl* Control, int Width, int Height)
{
    if (QWidget* w = Control != nullptr ? Control->Widget() : nullptr)
        w->setMinimumSize(Width, Height);
}

void KeepRoomWhenHidden(TControl* Control)
{
    if (QWidget* w = Control != nullptr ? Control->Widget() : nullptr) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }
}

void SetFixedWidth(TControl* Control, int Width)
{
    if (QWidget* w = Control != nullptr ? Control->Widget() : nullptr)
        w->setFixedWidth(Width);
}

void SetFixedHeight(TControl* Control, int Height)
{
    if (QWidget* w = Control != nullptr ? Control->Widget() : nullptr)
        w->setFixedHeight(Height);
}

void SetRightMargin(TWinControl* Container, int Pixels)
{
    QLayout* layout = Container != nullptr && Container->ClientWidget() != nullptr ? Container->ClientWidget()->layout() : nullptr;
    if (layout == nullptr)
        return;
    QMargins margins = layout->contentsMargins();
    margins.setRight(Pixels);
    layout->setContentsMargins(margins);
    layout->activate();
    TakeBounds(Container);
}

void SetTabOrder(std::initializer_list<TControl*> Controls)
{
    QWidget* before = nullptr;
    for (TControl* c : Controls) {
        QWidget* w = c != nullptr ? c->Widget() : nullptr;
        if (w == nullptr)
            continue;
        if (before != nullptr)
            QWidget::setTabOrder(before, w);
        before = w;
    }
}

void UpdateLayout(TWinControl* Container)
{
    QWidget* client = Container != nullptr ? Container->ClientWidget() : nullptr;
    if (client == nullptr || client->layout() == nullptr)
        return;
    client->layout()->invalidate();
    client->layout()->activate();
    TakeBounds(Container);
}

bool ReplaceInLayout(TControl* Old, TControl* Control)
{
    QWidget* old = Old != nullptr ? Old->Widget() : nullptr;
    QWidget* host = old != nullptr ? old->parentWidget() : nullptr;
    if (host == nullptr || host->layout() == nullptr || Control == nullptr || Control->Widget() == nullptr)
        return false;
    Control->SetParent(Old->Parent());
    FollowLayout(Control);
    QLayoutItem* item = host->layout()->replaceWidget(old, Control->Widget());
    if (item == nullptr)
        return false;
    delete item;
    Old->SetVisible(false);
    Control->SetVisible(true);
    host->layout()->activate();
    Control->BoundsFromLayout();
    return true;
}

namespace {

// The box layout under Layout that holds Widget itself.
QBoxLayout* LineHolding(QLayout* Layout, QWidget* Widget)
{
    if (Layout == nullptr)
        return nullptr;
    auto* box = qobject_cast<QBoxLayout*>(Layout);
    if (box != nullptr && box->indexOf(Widget) >= 0)
        return box;
    for (int i = 0; i < Layout->count(); ++i)
        if (QBoxLayout* found = LineHolding(Layout->itemAt(i)->layout(), Widget))
            return found;
    return nullptr;
}

} // namespace

bool MoveToLineStart(TControl* Control, int Indent)
{
    QWidget* w = Control != nullptr ? Control->Widget() : nullptr;
    QWidget* host = w != nullptr ? w->parentWidget() : nullptr;
    QBoxLayout* line = host != nullptr ? LineHolding(host->layout(), w) : nullptr;
    if (line == nullptr)
        return false;
    line->removeWidget(w);
    line->insertWidget(0, w);
    host->layout()->activate();
    if (const int gap = Indent - line->geometry().left(); gap > 0) {
        line->insertSpacing(0, gap);
        host->layout()->activate();
    }
    Control->BoundsFromLayout();
    return true;
}

bool SaveControlPicture(TControl* Control, const std::string& FileName)
{
    QWidget* w = Control != nullptr ? Control->Widget() : nullptr;
    if (w == nullptr)
        return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!w->grab().save(&buffer, "PNG"))
        return false;
    try {
        WriteFileReplacing(FileName, [&bytes](TStream* Stream) { Stream->WriteBuffer(bytes.constData(), bytes.size()); });
    } catch (const Exception&) {
        return false;
    }
    return true;
}

void AppendInto(TWinControl* Container, TComponent* Owner, TFormItems Items)
{
    auto* grid = qobject_cast<QGridLayout*>(Container->ClientWidget()->layout());
    if (grid == nullptr) {
        BuildInto(Container, Owner, std::move(Items));
        return;
    }
    // The old rows give up the stretch that kept them at the top; Stack sets it anew.
    for (int row = 0; row < grid->rowCount(); ++row)
        grid->setRowStretch(row, 0);
    Builder builder(Owner);
    builder.Stack(Container, grid, Items);
    const QSize need = grid->minimumSize();
    if (need.width() > Container->Width() || need.height() > Container->Height()) {
        Container->SetBounds(Container->Left(), Container->Top(), std::max(Container->Width(), need.width()),
                             std::max(Container->Height(), need.height()));
        Container->ClientWidget()->resize(Container->Width(), Container->Height());
    }
    grid->activate();
    TakeBounds(Container);
}
