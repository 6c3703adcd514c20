#include "app/kiravel/accessible_widgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

#include <functional>
#include <unordered_map>
#include <utility>

namespace kiravel::qt {

namespace {

enum class Reading { Container, Meter, Text };

struct Facts {
  Reading reading = Reading::Container;
  bool offBus = false;
  bool picture = false;
  int value = 0;
  int maximum = 0;
  QString spoken;
  std::function<void()> press;
};

// By widget; an entry goes with its widget.
std::unordered_map<const QObject*, Facts>& Registry() {
  static std::unordered_map<const QObject*, Facts> registry;
  return registry;
}

const Facts* Find(const QObject* object) {
  auto found = Registry().find(object);
  return found == Registry().end() ? nullptr : &found->second;
}

Facts& Note(QObject& object) {
  auto [entry, added] = Registry().try_emplace(&object);
  if (added) {
    QObject::connect(&object, &QObject::destroyed, [](QObject* gone) { Registry().erase(gone); });
  }
  return entry->second;
}

// What a widget the player clicks offers besides Qt's own actions.
QStringList Actions(const QStringList& own, const QObject* object) {
  const Facts* facts = Find(object);
  if (facts == nullptr || !facts->press) return own;
  return QStringList(own) << QAccessibleActionInterface::pressAction();
}

void Act(const QString& action, const QObject* object) {
  const Facts* facts = Find(object);
  if (facts != nullptr && facts->press && action == QAccessibleActionInterface::pressAction()) {
    facts->press();
  }
}

bool ShownOnTheBus(QObject* child) {
  auto* widget = qobject_cast<QWidget*>(child);
  return widget != nullptr && !widget->isWindow() && !KeptOffTheBus(*widget);
}

// A widget whose children are listed less those kept off the bus; the
// window lists its line of news last.
class Container : public QAccessibleWidget {
 public:
  Container(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

  QAccessible::Role role() const override {
    if (widget()->isWindow()) return QAccessible::Window;
    const Facts* facts = Find(widget());
    return facts != nullptr && facts->picture ? QAccessible::Graphic : QAccessible::Pane;
  }
  int childCount() const override { return static_cast<int>(Children().size()); }
  QAccessibleInterface* child(int index) const override {
    const QObjectList children = Children();
    if (index < 0 || index >= children.size()) return nullptr;
    return QAccessible::queryAccessibleInterface(children[index]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (child == nullptr) return -1;
    return static_cast<int>(Children().indexOf(child->object()));
  }
  QStringList actionNames() const override { return Actions(QAccessibleWidget::actionNames(), widget()); }
  void doAction(const QString& action) override {
    QAccessibleWidget::doAction(action);
    Act(action, widget());
  }

 private:
  QObjectList Children() const {
    QObjectList shown;
    for (QObject* child : widget()->children()) {
      if (ShownOnTheBus(child) || (widget()->isWindow() && dynamic_cast<NewsLine*>(child))) {
        shown.append(child);
      }
    }
    return shown;
  }
};

class Meter : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit Meter(QWidget* widget) : QAccessibleWidget(widget, QAccessible::ProgressBar) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value) return QStringLiteral("%1 / %2").arg(Facts().value).arg(Facts().maximum);
    return QAccessibleWidget::text(kind);
  }
  QVariant currentValue() const override { return Facts().value; }
  void setCurrentValue(const QVariant&) override {}
  QVariant maximumValue() const override { return Facts().maximum; }
  QVariant minimumValue() const override { return 0; }
  QVariant minimumStepSize() const override { return 1; }

 private:
  const kiravel::qt::Facts& Facts() const {
    static const kiravel::qt::Facts none;
    const kiravel::qt::Facts* facts = Find(widget());
    return facts != nullptr ? *facts : none;
  }
};

// Text the player can read but not change or select.
class ReadOnlyText : public QAccessibleTextInterface {
 public:
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int start, int end) const override { return Whole().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(Whole().size()); }
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int* start, int* end) const override {
    *start = *end = offset;
    return {};
  }

 protected:
  virtual QString Whole() const = 0;
};

class SpokenLabel : public QAccessibleWidget, public ReadOnlyText {
 public:
  explicit SpokenLabel(QWidget* widget) : QAccessibleWidget(widget, QAccessible::StaticText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) return Whole();
    return QAccessibleWidget::text(kind);
  }
  QStringList actionNames() const override { return Actions(QAccessibleWidget::actionNames(), widget()); }
  void doAction(const QString& action) override {
    QAccessibleWidget::doAction(action);
    Act(action, widget());
  }

 protected:
  QString Whole() const override {
    const Facts* facts = Find(widget());
    return facts != nullptr ? facts->spoken : QString();
  }
};

class News : public QAccessibleObject, public ReadOnlyText {
 public:
  explicit News(NewsLine* news) : QAccessibleObject(news), news_(news) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return nullptr;
  }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(&news_->Window());
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name) return QStringLiteral("お知らせ");
    if (kind == QAccessible::Description || kind == QAccessible::Value) return Whole();
    return {};
  }
  QAccessible::Role role() const override { return QAccessible::StatusBar; }
  QAccessible::State state() const override {
    QAccessible::State state;
    state.readOnly = true;
    state.invisible = !news_->Window().isVisible();
    return state;
  }
  QRect rect() const override {
    const QWidget& window = news_->Window();
    return QRect(window.mapToGlobal(QPoint(0, 0)), window.size());
  }

 protected:
  QString Whole() const override { return news_->Text(); }

 private:
  NewsLine* news_;
};

QAccessibleInterface* Describe(const QString&, QObject* object) {
  if (auto* news = dynamic_cast<NewsLine*>(object)) return new News(news);
  const Facts* facts = Find(object);
  auto* widget = qobject_cast<QWidget*>(object);
  if (facts == nullptr || widget == nullptr) return nullptr;
  switch (facts->reading) {
    case Reading::Meter:
      return new Meter(widget);
    case Reading::Text:
      return new SpokenLabel(widget);
    case Reading::Container:
      return new Container(widget, QAccessible::Pane);
  }
  return nullptr;
}

// Qt makes a widget's interface as soon as the widget tells of a change, even
// while its base class is being built: Qt's own is made again as described
// here.
void Redescribe(QObject& object) {
  QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&object);
  if (made == nullptr || dynamic_cast<QAccessibleWidget*>(made) == nullptr) return;
  if (dynamic_cast<Container*>(made) || dynamic_cast<Meter*>(made) || dynamic_cast<SpokenLabel*>(made)) return;
  QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

}  // namespace

void DescribeWindowToTheBus() { QAccessible::installFactory(Describe); }

void ListChildrenOnTheBus(QWidget& widget) {
  Note(widget).reading = Reading::Container;
  Redescribe(widget);
}

void KeepOffTheBus(QWidget& widget) { Note(widget).offBus = true; }

bool KeptOffTheBus(const QWidget& widget) {
  const Facts* facts = Find(&widget);
  return facts != nullptr && facts->offBus;
}

void ReadAsPicture(QWidget& panel, bool picture) { Note(panel).picture = picture; }

void PressedBy(QWidget& widget, std::function<void()> press) { Note(widget).press = std::move(press); }

void ReadAsMeter(QWidget& bar) {
  Note(bar).reading = Reading::Meter;
  Redescribe(bar);
}

void SetMeter(QWidget& bar, int value, int maximum) {
  Facts& facts = Note(bar);
  if (facts.value == value && facts.maximum == maximum) return;
  facts.value = value;
  facts.maximum = maximum;
  QAccessibleValueChangeEvent changed(&bar, value);
  QAccessible::updateAccessibility(&changed);
}

void ReadAsText(QWidget& label) {
  Note(label).reading = Reading::Text;
  Redescribe(label);
}

void SetSpokenText(QWidget& label, const QString& text) {
  Facts& facts = Note(label);
  if (facts.spoken == text) return;
  const QString before = std::exchange(facts.spoken, text);
  if (!before.isEmpty() && !text.startsWith(before)) {
    QAccessibleTextRemoveEvent removed(&label, 0, before);
    QAccessible::updateAccessibility(&removed);
  }
  const qsizetype kept = text.startsWith(before) ? before.size() : 0;
  if (kept == text.size()) return;
  QAccessibleTextInsertEvent inserted(&label, static_cast<int>(kept), text.mid(kept));
  QAccessible::updateAccessibility(&inserted);
}

NewsLine::NewsLine(QWidget& window) : QObject(&window), window_(window) {}

void NewsLine::Tell(const QString& news) {
  if (news.isEmpty() || news == text_) return;
  const QString before = std::exchange(text_, news);
  QAccessibleTextUpdateEvent told(this, 0, before, news);
  QAccessible::updateAccessibility(&told);
}

}  // namespace kiravel::qt
