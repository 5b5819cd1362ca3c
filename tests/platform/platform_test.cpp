#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <tuple>

#include "base/BmpCodec.h"
#include "base/Cp932.h"
#include "base/Files.h"
#include "base/SingleInstance.h"
#include "base/Text.h"
#include "base/Timers.h"
#include "platform/Clock.h"
#include "platform/Image.h"
#include "platform/MessageBox.h"
#include "platform/headless/VirtualClock.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(TextTest, TrimDropsHalfAndFullWidthBlanks) {
  EXPECT_EQ(Trim(u"  \u3000abc \t"), u"abc");
  EXPECT_EQ(Trim(u"   "), u"");
  EXPECT_EQ(Left(u"abc", 5), u"abc");
  EXPECT_EQ(Right(u"abcdef", 3), u"def");
}

TEST(TextTest, NumbersAreCheckedAndRoundedHalfToEven) {
  EXPECT_EQ(ToInt16(u" 42 "), 42);
  EXPECT_EQ(ToInt16(u"-2"), -2);
  EXPECT_EQ(ToInt16(u"2.5"), 2);
  EXPECT_EQ(ToInt16(u"3.5"), 4);
  EXPECT_EQ(ToInt16(u"32767"), 32767);
  EXPECT_THROW(ToInt16(u"32768"), ConversionError);
  EXPECT_THROW(ToInt16(u"abc"), ConversionError);
  EXPECT_THROW(ToInt16(u""), ConversionError);
  EXPECT_THROW(ToInt16(u"1x"), ConversionError);
  EXPECT_EQ(ToInt16(u"-32768"), -32768);
  EXPECT_EQ(ToInt16(u"+7"), 7);
  EXPECT_EQ(ToInt16(u"-0"), 0);
  EXPECT_EQ(ToInt32(u"2147483647"), 2147483647);
  EXPECT_EQ(ToInt16(u"\u3000007\u3000"), 7);  // full-width blanks go too
  auto overflows = [](const char16_t* t) {
    try {
      ToInt16(t);
    } catch (const ConversionError& e) {
      return e.overflow;
    }
    return false;
  };
  EXPECT_TRUE(overflows(u"70000"));
  EXPECT_TRUE(overflows(u"-32769"));
  EXPECT_TRUE(overflows(u"32767.5"));
  EXPECT_TRUE(overflows(u"123456789012345678901234"));  // more digits than a whole number holds
  EXPECT_FALSE(overflows(u"-"));
}

TEST(Cp932Test, ConvertsBothWaysAndRejectsBrokenBytes) {
  // "あ" is 0x82 0xA0; half-width katakana "ｱ" is the single byte 0xB1.
  std::string bytes = "\x82\xA0\xB1" "A";
  auto t = DecodeCp932(bytes);
  ASSERT_TRUE(t);
  EXPECT_EQ(*t, u"あｱA");
  EXPECT_EQ(EncodeCp932(*t), bytes);
  EXPECT_FALSE(DecodeCp932("\x82"));  // half of a double-byte character
  EXPECT_EQ(EncodeCp932(u"\U0001F600"), "??");  // not in the code page
  // A long text of single- and double-byte characters comes back whole.
  Text longText;
  for (int i = 0; i < 5000; ++i) longText += i % 3 ? u"潮A" : u"ｱ\r\n";
  auto back = DecodeCp932(EncodeCp932(longText));
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, longText);
  // The backslash's byte may be the second byte of a character (ソ = 0x83 0x5C).
  auto so = DecodeCp932("\x83\x5C");
  ASSERT_TRUE(so);
  EXPECT_EQ(*so, u"ソ");
}

TEST(Cp932Test, TypedFormsAndWindowsFormsShareACodeAndDecodeToTheWindowsForm) {
  struct Case {
    const char16_t* typed;
    const char16_t* windows;
    const char* code;
  };
  for (const Case& c : {Case{u"〜", u"～", "\x81\x60"}, Case{u"−", u"－", "\x81\x7C"}, Case{u"—", u"―", "\x81\x5C"},
                        Case{u"‖", u"∥", "\x81\x61"}, Case{u"¢", u"￠", "\x81\x91"}, Case{u"£", u"￡", "\x81\x92"},
                        Case{u"¬", u"￢", "\x81\xCA"}}) {
    for (const char16_t* form : {c.typed, c.windows}) {
      auto bytes = EncodeCp932Exact(form);
      ASSERT_TRUE(bytes) << Utf8(form);
      EXPECT_EQ(*bytes, c.code) << Utf8(form);
    }
    EXPECT_EQ(DecodeCp932(c.code), Text(c.windows)) << Utf8(c.windows);
  }
  // No form of their own: refused, where the lenient encoder writes something.
  for (const char16_t* lacking : {u"\U0001F600", u"¥", u"‾", u"あ\u00E9"}) EXPECT_FALSE(EncodeCp932Exact(lacking)) << Utf8(lacking);
  EXPECT_EQ(EncodeCp932Exact(u"?あ"), "?\x82\xA0");
}

TEST(TimersTest, FireOnlyWhenPolledAndKeepTheirCadence) {
  VirtualClock c;
  Timers t(c);
  std::vector<uint32_t> ticks;
  int id = t.Add("Clicker", 500, [&] { ticks.push_back(c.GetTickCount()); });
  t.Poll();
  EXPECT_TRUE(ticks.empty());  // disabled at first
  t.SetEnabled(id, true);
  for (int i = 0; i < 230; ++i) {
    c.Sleep(10);
    t.Poll();
  }
  ASSERT_EQ(ticks.size(), 4u);
  for (size_t i = 1; i < ticks.size(); ++i) EXPECT_NEAR(double(ticks[i] - ticks[i - 1]), 500.0, 2.0);
  // A long stall gives one tick, not a burst.
  c.Sleep(5000);
  t.Poll();
  t.Poll();
  EXPECT_EQ(ticks.size(), 5u);
}

TEST(FilesTest, NamesAreFoundWhateverTheirCase) {
  TempDir d;
  WriteBytes(d / "P91.DAT", "x");
  EXPECT_EQ(ResolveInDir(d.path(), "p91.dat"), d / "P91.DAT");
  EXPECT_EQ(ResolveInDir(d.path(), "none.dat"), d / "none.dat");
  // Folders on the way, written either way, each found whatever its case;
  // a name that leaves the folder is not looked up.
  std::filesystem::create_directories(d / "Mid");
  WriteBytes(d / "Mid/Song.MID", "x");
  EXPECT_EQ(ResolveInDir(d.path(), "mid\\song.mid"), d / "Mid/Song.MID");
  EXPECT_EQ(ResolveInDir(d.path(), "MID/SONG.mid"), d / "Mid/Song.MID");
  EXPECT_EQ(FileSize(ResolveInDir(d.path() + "Mid/", "../p91.dat")), -1);
  EXPECT_EQ(FileSize(d / "P91.DAT"), 1);
  EXPECT_EQ(FileSize(d / "none.dat"), -1);
}

TEST(FilesTest, AtomicWriteReplacesWholeOrNothing) {
  TempDir d;
  std::string path = d / "90.dat";
  WriteBytes(path, "old");
  EXPECT_FALSE(WriteFileAtomic(path, std::string("new contents")));
  EXPECT_EQ(ReadBytes(path), "new contents");
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
  // A folder where the file should go: the write fails and says why.
  std::filesystem::create_directory(d / "sub");
  auto err = WriteFileAtomic(d / "sub", std::string("x"));
  EXPECT_TRUE(err);
  // Into a missing folder: fails, nothing created.
  EXPECT_TRUE(WriteFileAtomic(d / "missing/90.dat", std::string("x")));
  // A file made read-only keeps its contents, whoever writes.
  std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  err = WriteFileAtomic(path, std::string("newer"));
  ASSERT_TRUE(err);
  EXPECT_NE(err->find("read-only"), std::string::npos);
  EXPECT_EQ(ReadBytes(path), "new contents");
}

TEST(FilesTest, NamesThatLeaveTheirFolderAreTold) {
  for (const char* inside : {"a.mid", "sub/a.mid", "..a.mid", "a..mid", "music\\a.mid"}) EXPECT_TRUE(StaysInFolder(inside)) << inside;
  for (const char* outside : {"../a.mid", "sub/../../a.mid", "..", "/etc/a.mid", "\\a.mid", "C:a.mid", "sub\\..\\..\\a"})
    EXPECT_FALSE(StaysInFolder(outside)) << outside;
}

TEST(FilesTest, KilledBeforeRenameLeavesTheOldFile) {
  TempDir d;
  std::string path = d / "00.dat";
  WriteBytes(path, "saved game");
  WriteBytes(path + ".tmp", "half wri");  // what a crash between write and rename leaves
  EXPECT_EQ(ReadBytes(path), "saved game");
  EXPECT_FALSE(WriteFileAtomic(path, std::string("next")));
  EXPECT_EQ(ReadBytes(path), "next");
}

TEST(BmpCodecTest, RoundTripsOddWidthsWithRowPadding) {
  const Image img = test::Painted(5, 3, [](int x, int y) { return 0x010203u * (5 * y + x + 1); });
  Bytes b = BmpCodec::Encode(img);
  EXPECT_EQ(b.size(), 54u + 16u * 3u);  // 5*3 = 15 bytes padded to 16 per row
  Image back;
  ASSERT_TRUE(BmpCodec().Decode(b, back));
  EXPECT_EQ(std::tie(back.width, back.height, back.pixels), std::tie(img.width, img.height, img.pixels));
}

TEST(BmpCodecTest, RefusesStoredFormAndTruncatedFiles) {
  Bytes b = BmpCodec::Encode(test::Plain(4, 4, 0xFF0000));
  Image out;
  Bytes stored = b;
  stored[0] = 'J';
  stored[1] = 'F';
  EXPECT_FALSE(BmpCodec().Decode(stored, out));
  Bytes cut(b.begin(), b.begin() + 60);
  EXPECT_FALSE(BmpCodec().Decode(cut, out));
  EXPECT_FALSE(BmpCodec().Decode(Bytes{}, out));
  // One bit per pixel, 4096 x 4097: a 2 MB file claiming 64 MB of pixels.
  Bytes huge = BmpCodec::Encode(test::Plain(1, 1, 0));
  const uint8_t header[] = {0, 16, 0, 0, 1, 16, 0, 0, 1, 0, 1, 0};  // width, height, planes, bits
  std::copy(std::begin(header), std::end(header), huge.begin() + 18);
  huge.resize(huge.size() + 512 * 4097);
  EXPECT_FALSE(BmpCodec().Decode(huge, out));
}

TEST(SingleInstanceTest, SecondLockIsRefusedUntilTheFirstGoes) {
  TempDir d;
  auto first = std::make_unique<SingleInstance>(d.path());
  ASSERT_TRUE(first->Acquire());
  SingleInstance second(d.path());
  EXPECT_FALSE(second.Acquire());
  first.reset();
  EXPECT_TRUE(second.Acquire());
}

}  // namespace
}  // namespace mirel
