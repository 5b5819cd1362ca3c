#include <cmath>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QMenuBar>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>
#include <QWindow>

#include "platform/qt/QtHost.h"

namespace mirel::qt {

QImage ToQImage(const Image& img) {
  QImage q(img.width, img.height, QImage::Format_RGB32);
  for (int y = 0; y < img.height; ++y) {
    auto* line = reinterpret_cast<uint32_t*>(q.scanLine(y));
    for (int x = 0; x < img.width; ++x) line[x] = 0xFF000000u | img.At(x, y);
  }
  return q;
}

PictureWidget::PictureWidget(EventInbox& inbox, QWidget* parent) : QWidget(parent), inbox_(inbox) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(640, 480);
  picture_ = QImage(640, 480, QImage::Format_RGB32);
  picture_.fill(Qt::white);
}

void PictureWidget::Present(PictureView frame, const std::vector<Rect>& dirty) {
  if (picture_.constBits() != reinterpret_cast<const uchar*>(frame.pixels) || picture_.width() != frame.width ||
      picture_.height() != frame.height) {
    // Our pixels are 0x00RRGGBB: the unused top byte is what RGB32 ignores.
    picture_ = QImage(reinterpret_cast<const uchar*>(frame.pixels), frame.width, frame.height, frame.width * 4,
                      QImage::Format_RGB32);
    repaint();
    return;
  }
  QRegion region;
  for (const Rect& r : dirty) region += ToWidget(r);
  if (!region.isEmpty()) repaint(region);
}

QRect PictureWidget::ToWidget(const Rect& r) const {
  const PictureRect t = Placed();
  const double dpr = devicePixelRatioF();
  // Device pixels that any part of the rectangle reaches, one more around
  // for the smoothing filter; then the logical pixels that hold them.
  const double sx = t.w / double(kPictureWidth), sy = t.h / double(kPictureHeight);
  const double x1 = t.x + std::floor(r.x * sx) - 1, y1 = t.y + std::floor(r.y * sy) - 1;
  const double x2 = t.x + std::ceil((r.x + r.w) * sx) + 1, y2 = t.y + std::ceil((r.y + r.h) * sy) + 1;
  const int lx1 = static_cast<int>(std::floor(x1 / dpr)), ly1 = static_cast<int>(std::floor(y1 / dpr));
  const int lx2 = static_cast<int>(std::ceil(x2 / dpr)), ly2 = static_cast<int>(std::ceil(y2 / dpr));
  return QRect(lx1, ly1, lx2 - lx1, ly2 - ly1).intersected(rect());
}

void PictureWidget::SetScaling(ScaleMode mode, ScaleFilter filter) {
  mode_ = mode;
  filter_ = filter;
  update();
}

PictureRect PictureWidget::Placed() const {
  const double dpr = devicePixelRatioF();
  return PlacePicture(mode_, DevicePixels(width(), dpr), DevicePixels(height(), dpr));
}

bool PictureWidget::ToPicture(QPointF p, int& x, int& y) const {
  return mirel::ToPicture(Placed(), p.x(), p.y(), devicePixelRatioF(), x, y);
}

void PictureWidget::paintEvent(QPaintEvent* e) {
  if (firstPaint) {
    firstPaint();
    firstPaint = nullptr;
  }
  QPainter p(this);
  const double dpr = devicePixelRatioF();
  const PictureRect r = Placed();
  const QRect t(r.x, r.y, r.w, r.h), all(0, 0, DevicePixels(width(), dpr), DevicePixels(height(), dpr));
  if (dpr == 1 && r.w == kPictureWidth && r.h == kPictureHeight) {
    // 1:1: only the rectangles asked for, straight from our pixels.
    for (const QRect& q : e->region()) {
      QRect in = q.intersected(t);
      if (in != q) p.fillRect(q, Qt::black);
      if (!in.isEmpty()) p.drawImage(in.topLeft(), picture_, in.translated(-t.topLeft()));
    }
    return;
  }
  // From here on in device pixels, so a whole multiple stays whole; the
  // painter stays clipped to the changed region.
  p.scale(1 / dpr, 1 / dpr);
  if (t != all) p.fillRect(all, Qt::black);
  p.setRenderHint(QPainter::SmoothPixmapTransform, filter_ == ScaleFilter::Smooth && !WholeMultiple(r));
  p.drawImage(t, picture_);
}

void PictureWidget::mousePressEvent(QMouseEvent* e) {
  int x, y;
  if (!ToPicture(e->position(), x, y)) return;
  if (e->button() == Qt::RightButton || e->button() == Qt::LeftButton)
    inbox_.pending.push_back(MouseEvent(EventKind::MouseDown, x, y, e->button() == Qt::RightButton ? 2 : 1));
}

void PictureWidget::mouseMoveEvent(QMouseEvent* e) {
  int x, y;
  if (!ToPicture(e->position(), x, y)) return;
  InputEvent ev = MouseEvent(EventKind::MouseMove, x, y);
  // Only the latest position matters while nothing has read the queue.
  if (!inbox_.pending.empty() && inbox_.pending.back().kind == EventKind::MouseMove) inbox_.pending.back() = ev;
  else inbox_.pending.push_back(ev);
}

void PictureWidget::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F10 && e->modifiers() == Qt::NoModifier) {
    // F10 takes the keyboard to the menu bar, as Alt does: so it does on
    // the system the game was made for and on the desktops screen readers
    // run on.
    for (QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease}) {
      QKeyEvent alt(t, Qt::Key_Alt, t == QEvent::KeyPress ? Qt::AltModifier : Qt::NoModifier);
      QCoreApplication::sendEvent(window(), &alt);
    }
    return;
  }
  int vk = 0;
  switch (e->key()) {
    case Qt::Key_Space: vk = kVkSpace; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: vk = kVkEnter; break;
    case Qt::Key_Escape: vk = kVkEscape; break;
    case Qt::Key_Control: vk = kVkControl; break;
    case Qt::Key_PageUp: vk = kVkPageUp; break;
    case Qt::Key_PageDown: vk = kVkPageDown; break;
    case Qt::Key_Up: vk = kVkUp; break;
    case Qt::Key_Down: vk = kVkDown; break;
    case Qt::Key_Left: vk = kVkLeft; break;
    case Qt::Key_Right: vk = kVkRight; break;
    default:
      if (e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z) vk = 'A' + (e->key() - Qt::Key_A);
      else if (e->key() >= Qt::Key_0 && e->key() <= Qt::Key_9) vk = '0' + (e->key() - Qt::Key_0);
  }
  // A held Space or Enter advances line after line; Esc acts once.
  if (vk == 0 || (e->isAutoRepeat() && vk != kVkSpace && vk != kVkEnter)) return;
  inbox_.pending.push_back(KeyEvent(vk));
}

void PictureWidget::keyReleaseEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Control && !e->isAutoRepeat()) inbox_.pending.push_back(KeyUpEvent(kVkControl));
}

// A Ctrl let go in another window is never reported here.
void PictureWidget::focusOutEvent(QFocusEvent*) { inbox_.pending.push_back(KeyUpEvent(kVkControl)); }

void PictureWidget::wheelEvent(QWheelEvent* e) {
  wheel_ += e->angleDelta().y();
  // One event per notch of 120; smooth touchpads add up to notches.
  while (wheel_ >= 120 || wheel_ <= -120) {
    int notch = wheel_ > 0 ? 1 : -1;
    inbox_.pending.push_back(WheelEvent(notch));
    wheel_ -= notch * 120;
  }
}

QtWindow::QtWindow(EventInbox& inbox) : inbox_(inbox) {
  setWindowTitle("MIREL");
  picture_ = new PictureWidget(inbox, this);
  setCentralWidget(picture_);
  const char* captions[kMenuItemCount] = {"終了", "ロード", "セーブ", "設定", "次の選択まで進む", "バージョン"};
  for (int i = 0; i < kMenuItemCount; ++i) {
    actions_[i] = menuBar()->addAction(QString::fromUtf8(captions[i]));
    connect(actions_[i], &QAction::triggered, this,
            [this, i] { inbox_.pending.push_back(MenuEvent(static_cast<MenuItem>(i))); });
  }
  resize(640, 480 + MenuBarHeight());
}

int QtWindow::MenuBarHeight() const { return menuBar()->isVisible() || !isVisible() ? menuBar()->sizeHint().height() : 0; }

void QtWindow::Show() {
  show();
  picture_->setFocus();
}

void QtWindow::Present(PictureView frame, const std::vector<Rect>& dirty) {
  // Painted at once: the engine may sleep before it next pumps events.
  picture_->Present(frame, dirty);
}

void QtWindow::Sync(const FormState& state) {
  bool anyVisible = false;
  for (int i = 0; i < kMenuItemCount; ++i) {
    const MenuState& m = state.menus[static_cast<size_t>(i)];
    anyVisible = anyVisible || m.visible;
    if (synced_ && m.caption == shown_.menus[static_cast<size_t>(i)].caption &&
        m.enabled == shown_.menus[static_cast<size_t>(i)].enabled &&
        m.visible == shown_.menus[static_cast<size_t>(i)].visible)
      continue;
    actions_[i]->setText(QString::fromStdU16String(m.caption));
    actions_[i]->setEnabled(m.enabled);
    actions_[i]->setVisible(m.visible);
  }
  if (!synced_ || state.enabled != shown_.enabled) {
    menuBar()->setEnabled(state.enabled);
    picture_->setEnabled(state.enabled);
  }
  if (!synced_ || state.busyCursor != shown_.busyCursor) {
    if (state.busyCursor) setCursor(Qt::WaitCursor);
    else unsetCursor();
  }
  menuBar()->setVisible(anyVisible);
  shown_ = state;
  synced_ = true;
}

Rect QtWindow::OuterRect() {
  QRect f = frameGeometry();
  return Rect{f.x(), f.y(), f.width(), f.height()};
}

Rect QtWindow::ClientRect() {
  // Computed rather than read from the central widget, whose geometry is
  // only updated when the layout next runs.
  return Rect{0, 0, width(), height() - (menuBar()->isVisibleTo(this) ? menuBar()->sizeHint().height() : 0)};
}

void QtWindow::SetOuterSize(int w, int h) {
  if (fullScreen_) return;
  QRect f = frameGeometry(), g = geometry();
  // The client area the game asks for, enlarged by the player's zoom.
  int menu = height() - ClientRect().h;
  int cw = w - (f.width() - g.width()), ch = h - (f.height() - g.height()) - menu;
  resize(cw * zoom_, menu + ch * zoom_);
}

void QtWindow::SetZoom(int zoom) {
  if (zoom == zoom_) return;
  int old = zoom_;
  zoom_ = zoom;
  if (fullScreen_) return;  // taken up when the window comes back
  // Grow or shrink about the window's centre.
  QRect g = geometry();
  int menu = height() - ClientRect().h;
  int cw = ClientRect().w * zoom / old, ch = ClientRect().h * zoom / old;
  resize(cw, menu + ch);
  move(g.center().x() - cw / 2 - (frameGeometry().width() - g.width()) / 2,
       g.center().y() - (menu + ch) / 2 - (frameGeometry().height() - g.height()) / 2);
}

int QtWindow::DialogScale() const { return mirel::DialogScale(picture_->Placed(), picture_->devicePixelRatioF()); }

void QtWindow::ShowNote(const QString& text) {
  if (!note_) {
    note_ = new QLabel(picture_);
    note_->setStyleSheet("QLabel { background: rgba(0, 0, 0, 170); color: white; padding: 4px; }");
  }
  note_->setText(text);
  note_->adjustSize();
  note_->move(8, 8);
  note_->show();
  note_->raise();
  setWindowTitle("MIREL - " + text);
  QTimer::singleShot(4000, note_, [this, text] {
    if (note_->text() != text) return;  // a newer note is showing
    note_->hide();
    setWindowTitle("MIREL");
  });
}

void QtWindow::Move(int x, int y) {
  if (!fullScreen_) move(x, y);
}

int QtWindow::ScreenWidth() { return screen() ? screen()->geometry().width() : 1024; }
int QtWindow::ScreenHeight() { return screen() ? screen()->geometry().height() : 768; }

void QtWindow::SetCaption(bool on) {
  if (on == caption_) return;
  caption_ = on;
  bool wasVisible = isVisible();
  setWindowFlag(Qt::FramelessWindowHint, !on);
  if (wasVisible && !fullScreen_) show();
}

bool QtWindow::ChangeDisplayMode(bool fullScreen) {
  if (QGuiApplication::screens().isEmpty()) return false;
  fullScreen_ = fullScreen;
  if (fullScreen) {
    setMinimumSize(0, 0);
    showFullScreen();
  } else {
    showNormal();
  }
  picture_->setFocus();
  // The window manager lifts the focused full-screen window above
  // everything, the dialogs open over the game too (they are kept above
  // other windows only), or the game looks frozen: once it has resized the
  // window, and a while later for a slow one, they come back in front.
  raiseDialogs_ = true;
  for (int ms : {0, 200, 1000})
    QTimer::singleShot(ms, this, [this] { RaiseDialogs(); });
  QTimer::singleShot(3000, this, [this] { raiseDialogs_ = false; });
  return true;
}

void QtWindow::RaiseDialogs() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w == this || !w->isVisible() || !w->windowHandle() || w->windowHandle()->transientParent() != windowHandle())
      continue;
    w->raise();
    w->activateWindow();
  }
}

void QtWindow::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (raiseDialogs_) QTimer::singleShot(0, this, [this] { RaiseDialogs(); });
}

void QtWindow::SetImeOpen(bool open) { picture_->setAttribute(Qt::WA_InputMethodEnabled, open); }

void QtWindow::closeEvent(QCloseEvent* e) {
  // The game decides: it runs its own shutdown once the waits have unwound.
  e->ignore();
  inbox_.pending.push_back(CloseEvent());
}

void QtEvents::Pump(EventQueue& queue) {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  while (!inbox_.pending.empty()) {
    queue.push_back(std::move(inbox_.pending.front()));
    inbox_.pending.pop_front();
  }
}

}  // namespace mirel::qt
