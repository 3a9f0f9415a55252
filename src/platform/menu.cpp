#include "platform/menu.h"

#include "platform/form.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace platform {

Menu::Menu(Form* form, const QString& name, int index) : Menu(*form, nullptr, name, index) {}

Menu::Menu(Menu* parent, const QString& name, int index) : Menu(parent->OwnerForm(), parent, name, index) {}

Menu::Menu(Form& form, Menu* parent, const QString& name, int index)
    : Control(ControlKind::Menu, form, name, index), parent_(parent), action_(new QAction(name)) {
  if (parent) {
    parent->SubMenu()->addAction(action_);
  } else {
    form.MenuBar()->addAction(action_);
  }
  QObject::connect(action_, &QAction::triggered, action_, [this] {
    action_->setChecked(checked_);  // the check mark follows the window's code, not the click
    Raise(Click);
  });
}

Menu::~Menu() {
  delete action_;
  delete subMenu_;
}

QMenu* Menu::SubMenu() {
  if (!subMenu_) {
    subMenu_ = new QMenu;
    subMenu_->setTitle(action_->text());
    action_->setMenu(subMenu_);
    QObject::connect(subMenu_, &QMenu::aboutToShow, subMenu_, [this] { Raise(Click); });
  }
  return subMenu_;
}

void Menu::SetCaption(const QString& caption) {
  caption_ = caption;
  const bool separator = caption == QStringLiteral("-");
  action_->setSeparator(separator);
  // A separator with a text is drawn as a titled section: the "-" would show as an item.
  const QString shown = separator ? QString() : caption;
  action_->setText(shown);
  if (subMenu_) subMenu_->setTitle(shown);
}

void Menu::SetChecked(bool checked) {
  checked_ = checked;
  action_->setCheckable(checked || action_->isCheckable());
  action_->setChecked(checked);
}

void Menu::SetEnabled(bool enabled) {
  Control::SetEnabled(enabled);
  action_->setEnabled(enabled);
}

void Menu::SetVisible(bool visible) {
  Control::SetVisible(visible);
  action_->setVisible(visible);
}

QKeySequence Menu::Shortcut() const { return action_->shortcut(); }

void Menu::SetShortcut(const QKeySequence& shortcut) {
  action_->setShortcut(shortcut);
  // Shortcuts work wherever the focus is in the window, menus open or not.
  action_->setShortcutContext(Qt::WindowShortcut);
  OwnerForm().Widget()->addAction(action_);
}

void Menu::CopyDesignFrom(const Control& source) {
  Control::CopyDesignFrom(source);
  const auto& menu = static_cast<const Menu&>(source);
  SetCaption(menu.caption_);
  SetChecked(menu.checked_);
}

QWidget* Menu::ItemContainer() const {
  return parent_ ? static_cast<QWidget*>(parent_->SubMenu()) : static_cast<QWidget*>(OwnerForm().MenuBar());
}

int Menu::ItemCount(Form* form) { return static_cast<int>(form->MenuBar()->actions().size()); }
int Menu::ItemCount(Menu* parent) { return static_cast<int>(parent->SubMenu()->actions().size()); }

void Menu::PlaceAt(int position) {
  QWidget* container = ItemContainer();
  container->removeAction(action_);
  const QList<QAction*> actions = container->actions();
  if (position < 0 || position >= actions.size()) {
    container->addAction(action_);
  } else {
    container->insertAction(actions.at(position), action_);
  }
}

void Menu::PlaceAfter(const Menu& sibling) {
  const qsizetype at = ItemContainer()->actions().indexOf(sibling.action_);
  PlaceAt(at < 0 ? -1 : static_cast<int>(at) + 1);
}

}  // namespace platform
