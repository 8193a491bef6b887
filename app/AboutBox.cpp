#include "app/AboutBox.h"

#include <dlfcn.h>

#include "text/RussianTexts.h"

void ShowAboutBox(const std::string& programFolder, WindowServices& services, QWidget* parent) {
  static const char kLibrary[] = "about.dll";
  void* library = dlopen((programFolder + kLibrary).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) library = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    services.Message(parent, WindowServices::Icon::Error, ru::ErrorCaption(),
                     ru::AboutLibraryNotLoaded(), {WindowServices::Button::Ok});
    return;
  }
  // Whatever the entry returns is of no interest.
  using Entry = void (*)();
  if (auto entry = reinterpret_cast<Entry>(dlsym(library, "show_about")))
    entry();
  else
    services.Message(parent, WindowServices::Icon::Error, ru::ErrorCaption(),
                     ru::AboutEntryNotFound(), {WindowServices::Button::Ok});
  dlclose(library);
}
