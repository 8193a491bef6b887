// A library named like the about library but without its entry "show_about".
extern "C" __attribute__((visibility("default"))) int about_version() {
  return 2;
}
