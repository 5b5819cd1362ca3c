#include "extras/Credits.h"

#include "base/Cp932.h"
#include "base/Files.h"

namespace mirel::extras {

namespace {
const Text kSpaces = u"   ";
}  // namespace

std::array<CreditRow, kCreditRows> CreditsTable(const CreditsContent& c) {
  using K = CreditKind;
  return {{{kSpaces, K::Name},
           {u"SCENARIO", K::Heading},
           {c.scenario, K::Name},
           {u"PROGRAM", K::Heading},
           {c.program, K::Name},
           {u"GRAPHICS", K::Heading},
           {c.graphics, K::Name},
           {u"MUSIC", K::Heading},
           {c.music, K::Name},
           {kSpaces, K::Heading},
           {c.maker, K::Heading},
           {c.year, K::Name},
           {kSpaces, K::Heading},
           {kSpaces, K::Heading},
           {}, {}, {}, {}, {}, {}, {}}};
}

CreditsContent ReadCredits(const std::string& path) {
  CreditsContent c;
  std::optional<Bytes> bytes = ReadFile(path);
  if (!bytes) return c;
  std::optional<Text> text = DecodeCp932(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  if (!text) return c;
  Text* fields[] = {&c.scenario, &c.program, &c.graphics, &c.music, &c.maker, &c.year};
  size_t at = 0;
  for (Text* field : fields) {
    if (at >= text->size()) break;
    size_t end = text->find(u'\n', at);
    if (end == Text::npos) end = text->size();
    Text line = text->substr(at, end - at);
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    if (!Trim(line).empty()) *field = line;
    at = end + 1;
  }
  return c;
}

std::array<CreditPlace, kCreditRows> CreditPlaces(const std::array<CreditRow, kCreditRows>& rows) {
  std::array<CreditPlace, kCreditRows> places{};
  const int middle = kStripWidth / 2;
  int headingY = 0;
  for (int r = 0; r < kCreditRows; ++r) {
    const CreditRow& row = rows[static_cast<size_t>(r)];
    CreditPlace& p = places[static_cast<size_t>(r)];
    const int chars = static_cast<int>(row.text.size());
    if (row.kind == CreditKind::Heading) {
      p.size = 12;
      p.y = 210 + 3 * 12 * r;
      headingY = p.y;
    } else if (row.kind == CreditKind::Name) {
      p.size = 10;
      // A name stands under the heading before it; a second name would
      // follow a little lower.
      p.y = headingY + 10 + 10;
      headingY += 10 + 5;
    } else {
      continue;
    }
    p.x = middle - chars * static_cast<int>(p.size) / 2;
  }
  return places;
}

void DrawCredits(FontRasterizer& fonts, Surface& strip, const std::array<CreditRow, kCreditRows>& rows) {
  strip.ForeColor = kWhite;
  strip.font = Font{u"Arial", 14, true};
  TextOut(fonts, strip, strip.width / 2 - 25, 100, u"MIREL");
  strip.font.size = 11;
  TextOut(fonts, strip, strip.width / 2 - 50, 130, u"- making staff -");
  auto places = CreditPlaces(rows);
  for (int r = 0; r < kCreditRows; ++r) {
    const CreditPlace& p = places[static_cast<size_t>(r)];
    if (p.y < 0) continue;
    strip.font.size = p.size;
    TextOut(fonts, strip, p.x, p.y, rows[static_cast<size_t>(r)].text);
  }
}

}  // namespace mirel::extras
