#pragma once
// The backlog: the last messages of this run as they were shown, and the
// page that shows them over the dimmed picture, in the message window's
// font and colours. Drawn into a surface of its own above the game's
// controls; opening and closing it touches nothing of the game.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "base/Text.h"
#include "gfx/Surface.h"
#include "platform/Image.h"
#include "platform/WindowHost.h"

namespace mirel {

struct BacklogEntry {
  enum class Kind { Message, Caption, Choice };
  Kind kind = Kind::Message;
  Text tag;    // speaker tag, empty for narration
  Text text;   // names already filled in
  uint32_t colour = 0;
};

class Backlog {
 public:
  static constexpr size_t kCapacity = 200;
  Backlog();

  void Add(BacklogEntry e);
  const std::deque<BacklogEntry>& Entries() const { return entries_; }
  // Entries added so far in the run (also those the capacity let go).
  uint64_t Added() const { return added_; }
  // Takes back the entries added after the first `added`.
  void Rewind(uint64_t added);

  // The page, with `under` (the picture as presented) dimmed behind it;
  // `window` (the message window's box, when shown) is left black, or its
  // dimmed text would run into the backlog's last rows.
  void Open(const Image& under, FontRasterizer& fonts, Rect window = {});
  void Close();
  bool IsOpen() const { return page.Visible; }
  // Scrolls by `rows` rows, positive towards older messages. False when
  // asked to go further down than the newest message.
  bool Scroll(int rows);
  void ScrollPage(int pages);
  int ScrollRows() const { return scroll_; }
  // The entry (counted back from the newest, 0 the newest) shown on the
  // open page at height `y`, or the last one shown in full at its foot.
  std::optional<size_t> EntryAt(int y) const;
  std::optional<size_t> EntryAtFoot() const;

  // The page's surface; the main window shows it above everything.
  Surface page;

 private:
  struct Row {
    Text text;
    uint32_t colour;
    int x;
    int entry = -1;  // index in entries_, -1 for the blank row between
  };
  int FirstShown() const;
  void Lay(FontRasterizer& fonts);
  void Draw(FontRasterizer& fonts);
  int VisibleRows() const;
  int MaxScroll() const;

  std::deque<BacklogEntry> entries_;
  std::vector<Row> rows_;  // a blank row (empty text) between messages
  Image under_;
  FontRasterizer* fonts_ = nullptr;
  int scroll_ = 0;  // rows scrolled back from the newest
  uint64_t added_ = 0;
};

}  // namespace mirel
