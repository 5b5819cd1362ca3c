#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "comfort/Words.h"
#include "platform/qt/QtHost.h"

namespace mirel::qt {

bool LoadJapaneseTranslations() {
  // The game speaks Japanese whatever the desktop's language is.
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

QString LoadComfortTranslations(const QLocale& locale) {
  // The comforts speak the desktop's language where we ship it, else
  // English, the language they are written in. The files are built in.
  auto* translator = new QTranslator(QCoreApplication::instance());
  QString language = "en";
  if (translator->load(locale, "mirel", "_", ":/i18n")) {
    QCoreApplication::installTranslator(translator);
    language = translator->language();
  } else {
    delete translator;
  }
  SetWordTranslator([](const char* context, const char* text) {
    return QCoreApplication::translate(context, text).toStdString();
  });
  return language;
}

}  // namespace mirel::qt
