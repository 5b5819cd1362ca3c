#include <QClipboard>
#include <QGuiApplication>

#include "platform/qt/QtHost.h"

namespace mirel::qt {

void QtClipboard::SetText(const Text& text) {
  QGuiApplication::clipboard()->setText(
      QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
}

Text QtClipboard::GetText() {
  QString s = QGuiApplication::clipboard()->text();
  return Text(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}

}  // namespace mirel::qt
