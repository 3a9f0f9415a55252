#include "platform/accessiblelabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

#include <algorithm>

namespace platform::detail {

namespace {

constexpr const char* kReadAsLabel = "platformReadAsLabel";

// A label's caption read through the text interface: read only, no caret, no selection.
class LabelAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit LabelAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name) {
      const QString name = widget()->accessibleName();
      return name.isEmpty() ? Shown() : name;
    }
    if (kind == QAccessible::Value) return Shown();
    return QAccessibleWidget::text(kind);
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(int startOffset, int endOffset) const override {
    const QString shown = Shown();
    const int size = static_cast<int>(shown.size());
    const int start = std::clamp(startOffset, 0, size);
    const int end = std::clamp(endOffset, start, size);
    return shown.mid(start, end - start);
  }
  int characterCount() const override { return static_cast<int>(Shown().size()); }
  void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* startOffset, int* endOffset) const override {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
  }

 private:
  QString Shown() const { return static_cast<const QLabel*>(widget())->text(); }
};

QAccessibleInterface* LabelAccessibleFor(const QString&, QObject* object) {
  auto* label = qobject_cast<QLabel*>(object);
  if (!label || !label->property(kReadAsLabel).toBool()) return nullptr;
  return new LabelAccessible(label);
}

}  // namespace

void ReadAsLabel(QLabel* label) {
  static const bool factoryInstalled = (QAccessible::installFactory(&LabelAccessibleFor), true);
  (void)factoryInstalled;
  label->setProperty(kReadAsLabel, true);
}

void AnnounceLabelText(QLabel* label, const QString& shownBefore) {
  if (!QAccessible::isActive() || label->accessibleName().isEmpty() || label->text() == shownBefore) return;
  QAccessibleTextUpdateEvent event(label, 0, shownBefore, label->text());
  QAccessible::updateAccessibility(&event);
}

}  // namespace platform::detail
