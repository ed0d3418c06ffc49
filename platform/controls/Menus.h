// Menus unit of the platform layer: menu items and the main menu of a form.
#pragma once

#include "classes/Classes.h"

#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QWidget;

// One item of a menu tree. Its toolkit action carries the item's Name as objectName; an
// item with children opens them as a drop-down menu; the caption "-" makes a separator.
class TMenuItem : public TComponent {
public:
    DECLARE_CLASS_NAME(TMenuItem)
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    void SetName(const std::string& NewName) override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

    // Children, in order. An item belongs to at most one parent; Add takes it from the old.
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int Index) const;
    TMenuItem* Parent() const { return FParent; }
    void Add(TMenuItem* Item);
    void Remove(TMenuItem* Item);
    int IndexOf(const TMenuItem* Item) const;
    // Frees every child item.
    void Clear();

    TNotifyEvent OnClick;
    virtual void Click();

    // The toolkit action of the item.
    QAction* Action() const;

private:
    friend class TMainMenu;
    QWidget* ChildContainer();
    void ApplyCaption();

    std::string FCaption;
    bool FEnabled = true;
    bool FVisible = true;
    TMenuItem* FParent = nullptr;
    std::vector<TMenuItem*> FItems;
    std::unique_ptr<QAction> FAction;
    std::unique_ptr<QMenu> FMenu;
    bool FRoot = false;        // the root item of a main menu
    QWidget* FBar = nullptr;   // the root's menu bar, while the menu is shown in one
};

// The menu bar of a form: its Items are the bar's entries.
class TMainMenu : public TComponent {
public:
    DECLARE_CLASS_NAME(TMainMenu)
    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;

    TMenuItem* Items() const { return FItems.get(); }

    // Shows the items in Bar (a form's menu bar), or detaches them (null).
    void AttachTo(QWidget* Bar);

private:
    std::unique_ptr<TMenuItem> FItems;
};
