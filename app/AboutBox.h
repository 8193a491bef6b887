#pragma once
// The about box lives in the about library "about.dll": loaded from the program
// folder first, then by its bare name; its entry "show_about" is called without
// arguments and the library is released again. Failures are reported in boxes.
#include <string>

#include "app/WindowServices.h"

void ShowAboutBox(const std::string& programFolder, WindowServices& services, QWidget* parent);
