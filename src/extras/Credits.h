#pragma once
// The staff roll's credits: the fixed table of headings and names, the
// story's own names for it, and the tall strip the roll window scrolls over.
#include <array>
#include <string>

#include "gfx/Surface.h"
#include "platform/FontRaster.h"
#include "platform/Text.h"

namespace mirel::extras {

constexpr int kStripWidth = 130;
constexpr int kStripHeight = 800;

// Who is credited: supplied with the story (see ReadCredits).
struct CreditsContent {
  Text scenario, program, graphics, music;
  Text maker, year;
};

// Kind of a credits row: a heading, a name, or a row that is not drawn.
enum class CreditKind { None, Heading, Name };

struct CreditRow {
  Text text;
  CreditKind kind = CreditKind::None;
};

constexpr int kCreditRows = 21;
std::array<CreditRow, kCreditRows> CreditsTable(const CreditsContent& content);

// The credits file of a data folder: plain Shift-JIS text, one line each for
// the scenario, program, graphics and music names, the maker line and the
// year line. A missing file or line credits the project.
CreditsContent ReadCredits(const std::string& path);
// The file's name in the data folder.
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
