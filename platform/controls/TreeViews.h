// The platform's tree view: nodes with a text and an object, any depth, one selected
// node and in-place renaming of the nodes the program allows.
#pragma once

#include "Controls.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

class QTreeWidgetItem;
class TTreeView;

// One node of a tree view; the view owns it.
class TTreeNode {
public:
    const std::string& Text() const { return FText; }
    void SetText(const std::string& Value);
    // The object the program hangs on the node (not owned).
    TObject* Data() const { return FData; }
    void SetData(TObject* Value) { FData = Value; }

    TTreeView* TreeView() const { return FView; }
    TTreeNode* Parent() const;
    int Count() const;
    TTreeNode* Item(int Index) const;
    // Position among its parent's children (or among the top nodes).
    int Index() const;
    void SetExpanded(bool Value);

private:
    friend class TTreeView;
    TTreeNode(TTreeView* View, QTreeWidgetItem* Item) : FView(View), FItem(Item) {}
    TTreeView* FView;
    QTreeWidgetItem* FItem;
    std::string FText;
    TObject* FData = nullptr;
};

using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, std::string& S)>;

// A tree (QTreeWidget). Changing the selected node, by the user or the program, fires
// OnChange. The user renames a node in place (F2, or a click on the selected node)
// when the view is not read-only and OnEditing allows it; OnEdited may change the new
// text before the node takes it.
class TTreeView : public TWinControl {
public:
    DECLARE_CLASS_NAME(TTreeView)
    explicit TTreeView(TComponent* AOwner);
    ~TTreeView() override;

    // Top-level nodes.
    int Count() const;
    TTreeNode* TopItem(int Index) const;
    // A new last child of Parent (a top node for nullptr).
    TTreeNode* AddChild(TTreeNode* Parent, const std::string& Text, TObject* Data = nullptr);
    // Frees the node with its children.
    void Delete(TTreeNode* Node);
    void Clear();
    // The first node, in tree order, whose Data is the object.
    TTreeNode* FindData(const TObject* Data) const;

    TTreeNode* Selected() const;
    void SetSelected(TTreeNode* Node);

    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);

    // The paths the toolkit's in-place editing takes: whether editing of the node may
    // start (then the editor opens), and the text typed for it.
    bool StartEditing(TTreeNode* Node);
    void FinishEditing(TTreeNode* Node, const std::string& Text);

    TTVChangedEvent OnChange;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;

private:
    friend class TTreeNode;
    TTreeNode* NodeOf(QTreeWidgetItem* Item) const;
    void Forget(QTreeWidgetItem* Item);
    std::map<QTreeWidgetItem*, std::unique_ptr<TTreeNode>> FNodes;
    bool FReadOnly = false;
};
