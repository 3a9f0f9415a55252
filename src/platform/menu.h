#pragma once

#include "platform/control.h"

#include <QKeySequence>
#include <QString>

#include <functional>

class QAction;
class QMenu;

namespace platform {

// A menu item. Built with the window for an item of the menu bar, or with its parent item for an
// item of that item's menu; items appear in the order they are built. The caption marks the access
// key with "&"; the caption "-" makes a separator line. An item that has items of its own opens
// them, and raises its Click just before they show (so the window can update them); an item
// without raises Click when chosen. Checked shows a check mark and changes only when the window
// sets it.
class Menu : public Control {
 public:
  Menu(Form* form, const QString& name, int index = -1);
  Menu(Menu* parent, const QString& name, int index = -1);
  ~Menu() override;

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  void SetEnabled(bool enabled) override;
  void SetVisible(bool visible) override;
  QKeySequence Shortcut() const;
  void SetShortcut(const QKeySequence& shortcut);

  QAction* Action() const { return action_; }
  // The menu of this item's own items (made when first needed); pop-up menus show it.
  QMenu* SubMenu();

  void CopyDesignFrom(const Control& source) override;
  // Run-time elements of a menu array appear after the array's last element.
  void PlaceAfter(const Menu& sibling);
  // Design elements of a menu array take the array's place among the items: the number of items
  // its parent had when the array was built, plus the elements before them.
  static int ItemCount(Form* form);
  static int ItemCount(Menu* parent);
  void PlaceAt(int position);

 private:
  Menu(Form& form, Menu* parent, const QString& name, int index);
  QWidget* ItemContainer() const;

  Menu* parent_ = nullptr;
  QAction* action_;
  QMenu* subMenu_ = nullptr;
  QString caption_;
  bool checked_ = false;
};

}  // namespace platform
