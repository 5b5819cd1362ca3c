#include "ui/NameEnt.h"

#include "base/Cp932.h"

namespace mirel {

NameEnt::NameEnt(Main_Form& main) : Form(main) {
  model.name = "NameEnt";
  model.caption = u"なまえの変更";
  model.clientWidth = 380;
  model.clientHeight = 120;
  // OK is the only way out.
  model.closeBox = false;
  model.topMost = true;
  model.controls = {
      Ctl("Label1", ControlKind::Label, u"", 12, 10, 356, 36),
      Ctl("Text1", ControlKind::TextBox, u"", 12, 56, 200, 24),
      Ctl("Command1", ControlKind::Button, u"ＯＫ", 268, 84, 100, 28),
  };
  DialogControl& t = model.At("Text1");
  t.fontSize = 12;
  t.bold = true;
  // No length cap on the box: a longer name from the data files must show
  // whole, not cut (cut, OK would store the cut name).
}

bool NameEnt::Refused(char16_t c) { return c == u',' || c == u'"' || c == u'&' || c < 0x20 || c == 0x7F; }

void NameEnt::Form_Load() {
  main_.form.enabled = false;
  model.At("Label1").caption =
      u"主人公の名前を変更できます。\r\n好きな名前を入力して「OK」ボタンをクリックしてください。";
  model.At("Text1").caption = main_.Names[1] + u"　" + main_.Names[2];
  Show();
}

void NameEnt::OnControl(const InputEvent& e) {
  if (e.control == "Text1") {
    model.At("Text1").caption = e.text;
  } else if (e.control == "Command1") {
    Command1_Click();
  }
  // "_close": there is no close box; nothing else ends the dialog.
}

bool NameEnt::HasCp932Form(TextView c) {
  // Nothing beyond the basic plane is in the code page; a lone half of a
  // pair is not a character at all.
  if (c.size() != 1 || (c[0] >= 0xD800 && c[0] <= 0xDFFF)) return false;
  // "¥" and "‾" would come back as "\" and "~".
  return EncodeCp932Exact(c).has_value();
}

void NameEnt::Command1_Click() {
  Text s = model.At("Text1").caption;
  Text kept, foreign;
  bool punctuation = false;
  for (size_t i = 0; i < s.size(); ++i) {
    const bool pair = i + 1 < s.size() && s[i] >= 0xD800 && s[i] <= 0xDBFF && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF;
    const TextView c(s.data() + i, pair ? 2 : 1);
    if (pair) ++i;
    if (c.size() == 1 && Refused(c[0])) {
      punctuation = true;
    } else if (!HasCp932Form(c)) {
      // Stored in the slot files as Shift-JIS, it would come back as "?".
      foreign += u"「" + Text(c) + u"」";
    } else {
      kept += c;
    }
  }
  if (kept.size() != s.size()) {
    // Offered again without the characters, so a second OK goes through.
    model.At("Text1").caption = kept;
    Update();
    Text why;
    if (punctuation) why += u"名前に「,」「\"」「&」は使えません.\r\n";
    if (!foreign.empty()) why += u"名前に Shift_JIS にない文字 " + foreign + u" は使えません.\r\n";
    main_.MsgBox(why + u"これらの文字を取り除きました.");
    return;
  }
  const size_t n = s.size();
  size_t p = s.find(u'　');
  if (p == Text::npos) p = s.find(u' ');
  // A separator that is neither missing nor last, in a short enough entry.
  if (p != Text::npos && p + 1 < n && n <= kMaxLength) {
    main_.Names[1] = s.substr(0, p);
    main_.Names[2] = s.substr(p + 1);
  }
  main_.form.enabled = true;
  main_.sys.window->SetImeOpen(false);
  main_.ClickWait = false;
  Hide();
}

}  // namespace mirel
