#include <gtest/gtest.h>

#include "text/text_harness.h"
#include "ui/NameEnt.h"

namespace mirel {
namespace {

struct NameEntTest : ::testing::Test, test::TextHarness {
  Main_Form& f = *form;
  NameEnt& dlg = *form->nameEnt;
  void SetUp() override {
    f.Names[1] = u"水野";
    f.Names[2] = u"晴";
  }
  void Enter(const Text& entry) {
    dlg.Form_Load();
    f.Dispatch(ControlEvent("NameEnt", "Text1", 0, entry));
    f.Dispatch(ControlEvent("NameEnt", "Command1"));
  }
};

TEST_F(NameEntTest, TheEntryIsSplitAtTheFirstSeparatorWhenItFits) {
  struct Case {
    Text entry, family, given;
  } cases[] = {
      {u"山田　花子", u"山田", u"花子"},
      {u"山田 花子", u"山田", u"花子"},
      {u"　花子", u"", u"花子"},
      {u"山田太郎　花子", u"山田太郎", u"花子"},  // seven characters in all
      {u"山 田　花子", u"山 田", u"花子"},        // the full-width space wins
      {u"山田　", u"水野", u"晴"},                // nothing after the separator
      {u"山田花子", u"水野", u"晴"},              // no separator
      {u"山田　花子さんだ", u"水野", u"晴"},      // eight characters
      {u"", u"水野", u"晴"},                      // empty: the name stays
      {u" ", u"水野", u"晴"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.entry));
    f.Names[1] = u"水野";
    f.Names[2] = u"晴";
    f.ClickWait = true;
    Enter(c.entry);
    EXPECT_EQ(f.Names[1], c.family);
    EXPECT_EQ(f.Names[2], c.given);
    EXPECT_FALSE(dlg.IsOpen());
    EXPECT_TRUE(f.form.enabled);
    EXPECT_FALSE(f.ClickWait);
    EXPECT_TRUE(tp.messages.Shown().empty());
  }
}

TEST_F(NameEntTest, CharactersThatBreakStoredLinesOrHaveNoShiftJisFormAreRefusedWithAMessage) {
  struct Case {
    Text entry, offered, named, family;  // named: what the message must name
  } cases[] = {
      {u"山,田　花子", u"山田　花子", u"「,」", u"山田"},
      {u"山田　\"花子", u"山田　花子", u"「\"」", u"山田"},
      {u"&1　花子", u"1　花子", u"「&」", u"1"},
      {u"\U00020BB7田　花子", u"田　花子", u"「\U00020BB7」", u"田"},  // beyond the basic plane
      {u"Zoë 花子", u"Zo 花子", u"「ë」", u"Zo"},
      {u"¥山　花子", u"山　花子", u"「¥」", u"山"},  // would come back as "\"
      {u"Zo\xDC00 花子", u"Zo 花子", u"「\xDC00」", u"Zo"},  // half a pair
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.entry));
    f.Names[1] = u"水野";
    size_t before = tp.messages.Shown().size();
    f.ClickWait = true;
    Enter(c.entry);
    ASSERT_EQ(tp.messages.Shown().size(), before + 1);
    EXPECT_NE(tp.messages.Shown().back().find(u"使えません"), Text::npos);
    EXPECT_NE(tp.messages.Shown().back().find(c.named), Text::npos);
    // Still open, the names untouched, the entry offered without them.
    EXPECT_TRUE(dlg.IsOpen());
    EXPECT_FALSE(f.form.enabled);
    EXPECT_TRUE(f.ClickWait);
    EXPECT_EQ(f.Names[1], u"水野");
    EXPECT_EQ(dlg.model.At("Text1").caption, c.offered);
    f.Dispatch(ControlEvent("NameEnt", "Command1"));
    EXPECT_FALSE(dlg.IsOpen());
    EXPECT_FALSE(f.ClickWait);
    EXPECT_EQ(f.Names[1], c.family);
    EXPECT_EQ(f.Names[2], u"花子");
  }
  // Shift-JIS characters of every kind go through, "?" among them.
  Enter(u"ｱ?①　髙");
  EXPECT_EQ(f.Names[1], u"ｱ?①");
  EXPECT_EQ(f.Names[2], u"髙");
}

}  // namespace
}  // namespace mirel
