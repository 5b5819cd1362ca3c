#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "platform/qt/QtHost.h"

namespace mirel::qt {

namespace {

// The dialog window; its close box is reported like a control named
// "_close" and the dialog decides what it means.
class ModelDialog final : public QDialog {
 public:
  ModelDialog(EventInbox& inbox, std::string name, bool closeBox, QWidget* owner)
      : QDialog(owner), inbox_(inbox), name_(std::move(name)) {
    Qt::WindowFlags f = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closeBox) f |= Qt::WindowCloseButtonHint;
    setWindowFlags(f);
  }

 protected:
  void closeEvent(QCloseEvent* e) override {
    e->ignore();
    inbox_.pending.push_back(ControlEvent(name_, "_close"));
  }
  void reject() override {}  // Esc does not close behind the game's back
  // Losing the focus is reported like a control named "_deactivate"; only
  // a dialog that had it can lose it.
  void changeEvent(QEvent* e) override {
    if (e->type() == QEvent::ActivationChange) {
      if (isActiveWindow()) hadFocus_ = true;
      else if (hadFocus_ && isVisible()) {
        hadFocus_ = false;
        inbox_.pending.push_back(ControlEvent(name_, "_deactivate"));
      }
    }
    QDialog::changeEvent(e);
  }

 private:
  EventInbox& inbox_;
  std::string name_;
  bool hadFocus_ = false;
};

// Labels, panels and pictures report clicks: the save dialog's slots are
// picked by clicking their frame or caption, or from the keyboard (Tab to
// it, then Space or Enter) where the frame is named for that.
class ClickLabel final : public QLabel {
 public:
  ClickLabel(QWidget* parent, std::function<void()> onClick) : QLabel(parent), onClick_(std::move(onClick)) {}
  // A disabled picture only stops answering: Qt would grey its picture,
  // where the game's frames keep their colours while it is busy.
  void SetAnswering(bool on) { answering_ = on; }
  void SetKeyboard(bool on) {
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
    keyboard_ = on;
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (answering_) onClick_();
    else e->ignore();
  }
  void keyPressEvent(QKeyEvent* e) override {
    const bool press = e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (keyboard_ && press && !e->isAutoRepeat()) {
      if (answering_) onClick_();
      return;
    }
    QLabel::keyPressEvent(e);
  }
  // The keyboard's place is shown over the picture, which stays as drawn.
  void paintEvent(QPaintEvent* e) override {
    QLabel::paintEvent(e);
    if (!hasFocus()) return;
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DashLine));
    p.drawRect(rect().adjusted(1, 1, -1, -1));
  }

 private:
  std::function<void()> onClick_;
  bool answering_ = true;
  bool keyboard_ = false;
};

// Captions break lines with CR LF; Qt's labels want a bare LF.
QString Q(const Text& t) { return QString::fromStdU16String(t).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

// The dialogs were laid out for a 9-point Japanese gothic: other faces cut
// their captions short. Set on every control, since a control with a style
// sheet of its own does not take its dialog's font.
void StyleColours(QWidget* w, const DialogControl& c, int scale) {
  QFont base = ToQFont(Font{u"ＭＳ ゴシック", 9, false});
  if (scale > 1) {
    if (base.pixelSize() > 0) base.setPixelSize(base.pixelSize() * scale);
    else base.setPointSizeF(base.pointSizeF() * scale);
  }
  w->setFont(base);
  QString css;
  if (c.backColor != 0xFFFFFFFF) css += QString("background-color: #%1;").arg(c.backColor, 6, 16, QChar('0'));
  if (c.cornerRadius > 0) css += QString("border-radius: %1px;").arg(c.cornerRadius * scale);
  if (c.foreColor != 0xFFFFFFFF) css += QString("color: #%1;").arg(c.foreColor, 6, 16, QChar('0'));
  // Said of this control alone: a panel's colour must not reach the buttons
  // it holds.
  w->setStyleSheet(css.isEmpty() ? css : QString("*[objectName=\"%1\"] { %2 }").arg(w->objectName(), css));
  if (c.fontSize > 0 || c.bold) {
    QFont f = w->font();
    if (c.fontSize > 0) f.setPixelSize(static_cast<int>(c.fontSize * 96 / 72 * scale + 0.5));
    f.setBold(c.bold);
    w->setFont(f);
  }
}

}  // namespace

QString AccessibleNameOf(const DialogModel& model, const DialogControl& c) {
  if (!c.accessibleName.empty()) return Q(c.accessibleName);
  if (!c.caption.empty()) return Q(c.caption);
  QStringList held;
  for (const DialogControl& k : model.controls)
    if (k.parent == c.name && !k.caption.empty()) held << Q(k.caption);
  if (!held.isEmpty()) return held.join(QStringLiteral(" "));
  const DialogControl* before = nullptr;
  for (const DialogControl& k : model.controls) {
    if (&k == &c) break;
    if (k.kind == ControlKind::Label && k.parent == c.parent && !k.caption.empty()) before = &k;
  }
  return before ? Q(before->caption) : QString();
}

struct QtDialogs::Open {
  // Gone already when the owner window went first and took it along.
  QPointer<QDialog> dialog;
  int scale = 1;
  std::map<std::string, QWidget*> widgets;
  std::map<std::string, QButtonGroup*> groups;
};

QtDialogs::QtDialogs(EventInbox& inbox) : inbox_(inbox) {}

QtDialogs::~QtDialogs() {
  for (auto& [name, o] : open_) delete o->dialog;
}

void QtDialogs::ShowDialog(const DialogModel& model) {
  CloseDialog(model);
  auto o = std::make_unique<Open>();
  auto* dlg = new ModelDialog(inbox_, model.name, model.closeBox, owner_);
  o->dialog = dlg;
  dlg->setWindowTitle(Q(model.caption));
  o->scale = scaleSource_ ? std::max(1, scaleSource_()) : 1;
  dlg->setFixedSize(model.clientWidth * o->scale, model.clientHeight * o->scale);
  if (model.backColor != 0xFFFFFFFF)
    dlg->setStyleSheet(QString("QDialog { background-color: #%1; }").arg(model.backColor, 6, 16, QChar('0')));
  if (model.topMost) dlg->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  const std::string form = model.name;
  auto report = [this, form](const std::string& control, int value, const Text& text) {
    inbox_.pending.push_back(ControlEvent(form, control, value, text));
  };
  for (const DialogControl& c : model.controls) {
    QWidget* parent = dlg;
    if (!c.parent.empty() && o->widgets.count(c.parent)) parent = o->widgets[c.parent];
    QWidget* w = nullptr;
    const std::string name = c.name;
    switch (c.kind) {
      case ControlKind::Label:
        w = new ClickLabel(parent, [report, name] { report(name, 0, Text()); });
        static_cast<QLabel*>(w)->setText(Q(c.caption));
        static_cast<QLabel*>(w)->setWordWrap(true);
        static_cast<QLabel*>(w)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        break;
      case ControlKind::Button: {
        auto* b = new QPushButton(Q(c.caption), parent);
        QObject::connect(b, &QPushButton::clicked, [report, name] { report(name, 0, Text()); });
        w = b;
        break;
      }
      case ControlKind::OptionButton: {
        auto* b = new QRadioButton(Q(c.caption), parent);
        std::string groupKey = c.parent;
        if (!o->groups.count(groupKey)) o->groups[groupKey] = new QButtonGroup(dlg);
        o->groups[groupKey]->addButton(b);
        QObject::connect(b, &QRadioButton::toggled, [report, name](bool on) {
          if (on) report(name, 1, Text());
        });
        w = b;
        break;
      }
      case ControlKind::CheckBox: {
        auto* b = new QCheckBox(Q(c.caption), parent);
        QObject::connect(b, &QCheckBox::toggled, [report, name](bool on) { report(name, on ? 1 : 0, Text()); });
        w = b;
        break;
      }
      case ControlKind::HScrollBar: {
        auto* s = new QScrollBar(Qt::Horizontal, parent);
        s->setRange(c.min, c.max);
        QObject::connect(s, &QScrollBar::valueChanged, [report, name](int v) { report(name, v, Text()); });
        w = s;
        break;
      }
      case ControlKind::TextBox: {
        if (c.multiLine) {
          auto* e = new QPlainTextEdit(Q(c.caption), parent);
          e->setReadOnly(c.locked);
          e->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
          e->setLineWrapMode(QPlainTextEdit::WidgetWidth);
          if (!c.locked)
            QObject::connect(e, &QPlainTextEdit::textChanged,
                             [report, name, e] { report(name, 0, e->toPlainText().toStdU16String()); });
          w = e;
          break;
        }
        auto* e = new QLineEdit(Q(c.caption), parent);
        e->setReadOnly(c.locked);
        if (c.maxLength > 0) e->setMaxLength(c.maxLength);
        QObject::connect(e, &QLineEdit::textEdited,
                         [report, name](const QString& t) { report(name, 0, t.toStdU16String()); });
        w = e;
        break;
      }
      case ControlKind::Frame:
        w = new QGroupBox(Q(c.caption), parent);
        break;
      case ControlKind::Panel:
      case ControlKind::Picture: {
        auto* l = new ClickLabel(parent, [report, name] { report(name, 0, Text()); });
        // A style sheet paints curved corners; a filled background would
        // square them again.
        l->setAutoFillBackground(c.cornerRadius == 0);
        w = l;
        break;
      }
    }
    w->setGeometry(c.x * o->scale, c.y * o->scale, c.w * o->scale, c.h * o->scale);
    w->setObjectName(QString::fromStdString(c.name));
    StyleColours(w, c, o->scale);
    o->widgets[c.name] = w;
  }
  auto* raw = o.get();
  open_[model.name] = std::move(o);
  UpdateDialog(model);
  raw->dialog->show();
  raw->dialog->raise();
  raw->dialog->activateWindow();
}

void QtDialogs::UpdateDialog(const DialogModel& model) {
  auto it = open_.find(model.name);
  if (it == open_.end()) return;
  Open& o = *it->second;
  if (!o.dialog) return;
  o.dialog->setWindowTitle(Q(model.caption));
  for (const DialogControl& c : model.controls) {
    auto wi = o.widgets.find(c.name);
    if (wi == o.widgets.end()) continue;
    QWidget* w = wi->second;
    QSignalBlocker block(w);
    if (auto* pic = dynamic_cast<ClickLabel*>(w); pic && c.kind != ControlKind::Label) pic->SetAnswering(c.enabled);
    else w->setEnabled(c.enabled);
    w->setVisible(c.visible);
    w->setGeometry(c.x * o.scale, c.y * o.scale, c.w * o.scale, c.h * o.scale);
    StyleColours(w, c, o.scale);
    w->setAccessibleName(AccessibleNameOf(model, c));
    if (auto* pic = dynamic_cast<ClickLabel*>(w)) pic->SetKeyboard(!c.accessibleName.empty());
    switch (c.kind) {
      case ControlKind::Label:
        static_cast<QLabel*>(w)->setText(Q(c.caption));
        break;
      case ControlKind::Button:
        static_cast<QPushButton*>(w)->setText(Q(c.caption));
        break;
      case ControlKind::OptionButton:
        static_cast<QRadioButton*>(w)->setChecked(c.value != 0);
        break;
      case ControlKind::CheckBox:
        static_cast<QCheckBox*>(w)->setChecked(c.value != 0);
        break;
      case ControlKind::HScrollBar:
        static_cast<QScrollBar*>(w)->setValue(c.value);
        break;
      case ControlKind::TextBox:
        if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) {
          if (multi->toPlainText() != Q(c.caption)) multi->setPlainText(Q(c.caption));
        } else if (static_cast<QLineEdit*>(w)->text() != Q(c.caption)) {
          static_cast<QLineEdit*>(w)->setText(Q(c.caption));
        }
        break;
      case ControlKind::Frame:
        static_cast<QGroupBox*>(w)->setTitle(Q(c.caption));
        break;
      case ControlKind::Panel:
      case ControlKind::Picture: {
        auto* l = static_cast<QLabel*>(w);
        if (!c.pixels.empty() && c.pixels.size() == static_cast<size_t>(c.w) * c.h) {
          Image img;
          img.width = c.w;
          img.height = c.h;
          img.pixels = c.pixels;
          QImage q = ToQImage(img);
          if (o.scale > 1) q = q.scaled(c.w * o.scale, c.h * o.scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
          l->setPixmap(QPixmap::fromImage(q));
        } else {
          l->setText(Q(c.caption));
        }
        break;
      }
    }
  }
}

void QtDialogs::CloseDialog(const DialogModel& model) {
  auto it = open_.find(model.name);
  if (it == open_.end()) return;
  if (!it->second->dialog) {
    open_.erase(it);
    return;
  }
  // Deleted later: the close may come from inside one of its own signals.
  it->second->dialog->hide();
  it->second->dialog->deleteLater();
  open_.erase(it);
}

}  // namespace mirel::qt
