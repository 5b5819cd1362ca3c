#include "app/GameReader.h"

#include "app/Main_Form.h"
#include "ui/File_Window.h"
#include "ui/NameEnt.h"
#include "ui/Option_Window.h"
#include "ui/frmAbout.h"

namespace mirel {

namespace {

constexpr uint32_t kLit = Rgb(255, 0, 0);
constexpr int kGalleryExit = 16;

Rect BoxOf(const Surface& s) { return Rect{s.ScreenLeft(), s.ScreenTop(), s.width, s.height}; }

AccessItem Item(AccessRole role, Text name, int target = -1, Rect box = {}) {
  AccessItem i;
  i.role = role;
  i.name = std::move(name);
  i.target = target;
  i.box = box;
  return i;
}

class MainFormReader final : public GameReader {
 public:
  explicit MainFormReader(Main_Form& f) : f_(f) {}

  AccessScene Scene() const override {
    AccessScene s;
    if (const Form* form = OpenForm()) return DialogScene(form->model);
    const Backlog& log = f_.reading.History();
    if (log.IsOpen()) {
      s.screen = AccessScreen::Backlog;
      for (const BacklogEntry& e : log.Entries()) s.items.push_back(Item(AccessRole::Message, ClipboardText(e.tag, e.text)));
      return s;
    }
    if (f_.ChoiceOpen) {
      s.screen = AccessScreen::Choice;
      for (int i = 0; i < 3; ++i) {
        const Surface& label = f_.SelTxt[static_cast<size_t>(i)];
        if (!label.Visible) continue;
        AccessItem b = Item(AccessRole::Button, f_.ChoiceTexts[static_cast<size_t>(i)], i, BoxOf(label));
        b.selected = label.ForeColor == kLit;
        s.items.push_back(std::move(b));
      }
      // Picked: the window stays empty until the story goes on.
      if (s.items.empty()) s.screen = AccessScreen::None;
      return s;
    }
    if (f_.GalleryOpen) {
      if (f_.SCG.Shown()) {
        s.screen = AccessScreen::FullView;
        s.items.push_back(Item(AccessRole::Picture,
                               FromUtf8(words::Picture()) + u" " + Decimal(f_.GalleryCurrent), f_.GalleryCurrent));
        return s;
      }
      s.screen = AccessScreen::Gallery;
      for (int n = 1; n <= 15; ++n) {
        const size_t k = static_cast<size_t>(n);
        const bool open = f_.CgUnlocked[k - 1];
        Text name = Decimal(n);
        if (!open) name += u" " + FromUtf8(words::Locked());
        AccessItem b = Item(AccessRole::Button, name, n, f_.ShpCreated[k] ? BoxOf(f_.Shp[k]) : Rect{});
        b.enabled = open;
        b.selected = f_.GalleryCurrent == n;
        s.items.push_back(std::move(b));
      }
      if (f_.CG_END.Shown())
        s.items.push_back(Item(AccessRole::Button, FromUtf8(words::GalleryExit()), kGalleryExit, BoxOf(f_.CG_END)));
      return s;
    }
    if (f_.TitleShown && f_.Smenu[0].Shown()) {
      s.screen = AccessScreen::Title;
      for (int i = 0; i < 4; ++i) {
        AccessItem b = Item(AccessRole::Button, FromUtf8(words::TitleButton(i)), i, BoxOf(f_.Smenu[static_cast<size_t>(i)]));
        b.selected = f_.LastHover == i;
        s.items.push_back(std::move(b));
      }
      return s;
    }
    // The message or caption shown last, while it can be read.
    const auto& entries = log.Entries();
    if (!entries.empty() && f_.GameDepth > 0) {
      const BacklogEntry& e = entries.back();
      const bool message = e.kind == BacklogEntry::Kind::Message && f_.Waku[0].Shown() && !f_.WakuHidden;
      const bool caption = e.kind == BacklogEntry::Kind::Caption && !f_.Waku[0].Visible;
      if (message || caption) {
        s.screen = AccessScreen::Story;
        if (message && !e.tag.empty()) s.items.push_back(Item(AccessRole::Tag, e.tag));
        s.items.push_back(Item(message ? AccessRole::Message : AccessRole::Caption, e.text));
      }
    }
    return s;
  }

  // A dialog as its window shows it (the desktop's dialog speaks for
  // itself; this is the same for a run without one): its caption, the
  // words shown, the buttons and the named pictures used like buttons.
  static AccessScene DialogScene(const DialogModel& m) {
    AccessScene s;
    s.screen = AccessScreen::Dialog;
    s.items.push_back(Item(AccessRole::Dialog, m.caption));
    auto shown = [&m](const DialogControl& c) {
      for (const DialogControl* k = &c; k; k = k->parent.empty() ? nullptr : m.Find(k->parent))
        if (!k->visible) return false;
      return true;
    };
    for (size_t i = 0; i < m.controls.size(); ++i) {
      const DialogControl& c = m.controls[i];
      if (!shown(c)) continue;
      const int at = static_cast<int>(i);
      if (c.kind == ControlKind::Button || !c.accessibleName.empty()) {
        AccessItem b = Item(AccessRole::Button, c.accessibleName.empty() ? c.caption : c.accessibleName, at);
        b.enabled = c.enabled;
        s.items.push_back(std::move(b));
      } else if (c.kind == ControlKind::Label && !c.caption.empty()) {
        const DialogControl* holder = c.parent.empty() ? nullptr : m.Find(c.parent);
        if (!holder || holder->accessibleName.empty()) s.items.push_back(Item(AccessRole::Tag, c.caption, at));
      }
    }
    return s;
  }

  const Form* OpenForm() const {
    const Form* forms[] = {f_.optionWindow.get(), f_.nameEnt.get(), f_.fileWindow.get(), f_.aboutBox.get()};
    for (const Form* form : forms)
      if (form && form->IsOpen()) return form;
    return nullptr;
  }

  void Point(const AccessItem& item) override {
    // A dialog's controls light nothing under the keyboard.
    if (OpenForm()) return;
    if (f_.ChoiceOpen) f_.SelTxt_MouseMove(item.target);
    else if (f_.GalleryOpen) {
      if (item.target >= 1 && item.target <= 15 && item.enabled) f_.Pic_MouseMove(item.target);
    } else if (f_.TitleShown) f_.Smenu_MouseMove(item.target);
  }

  void Use(const AccessItem& item) override {
    if (const Form* form = OpenForm()) {
      // As a click on the control: the dialog hears it from its host.
      if (item.target >= 0 && static_cast<size_t>(item.target) < form->model.controls.size() && item.enabled)
        f_.Dispatch(ControlEvent(form->model.name, form->model.controls[static_cast<size_t>(item.target)].name));
      return;
    }
    if (f_.ChoiceOpen) f_.SelTxt_MouseDown(item.target, 1);
    else if (f_.GalleryOpen) {
      if (f_.SCG.Shown()) f_.SCG_Click();
      else if (item.target == kGalleryExit) f_.CG_END_Click();
      else if (item.enabled) f_.Pic_Click(item.target);
    } else if (f_.TitleShown) f_.Smenu_MouseDown(item.target);
  }

  void Back(AccessScreen screen) override {
    if (screen == AccessScreen::FullView) f_.SCG_Click();
    else if (screen == AccessScreen::Gallery) f_.CG_END_Click();
  }

 private:
  Main_Form& f_;
};

}  // namespace

std::unique_ptr<GameReader> MakeGameReader(Main_Form& f) { return std::make_unique<MainFormReader>(f); }

}  // namespace mirel
