#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <QDateTime>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <fstream>
#include <sstream>

#include "platform/qt/QtHost.h"

namespace mirel::qt {

MsgAnswer QtMessageBoxes::Show(const Text& text, MsgButtons buttons) {
  QMessageBox box(owner_);
  box.setWindowTitle("MIREL");
  box.setText(QString::fromStdU16String(text));
  if (buttons == MsgButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return MsgAnswer::Ok;
}

bool QtImageCodec::Decode(const Bytes& bytes, Image& out) {
  QImage img;
  if (!img.loadFromData(bytes.data(), static_cast<int>(bytes.size()))) return false;
  img = img.convertToFormat(QImage::Format_RGB32);
  out.width = img.width();
  out.height = img.height();
  out.pixels.resize(static_cast<size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y) {
    const auto* line = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
    for (int x = 0; x < out.width; ++x) out.pixels[static_cast<size_t>(y) * out.width + x] = line[x] & 0xFFFFFF;
  }
  return true;
}

namespace {

// Japanese Gothic faces the game asks for, and what stands in for them.
QString Family(const Font& f) {
  static const QStringList installed = QFontDatabase::families();
  QString want = QString::fromStdU16String(f.name);
  if (installed.contains(want)) return want;
  if (f.name == u"ＭＳ ゴシック" || f.name == u"MS Gothic") {
    for (const char* alt : {"IPAGothic", "IPAexGothic", "Noto Sans Mono CJK JP", "VL Gothic"})
      if (installed.contains(alt)) return alt;
  }
  // Liberation Sans has Arial's widths: wider faces run out of the
  // credits strip and the thank-you panel.
  if (f.name == u"Arial") {
    for (const char* alt : {"Liberation Sans", "DejaVu Sans", "IPAPGothic"})
      if (installed.contains(alt)) return alt;
  }
  return want;
}

}  // namespace

QFont ToQFont(const Font& f) {
  QFont q(Family(f));
  q.setPixelSize(f.PixelHeight());
  q.setBold(f.bold);
  q.setStyleStrategy(QFont::PreferAntialias);
  return q;
}

void QtFonts::DrawText(PixelTarget t, int x, int y, TextView text, const Font& font, uint32_t rgb) {
  if (text.empty() || t.width <= 0 || t.height <= 0) return;
  QImage img(reinterpret_cast<uchar*>(t.pixels), t.width, t.height, t.width * 4, QImage::Format_RGB32);
  QFont qf = ToQFont(font);
  QFontMetrics fm(qf);
  {
    QPainter p(&img);
    p.setFont(qf);
    p.setPen(QColor::fromRgb(rgb));
    p.drawText(x, y + fm.ascent(), QString::fromStdU16String(std::u16string(text)));
  }
  // Painting sets the unused top byte; the engine keeps it 0.
  QRect r = QRect(x - 2, y - 2, fm.horizontalAdvance(QString::fromStdU16String(std::u16string(text))) + 6,
                  fm.height() + 4)
                .intersected(QRect(0, 0, t.width, t.height));
  for (int yy = r.top(); yy <= r.bottom(); ++yy)
    for (int xx = r.left(); xx <= r.right(); ++xx) t.pixels[static_cast<size_t>(yy) * t.width + xx] &= 0xFFFFFF;
}

int QtFonts::TextWidth(TextView text, const Font& font) {
  return QFontMetrics(ToQFont(font)).horizontalAdvance(QString::fromStdU16String(std::u16string(text)));
}

std::string QtFonts::ResolvedFamily(const Font& font) { return QFontInfo(ToQFont(font)).family().toStdString(); }

namespace {

std::string FirstLineStartingWith(const char* file, const std::string& key) {
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(key, 0) == 0) {
      size_t colon = line.find(':');
      if (colon == std::string::npos) colon = line.find('=');
      std::string v = colon == std::string::npos ? "" : line.substr(colon + 1);
      size_t b = v.find_first_not_of(" \t\"");
      size_t e = v.find_last_not_of(" \t\"");
      return b == std::string::npos ? "" : v.substr(b, e - b + 1);
    }
  return "";
}

uint64_t MemInfoKb(const char* key) {
  std::string v = FirstLineStartingWith("/proc/meminfo", key);
  return std::strtoull(v.c_str(), nullptr, 10) * 1024;
}

}  // namespace

HostFacts HostSystemInfo::Facts() {
  HostFacts f;
  f.dateTime = QDateTime::currentDateTime().toString("yyyy/MM/dd hh:mm:ss").toStdString();
  f.cpuVendor = FirstLineStartingWith("/proc/cpuinfo", "vendor_id");
  f.cpuModel = FirstLineStartingWith("/proc/cpuinfo", "model name");
  struct utsname u;
  if (uname(&u) == 0) {
    f.cpuArch = u.machine;
    f.osName = u.sysname;
    f.osVersion = u.release;
  }
  f.osDescription = FirstLineStartingWith("/etc/os-release", "PRETTY_NAME");
  f.cpuCount = static_cast<int>(sysconf(_SC_NPROCESSORS_ONLN));
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    f.screenWidth = s->geometry().width();
    f.screenHeight = s->geometry().height();
    f.screenDepth = s->depth();
  }
  f.fullScreenAvailable = QGuiApplication::primaryScreen() != nullptr;
  f.systemDir = "/etc";
  f.libDir = "/usr/lib";
  f.memTotal = MemInfoKb("MemTotal");
  f.memFree = MemInfoKb("MemAvailable");
  f.swapTotal = MemInfoKb("SwapTotal");
  f.swapFree = MemInfoKb("SwapFree");
  f.virtTotal = f.memTotal + f.swapTotal;
  f.virtFree = f.memFree + f.swapFree;
  f.memoryLoad = f.memTotal ? static_cast<int>(100 - f.memFree * 100 / f.memTotal) : 0;
  f.audio = audio_;
  f.fonts = fonts_;
  return f;
}

}  // namespace mirel::qt
