#include "TreeViews.h"

#include "QtBridge.h"

#include <QSignalBlocker>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

using namespace ctlqt;

namespace {

TTreeNode* NodeData(const QTreeWidgetItem* Item)
{
    return Item != nullptr ? reinterpret_cast<TTreeNode*>(Item->data(0, Qt::UserRole).value<quintptr>()) : nullptr;
}

// Asks the view before the toolkit opens an item's editor.
class TreeWidget : public QTreeWidget {
public:
    explicit TreeWidget(TTreeView* View) : FView(View) {}

protected:
    bool edit(const QModelIndex& Index, EditTrigger Trigger, QEvent* Event) override
    {
        if (!(editTriggers() & Trigger))
            return QTreeWidget::edit(Index, Trigger, Event);
        bool allow = false;
        GuardedCall([&] { allow = FView->StartEditing(NodeData(itemFromIndex(Index))); });
        return allow && QTreeWidget::edit(Index, Trigger, Event);
    }

private:
    TTreeView* FView;
};

QTreeWidget* TreeOf(const TTreeView* View)
{
    return static_cast<QTreeWidget*>(View->Widget());
}

} // namespace

// ---- TTreeNode ------------------------------------------------------------------

void TTreeNode::SetText(const std::string& Value)
{
    FText = Value;
    const QSignalBlocker block(FItem->treeWidget());
    FItem->setText(0, Q(Value));
}

TTreeNode* TTreeNode::Parent() const
{
    return NodeData(FItem->parent());
}

int TTreeNode::Count() const
{
    return FItem->childCount();
}

TTreeNode* TTreeNode::Item(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return NodeData(FItem->child(Index));
}

int TTreeNode::Index() const
{
    if (FItem->parent() != nullptr)
        return FItem->parent()->indexOfChild(FItem);
    return FItem->treeWidget() != nullptr ? FItem->treeWidget()->indexOfTopLevelItem(FItem) : -1;
}

void TTreeNode::SetExpanded(bool Value)
{
    FItem->setExpanded(Value);
}

// ---- TTreeView ------------------------------------------------------------------

TTreeView::TTreeView(TComponent* AOwner) : TWinControl(AOwner)
{
    auto* tree = new TreeWidget(this);
    SetWidget(tree);
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    QObject::connect(tree, &QTreeWidget::currentItemChanged, tree, [this](QTreeWidgetItem* Current, QTreeWidgetItem*) {
        GuardedCall([this, Current] {
            if (OnChange)
                OnChange(this, NodeOf(Current));
        });
    });
    QObject::connect(tree, &QTreeWidget::itemChanged, tree, [this](QTreeWidgetItem* Item, int) {
        GuardedCall([this, Item] {
            if (TTreeNode* node = NodeOf(Item); node != nullptr && S(Item->text(0)) != node->Text())
                FinishEditing(node, S(Item->text(0)));
        });
    });
    SetBounds(0, 0, 121, 97);
}

TTreeView::~TTreeView()
{
    if (QTreeWidget* tree = TreeOf(this)) {
        const QSignalBlocker block(tree);
        tree->clear();
    }
    FNodes.clear();
}

TTreeNode* TTreeView::NodeOf(QTreeWidgetItem* Item) const
{
    const auto it = FNodes.find(Item);
    return it != FNodes.end() ? it->second.get() : nullptr;
}

int TTreeView::Count() const
{
    QTreeWidget* tree = TreeOf(this);
    return tree != nullptr ? tree->topLevelItemCount() : 0;
}

TTreeNode* TTreeView::TopItem(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return NodeOf(TreeOf(this)->topLevelItem(Index));
}

TTreeNode* TTreeView::AddChild(TTreeNode* Parent, const std::string& Text, TObject* Data)
{
    QTreeWidget* tree = TreeOf(this);
    if (tree == nullptr || (Parent != nullptr && Parent->FView != this))
        return nullptr;
    auto* item = new QTreeWidgetItem;
    auto node = std::unique_ptr<TTreeNode>(new TTreeNode(this, item));
    TTreeNode* result = node.get();
    result->FText = Text;
    result->FData = Data;
    item->setText(0, Q(Text));
    item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(result)));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    FNodes.emplace(item, std::move(node));
    const QSignalBlocker block(tree);
    if (Parent != nullptr)
        Parent->FItem->addChild(item);
    else
        tree->addTopLevelItem(item);
    return result;
}

void TTreeView::Forget(QTreeWidgetItem* Item)
{
    for (int i = 0; i < Item->childCount(); ++i)
        Forget(Item->child(i));
    FNodes.erase(Item);
}

void TTreeView::Delete(TTreeNode* Node)
{
    if (Node == nullptr || Node->FView != this)
        return;
    QTreeWidgetItem* item = Node->FItem;
    bool wasSelected = false;
    for (QTreeWidgetItem* p = TreeOf(this)->currentItem(); p != nullptr && !wasSelected; p = p->parent())
        wasSelected = p == item;
    Forget(item);
    {
        const QSignalBlocker block(TreeOf(this));
        delete item;
    }
    if (wasSelected && OnChange)
        OnChange(this, Selected());
}

void TTreeView::Clear()
{
    QTreeWidget* tree = TreeOf(this);
    if (tree == nullptr)
        return;
    const bool had = tree->currentItem() != nullptr;
    {
        const QSignalBlocker block(tree);
        tree->clear();
    }
    FNodes.clear();
    if (had && OnChange)
        OnChange(this, nullptr);
}

TTreeNode* TTreeView::FindData(const TObject* Data) const
{
    QTreeWidget* tree = TreeOf(this);
    if (tree == nullptr)
        return nullptr;
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it)
        if (TTreeNode* node = NodeOf(*it); node != nullptr && node->Data() == Data)
            return node;
    return nullptr;
}

TTreeNode* TTreeView::Selected() const
{
    QTreeWidget* tree = TreeOf(this);
    return tree != nullptr ? NodeOf(tree->currentItem()) : nullptr;
}

void TTreeView::SetSelected(TTreeNode* Node)
{
    QTreeWidget* tree = TreeOf(this);
    if (tree == nullptr || (Node != nullptr && Node->FView != this))
        return;
    tree->setCurrentItem(Node != nullptr ? Node->FItem : nullptr);
}

void TTreeView::SetReadOnly(bool Value)
{
    FReadOnly = Value;
}

bool TTreeView::StartEditing(TTreeNode* Node)
{
    if (Node == nullptr || Node->FView != this || FReadOnly)
        return false;
    bool allow = true;
    if (OnEditing)
        OnEditing(this, Node, allow);
    return allow;
}

void TTreeView::FinishEditing(TTreeNode* Node, const std::string& Text)
{
    if (Node == nullptr || Node->FView != this)
        return;
    std::string text = Text;
    if (OnEdited)
        OnEdited(this, Node, text);
    Node->SetText(text);
}
