#include "platform/qt/QtAccessible.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace mirel::qt {

namespace {

QtAccessibleStory* g_story = nullptr;

QAccessible::Role RoleOf(AccessRole r) {
  switch (r) {
    case AccessRole::Tag: return QAccessible::StaticText;
    case AccessRole::Message: return QAccessible::Paragraph;
    case AccessRole::Caption: return QAccessible::Heading;
    case AccessRole::Button: return QAccessible::PushButton;
    case AccessRole::Picture: return QAccessible::Graphic;
    case AccessRole::Dialog: return QAccessible::Dialog;
  }
  return QAccessible::StaticText;
}

QString Q(const Text& t) { return QString::fromStdU16String(t).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

// One thing on the picture; it lives until the next scene.
class StoryItem final : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  StoryItem(QtAccessibleStory& story, int index) : story_(story), index_(index) {}
  bool isValid() const override { return index_ < static_cast<int>(story_.Scene().items.size()); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return story_.Picture()->window()->windowHandle(); }
  QAccessibleInterface* focusChild() const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(story_.Picture()); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name && isValid() ? Q(Item().name) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override { return isValid() ? story_.ScreenRect(Item().box) : QRect(); }
  QAccessible::Role role() const override { return isValid() ? RoleOf(Item().role) : QAccessible::NoRole; }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid()) return s;
    const AccessItem& i = Item();
    s.focusable = i.Focusable();
    s.focused = story_.Focus() == index_;
    s.selectable = i.role == AccessRole::Button;
    s.selected = i.selected;
    s.disabled = !i.enabled;
    s.readOnly = i.role != AccessRole::Button;
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ActionInterface && isValid() && Item().role == AccessRole::Button)
      return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override {
    if (name == pressAction()) story_.Press(index_);
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  const AccessItem& Item() const { return story_.Scene().items[static_cast<size_t>(index_)]; }
  QtAccessibleStory& story_;
  int index_;
};

// The picture: named by what it shows, its children the things on it.
class PictureAccessible final : public QAccessibleWidget {
 public:
  explicit PictureAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Client) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && g_story) return g_story->Summary();
    return QAccessibleWidget::text(t);
  }
  int childCount() const override { return g_story ? static_cast<int>(g_story->Scene().items.size()) : 0; }
  QAccessibleInterface* child(int i) const override { return g_story ? g_story->Child(i) : nullptr; }
  int indexOfChild(const QAccessibleInterface* c) const override { return g_story ? g_story->IndexOf(c) : -1; }
  QAccessibleInterface* focusChild() const override {
    if (!g_story || g_story->Focus() < 0) return nullptr;
    return g_story->Child(g_story->Focus());
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int i = 0; i < childCount(); ++i)
      if (QAccessibleInterface* c = child(i); c && c->rect().contains(x, y)) return c;
    return nullptr;
  }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
  if (g_story && object == g_story->Picture()) return new PictureAccessible(g_story->Picture());
  return nullptr;
}

}  // namespace

QtAccessibleStory::QtAccessibleStory(QtWindow& window, EventInbox& inbox) : window_(window), inbox_(inbox) {
  g_story = this;
  QAccessible::installFactory(Factory);
}

QtAccessibleStory::~QtAccessibleStory() {
  Drop();
  QAccessible::removeFactory(Factory);
  g_story = nullptr;
}

QWidget* QtAccessibleStory::Picture() const { return window_.Canvas(); }

QAccessibleInterface* QtAccessibleStory::Child(int i) const {
  if (i < 0 || i >= static_cast<int>(ids_.size())) return nullptr;
  return QAccessible::accessibleInterface(ids_[static_cast<size_t>(i)]);
}

int QtAccessibleStory::IndexOf(const QAccessibleInterface* child) const {
  for (size_t i = 0; i < ids_.size(); ++i)
    if (QAccessible::accessibleInterface(ids_[i]) == child) return static_cast<int>(i);
  return -1;
}

QString QtAccessibleStory::Summary() const {
  QStringList parts;
  for (const AccessItem& i : scene_.items) parts << Q(i.name);
  return parts.join(QStringLiteral(" "));
}

QRect QtAccessibleStory::ScreenRect(const Rect& box) const {
  const PictureRect placed = window_.Canvas()->Placed();
  const double dpr = window_.Canvas()->devicePixelRatioF();
  const double sx = placed.w / double(kPictureWidth) / dpr, sy = placed.h / double(kPictureHeight) / dpr;
  const QPoint at = window_.Canvas()->mapToGlobal(
      QPoint(static_cast<int>(placed.x / dpr + box.x * sx), static_cast<int>(placed.y / dpr + box.y * sy)));
  return QRect(at, QSize(static_cast<int>(box.w * sx + 0.5), static_cast<int>(box.h * sy + 0.5)));
}

void QtAccessibleStory::Press(int index) {
  if (index < 0 || index >= static_cast<int>(scene_.items.size())) return;
  const Rect& b = scene_.items[static_cast<size_t>(index)].box;
  if (b.Empty()) return;
  const int x = b.x + b.w / 2, y = b.y + b.h / 2;
  inbox_.pending.push_back(MouseEvent(EventKind::MouseMove, x, y));
  inbox_.pending.push_back(MouseEvent(EventKind::MouseDown, x, y));
}

void QtAccessibleStory::Drop() {
  for (QAccessible::Id id : ids_) {
    if (QAccessible::isActive()) {
      QAccessibleEvent gone(QAccessible::accessibleInterface(id), QAccessible::ObjectDestroyed);
      QAccessible::updateAccessibility(&gone);
    }
    QAccessible::deleteAccessibleInterface(id);
  }
  ids_.clear();
}

void QtAccessibleStory::SceneChanged(const AccessScene& scene, int focus) {
  Drop();
  scene_ = scene;
  focus_ = focus;
  // A dialog is a window of its own with its own accessible controls: the
  // picture under it only names it.
  if (scene_.screen == AccessScreen::Dialog && scene_.items.size() > 1) {
    scene_.items.resize(1);
    focus_ = -1;
  }
  for (size_t i = 0; i < scene_.items.size(); ++i)
    ids_.push_back(QAccessible::registerAccessibleInterface(new StoryItem(*this, static_cast<int>(i))));
  if (!QAccessible::isActive()) return;
  for (QAccessible::Id id : ids_) {
    QAccessibleEvent made(QAccessible::accessibleInterface(id), QAccessible::ObjectCreated);
    QAccessible::updateAccessibility(&made);
  }
  // The picture has the keyboard focus: its new name is read out.
  QAccessibleEvent renamed(window_.Canvas(), QAccessible::NameChanged);
  QAccessible::updateAccessibility(&renamed);
  if (focus_ >= 0) FocusChanged(scene_, focus_);
}

void QtAccessibleStory::StatesChanged(const AccessScene& before, const AccessScene& scene, int focus) {
  if (scene.screen == AccessScreen::Dialog) return;
  scene_ = scene;
  focus_ = focus;
  if (!QAccessible::isActive()) return;
  for (size_t i = 0; i < scene_.items.size() && i < before.items.size() && i < ids_.size(); ++i) {
    if (scene_.items[i].selected == before.items[i].selected) continue;
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent lit(QAccessible::accessibleInterface(ids_[i]), changed);
    QAccessible::updateAccessibility(&lit);
  }
}

void QtAccessibleStory::FocusChanged(const AccessScene& scene, int focus) {
  if (scene.screen == AccessScreen::Dialog) return;
  scene_ = scene;
  focus_ = focus;
  if (!QAccessible::isActive() || focus_ < 0 || focus_ >= static_cast<int>(ids_.size())) return;
  QAccessibleEvent focused(QAccessible::accessibleInterface(ids_[static_cast<size_t>(focus_)]), QAccessible::Focus);
  QAccessible::updateAccessibility(&focused);
}

}  // namespace mirel::qt
