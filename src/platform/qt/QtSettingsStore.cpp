#include "platform/qt/QtSettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace mirel::qt {

QtSettingsStore::QtSettingsStore() {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  path_ = (dir + "/mirel/settings.ini").toStdString();
}

bool QtSettingsStore::Read(SettingsValues& out, std::string& problem) {
  out.clear();
  QString path = QString::fromStdString(path_);
  QFileInfo info(path);
  if (!info.exists()) return true;
  if (!info.isFile() || !info.isReadable()) {
    problem = "cannot read " + path_;
    return false;
  }
  QSettings s(path, QSettings::IniFormat);
  if (s.status() != QSettings::NoError) {
    problem = "cannot read " + path_;
    return false;
  }
  for (const QString& key : s.allKeys()) {
    // A value with commas reads as a list: kept as its text.
    const QVariant v = s.value(key);
    const QString text = v.typeId() == QMetaType::QStringList ? v.toStringList().join(", ") : v.toString();
    out[key.toStdString()] = text.toStdString();
  }
  if (out.empty() && info.size() > 0) {
    problem = "nothing readable in " + path_;
    return false;
  }
  return true;
}

bool QtSettingsStore::Write(const SettingsValues& values, std::string& problem) {
  QString path = QString::fromStdString(path_);
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSettings s(path, QSettings::IniFormat);
  s.clear();
  for (const auto& [k, v] : values) s.setValue(QString::fromStdString(k), QString::fromStdString(v));
  s.sync();
  if (s.status() != QSettings::NoError) {
    problem = "cannot write " + path_;
    return false;
  }
  return true;
}

}  // namespace mirel::qt
