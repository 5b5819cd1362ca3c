// make-demo-data OUTDIR [STORYDIR]: writes the demo data folder, made
// entirely from the story sources and the drawing and music code here.
#include <cstdio>
#include <exception>
#include <string>

#include "demo/DemoData.h"

#ifndef MIREL_DEMO_STORY_DIR
#define MIREL_DEMO_STORY_DIR "demo/story"
#endif

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: make-demo-data OUTDIR [STORYDIR]\n");
    return 2;
  }
  std::string story = argc == 3 ? argv[2] : MIREL_DEMO_STORY_DIR;
  try {
    mirel::demo::MakeDemoData(argv[1], story);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-demo-data: %s\n", e.what());
    return 1;
  }
  return 0;
}
