#include "app/ScriptInput.h"

#include <algorithm>
#include <climits>
#include <sstream>
#include <stdexcept>

#include "comfort/GamepadMapper.h"
#include "platform/headless/ScriptedMessageBoxes.h"
#include "ui/File_Window.h"
#include "ui/NameEnt.h"
#include "ui/Option_Window.h"
#include "ui/frmAbout.h"

namespace mirel {

namespace {

std::vector<std::string> Words(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> w;
  std::string x;
  while (in >> x) w.push_back(x);
  return w;
}

// The text after the first n words.
std::string After(const std::string& s, size_t n) {
  size_t i = 0;
  for (size_t k = 0; k < n; ++k) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
  }
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  size_t e = s.size();
  while (e > i && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return s.substr(i, e - i);
}

bool IsInt(const std::string& s) {
  if (s.empty()) return false;
  size_t i = s[0] == '-' ? 1 : 0;
  if (i >= s.size()) return false;
  for (; i < s.size(); ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

// A whole number from lo to hi; digits beyond any field are out of range too.
bool IntIn(const std::string& s, long long lo, long long hi) {
  if (!IsInt(s) || s.size() > 18) return false;
  long long v = std::stoll(s);
  return v >= lo && v <= hi;
}

const char* kKnown[] = {"click", "rclick", "key",  "choose", "title",      "menu",  "mouse", "move",
                        "dialog", "yes",   "no",   "wait",   "now",        "close", "hold",  "release",
                        "wheel",  "screenshot", "pad",    "backlog"};

// Virtual-key code of a key name, -1 for none: a name below, f1 to f12, a
// letter or digit, or a code 1 to 255 (a single digit is the digit's key).
int KeyCode(const std::string& k) {
  static const std::pair<const char*, int> names[] = {
      {"space", kVkSpace},   {"enter", kVkEnter}, {"esc", kVkEscape}, {"ctrl", kVkControl}, {"pageup", kVkPageUp},
      {"pagedown", kVkPageDown}, {"up", kVkUp},   {"down", kVkDown},  {"left", kVkLeft}, {"right", kVkRight}, {"tab", kVkTab}, {"backspace", 8},
      {"print", kVkPrint}};
  for (auto& [name, code] : names)
    if (k == name) return code;
  if (k.size() >= 2 && k.size() <= 3 && k[0] == 'f' && IntIn(k.substr(1), 1, 12)) return kVkF1 - 1 + std::stoi(k.substr(1));
  if (k.size() == 1 && k[0] >= 'a' && k[0] <= 'z') return 'A' + (k[0] - 'a');
  if (k.size() == 1 && k[0] >= '0' && k[0] <= '9') return k[0];
  if (IntIn(k, 1, 255)) return std::stoi(k);
  return -1;
}

// A key with "ctrl+", "alt+" and "shift+" in front holding those.
bool ParseKey(std::string k, int& key, int& mods) {
  mods = 0;
  for (;;) {
    if (k.rfind("ctrl+", 0) == 0) mods |= kModCtrl, k = k.substr(5);
    else if (k.rfind("alt+", 0) == 0) mods |= kModAlt, k = k.substr(4);
    else if (k.rfind("shift+", 0) == 0) mods |= kModShift, k = k.substr(6);
    else break;
  }
  key = KeyCode(k);
  return key >= 0;
}

// Notches one wheel line turns: the backlog's 200 messages scroll from end
// to end in far fewer, and each notch is an event of its own.
constexpr int kMaxNotches = 1000;

const char* const kTitleButtons[] = {"new", "load", "gallery", "end"};
const std::pair<const char*, MenuItem> kMenuItems[] = {
    {"end", MenuItem::prog_end},     {"load", MenuItem::prog_load}, {"save", MenuItem::prog_save},
    {"options", MenuItem::opt_menu}, {"skip", MenuItem::speedup},   {"version", MenuItem::vvrr}};

// What is wrong with an action's words, or nothing; numbers must fit the
// field they go to.
std::string Problem(const std::vector<std::string>& w) {
  const std::string& a = w[0];
  auto arg = [&](size_t i) -> std::string { return i < w.size() ? w[i] : ""; };
  bool known = false;
  for (const char* k : kKnown) known = known || a == k;
  if (!known) return "unknown action '" + a + "'";
  if (a == "now") {
    if (w.size() < 2) return "'now' needs an action";
    // Given at once, the action has no waits to skip; a "wait" starts at
    // once by itself.
    if (w[1] == "now" || w[1] == "wait") return "'now' takes one action, not '" + w[1] + "'";
    return Problem(std::vector<std::string>(w.begin() + 1, w.end()));
  }
  if (a == "wait" && !IntIn(arg(1), 0, INT32_MAX)) return "'wait' needs milliseconds, 0 to 2147483647";
  if (a == "dialog" && w.size() < 3) return "'dialog' needs a form and a control";
  if (a == "key" || a == "hold" || a == "release") {
    int key, mods;
    if (!ParseKey(arg(1), key, mods)) return "unknown key '" + arg(1) + "' (a key name or a key code 1 to 255)";
  }
  if (a == "pad") {
    PadButton b;
    if (!ParsePadButton(arg(1), b)) return "unknown pad button '" + arg(1) + "'";
    if (w.size() > 2 && arg(2) != "down" && arg(2) != "up") return "'pad' takes down or up after the button";
  }
  if (a == "wheel" && arg(1) != "up" && arg(1) != "down") return "'wheel' takes up or down";
  if (a == "wheel" && w.size() > 2 && !IntIn(arg(2), 1, kMaxNotches))
    return "'wheel' turns 1 to " + std::to_string(kMaxNotches) + " notches";
  if (a == "choose" && !IntIn(arg(1), 1, 3)) return "'choose' takes 1, 2 or 3";
  if (a == "backlog" && (arg(1) != "pick" || !IntIn(arg(2), 1, 200)))
    return "'backlog' takes pick and an entry, 1 (the newest) to 200";
  if (a == "title" && std::none_of(std::begin(kTitleButtons), std::end(kTitleButtons),
                                   [&](const char* b) { return arg(1) == b; }))
    return "'title' takes new, load, gallery or end";
  if (a == "menu" && std::none_of(std::begin(kMenuItems), std::end(kMenuItems),
                                  [&](const auto& m) { return arg(1) == m.first; }))
    return "unknown menu item '" + arg(1) + "'";
  if ((a == "mouse" || a == "move") && (!IntIn(arg(1), 0, 639) || !IntIn(arg(2), 0, 479)))
    return "'" + a + "' needs X and Y of the picture, 0 to 639 and 0 to 479";
  return "";
}

// The screen an action belongs to; None for actions that go to any wait.
PlayerWait Wanted(const std::string& action) {
  if (action == "choose") return PlayerWait::Choice;
  if (action == "title") return PlayerWait::Title;
  if (action == "dialog") return PlayerWait::Dialog;
  if (action == "menu") return PlayerWait::Click;
  return PlayerWait::None;
}

}  // namespace

ScriptInput::ScriptInput(const std::string& script, Clock& clock, ScriptedMessageBoxes& messages)
    : clock_(clock), messages_(messages) {
  std::istringstream in(script);
  std::string raw;
  int number = 0;
  while (std::getline(in, raw)) {
    ++number;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    size_t hash = raw.find('#');
    std::string text = hash == std::string::npos ? raw : raw.substr(0, hash);
    std::vector<std::string> w = Words(text);
    if (w.empty()) continue;
    std::string problem = Problem(w);
    if (!problem.empty()) throw std::runtime_error("input line " + std::to_string(number) + ": " + problem);
    lines_.push_back(Line{number, w, text});
  }
}

void ScriptInput::Click(EventQueue& q, int x, int y, int button) {
  q.push_back(MouseEvent(EventKind::MouseMove, x, y));
  q.push_back(MouseEvent(EventKind::MouseDown, x, y, button));
}

void ScriptInput::QueueFollowingAnswers() {
  while (next_ < lines_.size() && (lines_[next_].words[0] == "yes" || lines_[next_].words[0] == "no")) {
    messages_.QueueAnswer(lines_[next_].words[0] == "yes" ? MsgAnswer::Yes : MsgAnswer::No);
    ++next_;
  }
}

bool ScriptInput::Deliver(const Line& line, EventQueue& q) {
  const auto& w = line.words;
  const std::string& a = w[0];
  auto arg = [&](size_t i) -> std::string { return i < w.size() ? w[i] : ""; };
  auto fail = [&](const std::string& why) {
    throw std::runtime_error("input line " + std::to_string(line.number) + ": " + why);
  };
  if (a == "click") {
    Click(q, 320, 100, 1);
  } else if (a == "rclick") {
    if (form_ && form_->WakuHidden) Click(q, 320, 100, 2);
    else Click(q, 60, 440, 2);
  } else if (a == "backlog") {
    // As a click on the entry's row of the open backlog.
    q.push_back(ControlEvent("Backlog", "Pick", std::stoi(arg(2))));
  } else if (a == "key") {
    int key, mods;
    if (!ParseKey(arg(1), key, mods)) fail("unknown key '" + arg(1) + "'");
    if (ctrlHeld_) mods |= kModCtrl;
    // The reading comforts follow Ctrl by its own key going down and up.
    bool withCtrl = (mods & kModCtrl) && key != kVkControl;
    if (withCtrl && !ctrlHeld_) q.push_back(KeyEvent(kVkControl));
    q.push_back(KeyEvent(key, mods));
    if ((withCtrl || key == kVkControl) && !ctrlHeld_) q.push_back(KeyUpEvent(kVkControl));
  } else if (a == "hold" || a == "release") {
    int key, mods;
    if (!ParseKey(arg(1), key, mods)) fail("unknown key '" + arg(1) + "'");
    if (key == kVkControl) ctrlHeld_ = a == "hold";
    q.push_back(a == "hold" ? KeyEvent(key, mods) : KeyUpEvent(key));
  } else if (a == "wheel") {
    if (arg(1) != "up" && arg(1) != "down") fail("'wheel' takes up or down");
    int n = w.size() > 2 ? std::stoi(arg(2)) : 1;
    for (int i = 0; i < n; ++i) q.push_back(WheelEvent(arg(1) == "up" ? 1 : -1));
  } else if (a == "pad") {
    PadButton b;
    if (!ParsePadButton(arg(1), b)) fail("unknown pad button '" + arg(1) + "'");
    // Pressed and let go, unless only one of the two is asked for.
    if (arg(2) != "up") q.push_back(PadEvent(static_cast<int>(b), true));
    if (arg(2) != "down") q.push_back(PadEvent(static_cast<int>(b), false));
  } else if (a == "choose") {
    std::string n = arg(1);
    if (!IsInt(n) || std::stoi(n) < 1 || std::stoi(n) > 3) fail("'choose' takes 1, 2 or 3");
    if (!form_) return true;
    const Surface& s = form_->SelTxt[static_cast<size_t>(std::stoi(n) - 1)];
    Click(q, s.ScreenLeft() + 4, s.ScreenTop() + s.height / 2, 1);
  } else if (a == "title") {
    int i = -1;
    for (int k = 0; k < 4; ++k)
      if (arg(1) == kTitleButtons[k]) i = k;
    if (i < 0) fail("'title' takes new, load, gallery or end");
    Click(q, 104 + 83, 180 + 50 * i + 19, 1);
  } else if (a == "menu") {
    bool found = false;
    for (auto& [name, item] : kMenuItems)
      if (arg(1) == name) {
        q.push_back(MenuEvent(item));
        found = true;
      }
    if (!found) fail("unknown menu item '" + arg(1) + "'");
  } else if (a == "mouse" || a == "move") {
    if (!IsInt(arg(1)) || !IsInt(arg(2))) fail("'" + a + "' needs X and Y");
    int x = std::stoi(arg(1)), y = std::stoi(arg(2));
    if (a == "move") q.push_back(MouseEvent(EventKind::MouseMove, x, y));
    else Click(q, x, y, arg(3) == "right" ? 2 : 1);
  } else if (a == "dialog") {
    std::string rest = After(line.text, 3);
    // A number too long for a value is a text only.
    q.push_back(ControlEvent(w[1], w[2], IntIn(rest, INT32_MIN, INT32_MAX) ? std::stoi(rest) : 0, FromUtf8(rest)));
  } else if (a == "screenshot") {
    if (screenshot_) screenshot_(w.size() > 1 ? After(line.text, 1) : "screen.png");
  } else if (a == "close") {
    q.push_back(CloseEvent());
  } else if (a == "yes" || a == "no") {
    messages_.QueueAnswer(a == "yes" ? MsgAnswer::Yes : MsgAnswer::No);
  }
  return true;
}

void ScriptInput::DeliverDefault(EventQueue& q) {
  PlayerWait wait = form_->CurrentWait();
  switch (wait) {
    case PlayerWait::None:
      return;
    case PlayerWait::Click:
      if (form_->WakuHidden) Click(q, 320, 100, 2);
      else Click(q, 320, 100, 1);
      return;
    case PlayerWait::Choice: {
      const Surface& s = form_->SelTxt[0];
      Click(q, s.ScreenLeft() + 4, s.ScreenTop() + s.height / 2, 1);
      return;
    }
    case PlayerWait::Title:
      q.push_back(CloseEvent());
      return;
    case PlayerWait::Gallery:
      Click(q, 275 + 40, 425 + 15, 1);
      return;
    case PlayerWait::Dialog:
    case PlayerWait::Confirm: {
      const Form* forms[] = {form_->optionWindow.get(), form_->nameEnt.get(), form_->fileWindow.get(),
                             form_->aboutBox.get()};
      for (const Form* f : forms)
        if (f->IsOpen() && !f->DefaultControl().empty()) {
          q.push_back(ControlEvent(f->model.name, f->DefaultControl()));
          return;
        }
      return;
    }
  }
}

void ScriptInput::Pump(EventQueue& q) {
  uint32_t now = clock_.GetTickCount();
  if (!started_) {
    started_ = true;
    start_ = now;
  }
  if (TicksSince(start_, now) > limitMs_) {
    if (!timedOut_) {
      timedOut_ = true;
      q.push_back(CloseEvent());
    }
    return;
  }
  if (!form_) return;
  if (waiting_) {
    if (static_cast<int32_t>(now - waitUntil_) < 0) return;
    waiting_ = false;
  }
  while (next_ < lines_.size()) {
    const Line& line = lines_[next_];
    const std::string& a = line.words[0];
    if (a == "wait") {
      waiting_ = true;
      waitUntil_ = now + static_cast<uint32_t>(std::stoul(line.words[1]));
      ++next_;
      return;
    }
    // A picture is taken once the screen stands still, waiting for the
    // player; "now screenshot" takes it at once.
    if (a == "screenshot") {
      if (form_->CurrentWait() == PlayerWait::None) return;
      ++next_;
      Deliver(line, q);
      continue;
    }
    bool immediate = a == "now" || a == "yes" || a == "no";
    PlayerWait wait = form_->CurrentWait();
    if (!immediate && wait == PlayerWait::None) return;
    // An action meant for one screen waits for it; what comes before it is
    // answered as when the input has run out (but the title stays open).
    PlayerWait want = Wanted(a);
    // The D-pad moves between answers and buttons: it waits for a screen
    // that has some.
    bool dpad = a == "pad" && line.words.size() > 1 &&
                (line.words[1] == "up" || line.words[1] == "down" || line.words[1] == "left" || line.words[1] == "right");
    if (!immediate && dpad && wait != PlayerWait::Title && wait != PlayerWait::Choice && wait != PlayerWait::Gallery) {
      DeliverDefault(q);
      return;
    }
    if (!immediate && want != PlayerWait::None && want != wait &&
        !(want == PlayerWait::Dialog && wait == PlayerWait::Confirm)) {
      if (wait != PlayerWait::Title) DeliverDefault(q);
      return;
    }
    ++next_;
    if (a == "now") {
      Line inner{line.number, std::vector<std::string>(line.words.begin() + 1, line.words.end()),
                 After(line.text, 1)};
      Deliver(inner, q);
    } else {
      Deliver(line, q);
    }
    QueueFollowingAnswers();
    return;
  }
  DeliverDefault(q);
}

}  // namespace mirel
