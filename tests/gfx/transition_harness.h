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
#include "support/TestPlatform.h"

namespace mirel::test {

// Every present of a surface: the virtual time slept until then and, for
// the frames asked for, the whole picture.
class FrameLog final : public RefreshSink {
 public:
  explicit FrameLog(VirtualClock& clock) : clock_(clock) {}
  void Refreshed(const Surface& s) override {
    const int n = static_cast<int>(times.size());
    times.push_back(clock_.TotalSlept());
    if (keepAll || keep.count(n)) frames[n] = s.pixels;
    if (onFrame) onFrame(n, s);
  }
  int Count() const { return static_cast<int>(times.size()); }
  const std::vector<uint32_t>& Frame(int n) const { return frames.at(n); }

  std::vector<uint64_t> times;
  std::set<int> keep;
  bool keepAll = false;
  std::map<int, std::vector<uint32_t>> frames;
  std::function<void(int, const Surface&)> onFrame;

 private:
  VirtualClock& clock_;
};

// Old picture: blue below 0x40. New picture: blue from 0x80. So every pixel
// of the screen tells which of the two it shows.
inline Image OldPicture(int w = 640, int h = 480) {
  Image img{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.pixels[static_cast<size_t>(y) * w + x] = Rgb(y & 255, x & 255, (x ^ y) & 0x3F);
  return img;
}
inline Image NewPicture(int w = 640, int h = 480) {
  Image img{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.pixels[static_cast<size_t>(y) * w + x] = Rgb(x & 255, (3 * y) & 255, 0x80 | ((x + y) & 0x3F));
  return img;
}
// All channel values, both extremes included, for the colour codes.
inline Image ColourfulPicture(int w = 640, int h = 480) {
  Image img{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.pixels[static_cast<size_t>(y) * w + x] = Rgb((x * 3 + y) & 255, (x + y * 7) & 255, (x * y + 255 * (y & 1)) & 255);
  return img;
}
inline Image Plain(int w, int h, uint32_t colour) {
  return Image{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, colour)};
}

inline void WriteBmp(const std::string& path, const Image& img) {
  Bytes b = BmpCodec::Encode(img);
  WriteBytes(path, std::string(b.begin(), b.end()));
}

// Checks a 640 x 480 screen pixel by pixel against a rule; names the first
// pixel that differs and how many do.
inline ::testing::AssertionResult ScreenMatches(const std::vector<uint32_t>& screen,
                                                const std::function<uint32_t(int, int)>& expected) {
  if (screen.size() != 640u * 480u) return ::testing::AssertionFailure() << "screen has " << screen.size() << " pixels";
  long bad = 0;
  std::string first;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      uint32_t got = screen[static_cast<size_t>(y) * 640 + x], want = expected(x, y);
      if (got != want && bad++ == 0) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "(%d, %d): got %06X, want %06X", x, y, got, want);
        first = buf;
      }
    }
  if (bad == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << bad << " pixels differ, first at " << first;
}

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
