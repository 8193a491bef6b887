#pragma once
// The window's own texts where the command shows them (its statuses, its
// messages, the database layer's messages built from them): as they are under
// a Russian locale, in English otherwise. Both take windows-1251 and give UTF-8.
#include <string>

// A status of the run, such as "Перенос данных завершен."; any other text (a
// table's name) as it is.
std::string WindowStatus(const std::string& status);

// A message that may hold window texts among other words: each of them is put
// into English, the rest (the engine's words, file names) stays as it is.
std::string WindowMessage(const std::string& message);
