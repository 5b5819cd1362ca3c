#pragma once
// The pictures the engine cuts up: sprites, the face sheet, the frame
// texture atlas, the gallery thumbnails and the photo frame of the ending.
#include <functional>
#include <vector>

#include "demo/Paint.h"

namespace mirel::demo {

// A face box of the engine's face table: the box on the sprite and the
// column of the face sheet that holds its expressions.
struct FaceBox {
  int key;  // character * 10 + picture of the sprite drawn for it
  int x1, y1, w, h, column;
};
const std::vector<FaceBox>& FaceBoxes();
constexpr int kFaceSheetWidth = 1465;

// Sprite "<c><p>.dat": the figure on black, which the engine treats as
// transparent.
Canvas SpritePicture(int key);
// "60.dat": for every face box its expressions stacked downwards.
Canvas FaceSheet();
// "61.dat": frame tiles, fill colour, date tab, title and gallery buttons.
Canvas TextureAtlas();
// "63.dat" (normal) or "62.dat" (highlighted): the gallery's 5 x 3 grid of
// 96 x 72 thumbnails; `picture` gives the event picture of number n.
Canvas ThumbnailSheet(bool highlighted, const std::function<const Canvas&(int)>& picture);
// The background numbers behind gallery entries 1 to 15.
const std::vector<int>& GalleryEntries();
// "64.dat": the photo frame of the ending's remembered pictures.
Canvas PhotoFrame();

}  // namespace mirel::demo
