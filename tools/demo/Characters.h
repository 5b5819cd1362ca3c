#pragma once
// The demo story's people, drawn as simple front-facing figures. The same
// drawing serves the sprites, the faces on the face sheet and the figures
// inside the event pictures.
#include <optional>

#include "demo/Paint.h"

namespace mirel::demo {

enum class HairStyle { Long, Bob, Ponytail, Cropped, Bun };
enum class Pattern { None, Dots, Stripes, Flowers, Checks };

struct Outfit {
  Rgb top, inner, bottom;
  std::optional<Rgb> belt;    // an obi or a sash at the waist
  std::optional<Rgb> apron;   // a front apron over the top
  std::optional<Rgb> collar;  // a band along the front edges
  std::optional<Rgb> scarf;
  Pattern pattern = Pattern::None;
  Rgb patternColor;
  bool hood = false;
};

struct Person {
  Rgb skin, hair, eyes;
  HairStyle style = HairStyle::Long;
  bool glasses = false, elderly = false, moustache = false;
  Outfit outfit;
};

// The five people of the story: 1 the heroine, 2 her lively friend, 3 the
// old keeper, 4 the librarian, 5 the hero's grandmother; `picture` picks
// the clothes (the digit after the person's number in a sprite name).
Person StoryPerson(int person, int picture);

// Expressions: 1 calm, 2 smiling, 3 surprised, 4 sad.
constexpr int kExpressions = 4;

// Draws the person with the head's centre at (cx, cy); s is half the
// face's width, every other size follows from it.
void DrawPerson(Canvas& c, const Person& p, int expression, double cx, double cy, double s);

}  // namespace mirel::demo
