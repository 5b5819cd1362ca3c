#include "comfort/Backlog.h"

#include <algorithm>

namespace mirel {

namespace {

// The message window's geometry and colours, so the backlog reads like it.
constexpr int kLeft = 40;
constexpr int kTop = 24;
constexpr int kPitch = 17;
constexpr size_t kRowChars = 30;
constexpr int kViewHeight = 480 - 2 * kTop;
constexpr uint32_t kWhite_ = Rgb(255, 255, 255);
constexpr uint32_t kPicked = Rgb(255, 0, 0);      // a picked choice label
constexpr uint32_t kBar = Rgb(192, 192, 192);

uint32_t Dim(uint32_t c) {
  // A quarter of the light is left: text stays readable on any picture.
  return Rgb(RedOf(c) / 4, GreenOf(c) / 4, BlueOf(c) / 4);
}

}  // namespace

Backlog::Backlog() {
  page.name = "Backlog";
  page.zOrder = 90;  // above every control of the game
  page.font = Font{u"ＭＳ ゴシック", 12, false};
  page.BackColor = kBlack;
}

void Backlog::Add(BacklogEntry e) {
  ++added_;
  entries_.push_back(std::move(e));
  while (entries_.size() > kCapacity) entries_.pop_front();
}

void Backlog::Rewind(uint64_t added) {
  for (; added_ > added; --added_)
    if (!entries_.empty()) entries_.pop_back();
}

void Backlog::Open(const Image& under, FontRasterizer& fonts, Rect window) {
  under_ = under;
  for (uint32_t& p : under_.pixels) p = Dim(p);
  for (int y = std::max(0, window.y); y < std::min(under_.height, window.y + window.h); ++y)
    for (int x = std::max(0, window.x); x < std::min(under_.width, window.x + window.w); ++x)
      under_.pixels[static_cast<size_t>(y) * under_.width + x] = kBlack;
  fonts_ = &fonts;
  scroll_ = 0;
  Lay(fonts);
  page.Resize(640, 480);
  page.Visible = true;
  Draw(fonts);
}

void Backlog::Close() {
  page.Visible = false;
  page.Refresh();
  under_ = Image{};
  rows_.clear();
}

bool Backlog::Scroll(int rows) {
  if (rows < 0 && scroll_ == 0) return false;
  scroll_ = std::clamp(scroll_ + rows, 0, MaxScroll());
  if (fonts_) Draw(*fonts_);
  return true;
}

void Backlog::ScrollPage(int pages) { Scroll(pages * std::max(1, VisibleRows() - 1)); }

int Backlog::VisibleRows() const { return kViewHeight / kPitch; }

int Backlog::MaxScroll() const { return std::max(0, static_cast<int>(rows_.size()) - VisibleRows()); }

void Backlog::Lay(FontRasterizer& fonts) {
  rows_.clear();
  for (size_t i = 0; i < entries_.size(); ++i) {
    const BacklogEntry& e = entries_[i];
    const int n = static_cast<int>(i);
    if (!rows_.empty()) rows_.push_back(Row{{}, 0, 0});
    switch (e.kind) {
      case BacklogEntry::Kind::Message:
        if (!e.tag.empty()) rows_.push_back(Row{e.tag, e.colour, kLeft, n});
        for (size_t at = 0; at < e.text.size(); at += kRowChars)
          rows_.push_back(Row{e.text.substr(at, kRowChars), e.colour, kLeft, n});
        break;
      case BacklogEntry::Kind::Caption:
        rows_.push_back(Row{e.text, kWhite_, 320 - fonts.TextWidth(e.text, page.font) / 2, n});
        break;
      case BacklogEntry::Kind::Choice:
        rows_.push_back(Row{u"→ " + e.text, kPicked, kLeft, n});
        break;
    }
  }
}

int Backlog::FirstShown() const {
  return std::max(0, static_cast<int>(rows_.size()) - VisibleRows() - scroll_);
}

std::optional<size_t> Backlog::EntryAt(int y) const {
  if (!IsOpen() || y < kTop) return std::nullopt;
  const int row = FirstShown() + (y - kTop) / kPitch;
  if ((y - kTop) / kPitch >= VisibleRows() || row >= static_cast<int>(rows_.size())) return std::nullopt;
  const int e = rows_[static_cast<size_t>(row)].entry;
  if (e < 0) return std::nullopt;
  return entries_.size() - 1 - static_cast<size_t>(e);
}

std::optional<size_t> Backlog::EntryAtFoot() const {
  if (!IsOpen() || rows_.empty()) return std::nullopt;
  const int last = std::min(static_cast<int>(rows_.size()), FirstShown() + VisibleRows()) - 1;
  for (int r = last; r >= FirstShown(); --r) {
    const int e = rows_[static_cast<size_t>(r)].entry;
    // Shown in full: its next row is shown too, or there is none.
    if (e >= 0 && (r == last ? r + 1 == static_cast<int>(rows_.size()) || rows_[static_cast<size_t>(r + 1)].entry != e : true))
      return entries_.size() - 1 - static_cast<size_t>(e);
  }
  return std::nullopt;
}

void Backlog::Draw(FontRasterizer& fonts) {
  page.SetPicture(under_);
  const int shown = VisibleRows();
  const int total = static_cast<int>(rows_.size());
  const int first = FirstShown();
  for (int i = first; i < std::min(total, first + shown); ++i) {
    const Row& r = rows_[static_cast<size_t>(i)];
    if (r.text.empty()) continue;
    page.ForeColor = r.colour;
    TextOut(fonts, page, r.x, kTop + (i - first) * kPitch, r.text);
  }
  // Where the page is in the whole history.
  if (total > shown) {
    const int thumb = std::max(8, kViewHeight * shown / total);
    const int y = kTop + (kViewHeight - thumb) * first / (total - shown);
    FillBox(page, 626, kTop, 627, kTop + kViewHeight, Dim(kBar));
    FillBox(page, 624, y, 629, y + thumb, kBar);
  }
  page.Refresh();
}

}  // namespace mirel
