#pragma once
// The staff roll's credits: the fixed table of headings and names, the
// story's own names for it, and the tall strip the roll window scrolls over.
#include <array>
#include <string>

#include "base/Text.h"
#include "gfx/Surface.h"
#include "platform/FontRaster.h"

namespace mirel::extras {

constexpr int kStripWidth = 130;
constexpr int kStripHeight = 800;

// Who is credited: supplied with the story. Names not supplied credit the
// project.
struct CreditsContent {
  Text scenario = u"MIREL project", program = u"MIREL project", graphics = u"MIREL project",
       music = u"MIREL project";
  Text maker = u"MIREL project", year = u"2026";
};

// Kind of a credits row: a heading, a name, or a row that is not drawn.
enum class CreditKind { None, Heading, Name };

struct CreditRow {
  Text text;
  CreditKind kind = CreditKind::None;
};

constexpr int kCreditRows = 21;
std::array<CreditRow, kCreditRows> CreditsTable(const CreditsContent& content);

// The older credits file of a data folder, before the story file held the
// names: plain Shift-JIS text, one line each for the scenario, program,
// graphics and music names, the maker line and the year line. A missing
// file or line credits the project.
CreditsContent ReadCredits(const std::string& path);
inline constexpr const char* kCreditsFile = "staff.txt";

// Where a row is drawn: strip row and column of its text's top-left corner,
// y below 0 for a row that is skipped.
struct CreditPlace {
  int x = 0, y = -1;
  double size = 0;
};
std::array<CreditPlace, kCreditRows> CreditPlaces(const std::array<CreditRow, kCreditRows>& rows);

// Draws the title and the credits, in white bold Arial, into a strip that
// already holds its background.
void DrawCredits(FontRasterizer& fonts, Surface& strip, const std::array<CreditRow, kCreditRows>& rows);

}  // namespace mirel::extras
