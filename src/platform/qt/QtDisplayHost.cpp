#include "platform/qt/QtDisplayHost.h"

#include <QCoreApplication>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStandardPaths>
#include <cstdio>

#include "comfort/DisplayComforts.h"

namespace mirel::qt {

QtDisplayHost::QtDisplayHost(QtWindow& window, EventInbox& inbox) : window_(window), inbox_(inbox) {
  qApp->installEventFilter(this);
}

QtDisplayHost::~QtDisplayHost() { qApp->removeEventFilter(this); }

void QtDisplayHost::ApplyDisplay(const PlayerSettings& s) {
  window_.SetScaling(s.scale, s.filter);
  window_.SetZoom(s.zoom);
}

void QtDisplayHost::EditSettings(const PlayerSettings& s, const std::function<void(const PlayerSettings&)>& changed,
                                const std::function<void()>& switchFullScreen) {
  RunPlayerSettingsDialog(&window_, s, switchFullScreen, changed);
}

namespace {

std::string ScreenshotFolder() {
  QString base = qEnvironmentVariable("XDG_PICTURES_DIR");
  if (base.isEmpty()) base = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  if (base.isEmpty()) return {};
  QString dir = base + "/MIREL";
  if (!QDir().mkpath(dir)) return {};
  return (dir + "/").toStdString();
}

bool Exists(const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); }

bool SavePng(const QImage& picture, const std::string& path, std::string& problem) {
  if (picture.save(QString::fromStdString(path), "PNG")) return true;
  problem = QCoreApplication::translate("Comfort", "cannot write %1").arg(QString::fromStdString(path)).toStdString();
  return false;
}

}  // namespace

std::string QtDisplayHost::PicturesFolder() { return ScreenshotFolder(); }
bool QtDisplayHost::FileExists(const std::string& path) { return Exists(path); }
bool QtDisplayHost::SaveScreenshot(const std::string& path, std::string& problem) {
  return SavePng(window_.Presented(), path, problem);
}
void QtDisplayHost::Note(const std::string& text) { window_.ShowNote(QString::fromStdString(text)); }

std::string HeadlessDisplayHost::PicturesFolder() { return ScreenshotFolder(); }
bool HeadlessDisplayHost::FileExists(const std::string& path) { return Exists(path); }
bool HeadlessDisplayHost::SaveScreenshot(const std::string& path, std::string& problem) {
  return SavePng(ToQImage(window_.Frame()), path, problem);
}
void HeadlessDisplayHost::Note(const std::string& text) {
  std::printf("note: %s\n", text.c_str());
  std::fflush(stdout);
}

namespace {

// The comfort keys as virtual-key codes with their modifiers; 0 for others.
int ComfortKey(const QKeyEvent* k, int& mods) {
  mods = 0;
  Qt::KeyboardModifiers m = k->modifiers();
  if (m & Qt::ControlModifier) mods |= kModCtrl;
  if (m & Qt::AltModifier) mods |= kModAlt;
  if (m & Qt::ShiftModifier) mods |= kModShift;
  switch (k->key()) {
    case Qt::Key_F1: return kVkF1;
    case Qt::Key_F11: return kVkF11;
    case Qt::Key_F12: return kVkF12;
    case Qt::Key_Print: return kVkPrint;
    case Qt::Key_Return:
    case Qt::Key_Enter: return (mods & kModAlt) ? kVkEnter : 0;
    case Qt::Key_M: return (mods & kModCtrl) ? 'M' : 0;
    default:
      if ((mods & kModCtrl) && k->key() >= Qt::Key_1 && k->key() < Qt::Key_1 + kMaxZoom)
        return '1' + (k->key() - Qt::Key_1);
      return 0;
  }
}

}  // namespace

bool QtDisplayHost::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ApplicationStateChange && watched == qApp) {
    inbox_.pending.push_back(FocusEvent(QGuiApplication::applicationState() == Qt::ApplicationActive));
    return false;
  }
  // Our keys work over the game's dialogs as well, but not inside the
  // settings dialog, which is modal.
  if (event->type() == QEvent::KeyPress && QApplication::activeModalWidget() == nullptr && watched->isWidgetType()) {
    auto* k = static_cast<QKeyEvent*>(event);
    int mods;
    int vk = ComfortKey(k, mods);
    if (vk == 0) return false;
    if (!k->isAutoRepeat()) inbox_.pending.push_back(KeyEvent(vk, mods));
    return true;
  }
  return false;
}

}  // namespace mirel::qt
