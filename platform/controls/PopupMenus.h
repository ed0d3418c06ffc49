// Pop-up menus of the platform layer: a menu of items that opens at a point of the
// screen, by itself or when the user asks for the context menu of a bound control.
#pragma once

#include "Menus.h"

#include <memory>

class TControl;

class TPopupMenu : public TComponent {
public:
    DECLARE_CLASS_NAME(TPopupMenu)
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    // The menu's items (its Items are the entries of the menu).
    TMenuItem* Items() const { return FItems.get(); }

    // The control the menu was last opened for (nullptr when opened by Popup alone).
    TControl* PopupComponent() const { return FPopupComponent; }

    // Opens the menu for the control's context-menu requests from now on (nullptr: for
    // none). The control's own context menu gives way to this one.
    void BindTo(TControl* Control);
    TControl* BoundControl() const { return FBound; }

    // OnPopup runs first, so that it can show, hide or enable items; then the menu opens
    // at the screen point without waiting for a choice (a chosen item runs its OnClick).
    void Popup(int X, int Y);
    // Popup for a control at a point of its client area; the path a context-menu
    // request of a bound control takes.
    void PopupFor(TControl* Control, int X, int Y);
    // Whether the menu is open on the screen.
    bool Showing() const;
    // Closes the menu if it is open.
    void CloseUp();

    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::unique_ptr<TMenuItem> FItems;
    TControl* FPopupComponent = nullptr;
    TControl* FBound = nullptr;
    struct Connection;
    std::unique_ptr<Connection> FConnection;
};
