// The desktop's message box, shown for real (offscreen) and answered by a
// click on its button.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "platform/qt/QtHost.h"

namespace mirel {
namespace {

TEST(QtMessageBox, TheEndQuestionAsksInJapaneseAndNoMeansNo) {
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  ASSERT_TRUE(qt::LoadJapaneseTranslations());
  QString yes, no;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;  // not shown yet
    answer.stop();
    yes = box->button(QMessageBox::Yes)->text();
    no = box->button(QMessageBox::No)->text();
    box->button(QMessageBox::No)->click();
  });
  answer.start(10);
  qt::QtMessageBoxes boxes;
  EXPECT_EQ(boxes.Show(u"終了しますか？", MsgButtons::YesNo), MsgAnswer::No);
  // Shown as "はい(Y)" and "いいえ(N)", the letters being the access keys.
  EXPECT_EQ(yes.toStdU16String(), u"はい(&Y)");
  EXPECT_EQ(no.toStdU16String(), u"いいえ(&N)");
}

}  // namespace
}  // namespace mirel
