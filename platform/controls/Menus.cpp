#include "Menus.h"

#include "Controls.h"
#include "QtBridge.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include <algorithm>

using namespace ctlqt;

// ---- TMenuItem ------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FAction(std::make_unique<QAction>())
{
    QObject::connect(FAction.get(), &QAction::triggered, FAction.get(), [this] { GuardedCall([this] { Click(); }); });
}

TMenuItem::~TMenuItem()
{
    // An item frees its children; each leaves its owner's list as it goes.
    Clear();
    if (FParent != nullptr)
        FParent->Remove(this);
    FAction->setMenu(static_cast<QMenu*>(nullptr));
    FMenu.reset();
    FAction.reset();
}

void TMenuItem::SetName(const std::string& NewName)
{
    TComponent::SetName(NewName);
    FAction->setObjectName(Q(Name()));
}

QAction* TMenuItem::Action() const
{
    return FAction.get();
}

void TMenuItem::SetCaption(const std::string& Value)
{
    FCaption = Value;
    ApplyCaption();
}

void TMenuItem::ApplyCaption()
{
    const bool separator = FCaption == "-";
    FAction->setSeparator(separator);
    FAction->setText(separator ? QString() : Q(FCaption));
}

void TMenuItem::SetEnabled(bool Value)
{
    FEnabled = Value;
    FAction->setEnabled(Value);
}

void TMenuItem::SetVisible(bool Value)
{
    FVisible = Value;
    FAction->setVisible(Value);
}

TMenuItem* TMenuItem::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FItems[static_cast<size_t>(Index)];
}

int TMenuItem::IndexOf(const TMenuItem* Item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

QWidget* TMenuItem::ChildContainer()
{
    if (FBar != nullptr)
        return FBar;
    if (FRoot)
        return nullptr;   // a main menu not shown in any bar yet
    if (!FMenu) {
        FMenu = std::make_unique<QMenu>();
        FAction->setMenu(FMenu.get());
    }
    return FMenu.get();
}

void TMenuItem::Add(TMenuItem* Item)
{
    if (Item == nullptr || Item == this)
        return;
    for (TMenuItem* p = this; p != nullptr; p = p->FParent)
        if (p == Item)
            throw EInvalidOperation("A menu item cannot contain itself");
    if (Item->FParent != nullptr)
        Item->FParent->Remove(Item);
    FItems.push_back(Item);
    Item->FParent = this;
    if (QWidget* c = ChildContainer())
        c->addAction(Item->Action());
}

void TMenuItem::Remove(TMenuItem* Item)
{
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    if (it == FItems.end())
        return;
    FItems.erase(it);
    Item->FParent = nullptr;
    if (FBar != nullptr)
        FBar->removeAction(Item->Action());
    else if (FMenu)
        FMenu->removeAction(Item->Action());
}

void TMenuItem::Clear()
{
    while (!FItems.empty())
        delete FItems.back();
}

void TMenuItem::Click()
{
    if (OnClick)
        OnClick(this);
}

// ---- TMainMenu ------------------------------------------------------------------

TMainMenu::TMainMenu(TComponent* AOwner) : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr))
{
    FItems->FRoot = true;
}

TMainMenu::~TMainMenu()
{
    AttachTo(nullptr);
    FItems.reset();
}

void TMainMenu::AttachTo(QWidget* Bar)
{
    TMenuItem* root = FItems.get();
    if (root->FBar == Bar)
        return;
    if (root->FBar != nullptr)
        for (TMenuItem* item : root->FItems)
            root->FBar->removeAction(item->Action());
    root->FBar = Bar;
    if (Bar != nullptr)
        for (TMenuItem* item : root->FItems)
            Bar->addAction(item->Action());
}
