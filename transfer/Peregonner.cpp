#include "transfer/Peregonner.h"

void Tperegonner::LoadFromText(std::string_view text) {
  Lines.clear();
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    Lines.emplace_back(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
}

std::string Tperegonner::SaveToText() const {
  std::string text;
  for (const std::string& line : Lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void Tperegonner::RewriteMacro() {
  for (size_t i = 0; i < Lines.size(); ++i) RewriteMacroLine(i);
}

void Tperegonner::RewriteMacroLine(size_t index) {
  Lines.at(index) = RewrittenMacroLine(Lines.at(index), *keyMap_);
}

void Tperegonner::RewriteRights() {
  for (size_t i = 0; i < Lines.size(); ++i) RewriteRightsLine(i);
}

void Tperegonner::RewriteRightsLine(size_t index) {
  Lines.at(index) = RewrittenRightsLine(Lines.at(index), *keyMap_);
}

void TPeregonnerList::Add(std::unique_ptr<Tperegonner> item) {
  if (item) items_.push_back(std::move(item));
}

Tperegonner* TPeregonnerList::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}
