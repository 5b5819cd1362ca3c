#pragma once
// A main window laid out on a black screen, with a font that draws boxes
// and remembers every text it was asked to draw, and a player who presses
// Space whenever the game waits for one.
#include <string>
#include <vector>

#include "app/Main_Form.h"
#include "platform/headless/BoxFont.h"
#include "support/TestPlatform.h"

namespace mirel::test {

struct DrawnText {
  int x, y;
  Text text;
  uint32_t rgb;
  double size;
};

class RecordingFont final : public FontRasterizer {
 public:
  void DrawText(PixelTarget t, int x, int y, TextView text, const Font& font, uint32_t rgb) override {
    drawn.push_back({x, y, Text(text), rgb, font.size});
    boxes.DrawText(t, x, y, text, font, rgb);
  }
  int TextWidth(TextView text, const Font& font) override { return boxes.TextWidth(text, font); }
  std::string ResolvedFamily(const Font& f) override { return boxes.ResolvedFamily(f); }
  std::vector<DrawnText> drawn;
  BoxFont boxes;
};

struct TextHarness {
  TestPlatform tp;
  RecordingFont font;
  std::unique_ptr<Main_Form> owner;
  Main_Form* form = nullptr;
  // Tick counts at which the game was found waiting for the player.
  std::vector<uint32_t> waits;
  bool answer = true;  // press Space when waited for

  TextHarness() {
    tp.platform.fonts = &font;
    owner = std::make_unique<Main_Form>(tp.platform, StartOptions{});
    form = owner.get();
    Main_Form& f = *form;
    f.LayOutMainWindow();
    for (Surface* s : {&f.Pic_Main, &f.Waku[0], &f.Waku[6]}) {
      s->BackColor = kBlack;
      s->Cls();
    }
    f.Pic_Main.Visible = true;
    f.Waku[0].Visible = true;
    tp.events.onPump = [this](EventQueue& q) {
      if (form->ClickWait && answer) {
        waits.push_back(tp.clock.GetTickCount());
        q.push_back(KeyEvent(32));
      }
    };
  }
  // The window's pixel; black where nothing was drawn.
  uint32_t Ink(int x, int y) const { return form->Waku[0].At(x, y); }
  // Centre of character cell `cell` of text row `row`, `pitch` apart.
  uint32_t CellInk(int row, int cell, int pitch) const {
    return Ink(30 + pitch * cell + 8, row * form->LineHeight + 18 + 8);
  }
  uint32_t TagInk(int cell) const { return Ink(30 + 16 * cell + 8, 15 + 8); }
  void Wipe() {
    form->Waku[0].Cls();
    font.drawn.clear();
  }
};

}  // namespace mirel::test
