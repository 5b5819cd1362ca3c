#pragma once
// The story's pictures: backgrounds 3 to 14, the event pictures 51 to 67
// and the pictures around the story (title, gallery, start-up, opening,
// ending), each drawn from scratch.
#include "demo/Paint.h"

namespace mirel::demo {

// Background or event picture number n (3..14, 51..67). All are 640x480
// except 51, which is 640x930 (its first screen is the bottom one).
Canvas ScenePicture(int n);

Canvas TitlePicture();      // "p91.dat"
Canvas GalleryPicture();    // "p92.dat": behind the thumbnail grid
Canvas StartupPicture();    // "P99.dat": behind the loading indicator
Canvas OpeningPicture();    // "P98.dat": the first picture of the opening
Canvas FinalPicture(int k); // "p01.dat" (k = 1) and "p02.dat" (k = 2)

}  // namespace mirel::demo
