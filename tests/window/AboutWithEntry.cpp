// An about library as the program expects it: "show_about" without arguments.
// It leaves a line in the file named by DRAVIK_ABOUT_MARKER, so a test sees the call.
#include <cstdio>
#include <cstdlib>

extern "C" __attribute__((visibility("default"))) int show_about() {
  if (const char* marker = std::getenv("DRAVIK_ABOUT_MARKER")) {
    if (std::FILE* f = std::fopen(marker, "a")) {
      std::fputs("shown\n", f);
      std::fclose(f);
    }
  }
  return 1;
}
