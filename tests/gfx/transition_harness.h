#pragma once
// A main window on the fake platform with a recorder on the screen surface,
// and the picture helpers the transition tests share.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/Main_Form.h"
#include "platform/headless/VirtualClock.h"
#include "support/TestPlatform.h"

namespace mirel::test {

// Every present of a surface: the virtual time slept until then and, for
// the frames asked for, the whole picture. The refresh then goes on to
// `next` (the window's presenting) when set.
class FrameLog final : public RefreshSink {
 public:
  explicit FrameLog(VirtualClock& clock) : clock_(clock) {}
  void Refreshed(const Surface& s) override {
    const int n = static_cast<int>(times.size());
    times.push_back(clock_.TotalSlept());
    if (keepAll || keep.count(n)) frames[n] = s.pixels;
    if (onFrame) onFrame(n, s);
    if (next) next->Refreshed(s);
  }
  int Count() const { return static_cast<int>(times.size()); }
  const std::vector<uint32_t>& Frame(int n) const { return frames.at(n); }

  std::vector<uint64_t> times;
  std::set<int> keep;
  bool keepAll = false;
  std::map<int, std::vector<uint32_t>> frames;
  std::function<void(int, const Surface&)> onFrame;
  RefreshSink* next = nullptr;

 private:
  VirtualClock& clock_;
};

// Old picture: blue below 0x40. New picture: blue from 0x80. So every pixel
// of the screen tells which of the two it shows.
inline Image OldPicture(int w = 640, int h = 480) {
  return Painted(w, h, [](int x, int y) { return Rgb(y & 255, x & 255, (x ^ y) & 0x3F); });
}
inline Image NewPicture(int w = 640, int h = 480) {
  return Painted(w, h, [](int x, int y) { return Rgb(x & 255, (3 * y) & 255, 0x80 | ((x + y) & 0x3F)); });
}
// All channel values, both extremes included, for the colour codes.
inline Image ColourfulPicture(int w = 640, int h = 480) {
  return Painted(w, h, [](int x, int y) { return Rgb((x * 3 + y) & 255, (x + y * 7) & 255, (x * y + 255 * (y & 1)) & 255); });
}

// Checks a w x h picture pixel by pixel against a rule; names the first
// pixel that differs and how many do.
inline ::testing::AssertionResult ImageMatches(const std::vector<uint32_t>& px, int w, int h,
                                               const std::function<uint32_t(int, int)>& expected) {
  if (px.size() != static_cast<size_t>(w) * h)
    return ::testing::AssertionFailure() << "image has " << px.size() << " pixels, not " << w << " x " << h;
  long bad = 0;
  std::string first;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t got = px[static_cast<size_t>(y) * w + x], want = expected(x, y);
      if (got != want && bad++ == 0) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "(%d, %d): got %06X, want %06X", x, y, got, want);
        first = buf;
      }
    }
  if (bad == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << bad << " pixels differ, first at " << first;
}
inline ::testing::AssertionResult ScreenMatches(const std::vector<uint32_t>& screen,
                                                const std::function<uint32_t(int, int)>& expected) {
  return ImageMatches(screen, 640, 480, expected);
}

// The dither thresholds of the mesh dissolves: at frame k the new picture
// shows where the threshold is at most k.
constexpr int kThreshold[8][8] = {{0, 4, 1, 5, 0, 4, 1, 5}, {6, 2, 7, 3, 6, 2, 8, 4}, {1, 5, 0, 4, 2, 6, 1, 4},
                                  {8, 4, 7, 3, 9, 4, 7, 3}, {0, 4, 1, 5, 0, 4, 1, 5}, {6, 3, 8, 4, 6, 3, 7, 3},
                                  {2, 6, 1, 5, 2, 6, 0, 4}, {9, 4, 7, 3, 9, 4, 7, 3}};

// Which of two 640 x 480 pictures each pixel must show.
inline ::testing::AssertionResult ShowsWhere(const std::vector<uint32_t>& screen, const Image& oldPic,
                                             const Image& newPic, const std::function<bool(int, int)>& showsNew) {
  return ScreenMatches(screen, [&](int x, int y) { return showsNew(x, y) ? newPic.At(x, y) : oldPic.At(x, y); });
}

struct Harness {
  TestPlatform tp;
  TempDir dir;
  Main_Form f{tp.platform, StartOptions{dir.path(), dir.path()}};
  FrameLog log{tp.clock};
  int pumps = 0;
  std::function<void()> onPump;

  Harness() {
    f.DataDir = dir.path();
    f.BaseDir = dir.path();
    // Time passes only by sleeping, so frame times are exact.
    tp.clock.SetSpinReadsPerMs(1u << 30);
    f.Pic_Main.Resize(640, 480);
    f.Pic_Main.Visible = true;
    f.Pic_Back.BackColor = kBlack;
    f.Mesh2.BackColor = kWhite;
    log.next = f.Pic_Main.sink;
    f.Pic_Main.sink = &log;
    tp.events.onPump = [this](EventQueue&) {
      ++pumps;
      if (onPump) onPump();
    };
  }
  void Show(const Image& img) { f.Pic_Main.SetPicture(img); }
  void Next(const Image& img) { f.Pic_Back.SetPicture(img); }
  std::vector<uint32_t> Screen() const { return f.Pic_Main.pixels; }
};

}  // namespace mirel::test
