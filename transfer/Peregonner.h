#pragma once
// The rewriter of texts that name devices by key: macro command lines and user
// reader-rights lines. A text is held line by line and rewritten in place
// through the key map of the run, once the referenced tables have been copied.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class KeyMap;

class Tperegonner {
 public:
  explicit Tperegonner(const KeyMap& keyMap) : keyMap_(&keyMap) {}

  std::vector<std::string> Lines;  // windows-1251, without line ends
  std::string Name;                // the macro's name; empty for rights texts

  // Splits a blob's text at CR LF, CR or LF; a final line break adds no line.
  void LoadFromText(std::string_view text);
  // Every line followed by CR LF.
  std::string SaveToText() const;

  void RewriteMacro();
  void RewriteMacroLine(size_t index);
  void RewriteRights();
  // Raises text::EConvertError when the key part is not a decimal integer.
  void RewriteRightsLine(size_t index);

 private:
  const KeyMap* keyMap_;
};

// The macros of one transfer, owned, in the order they were read.
class TPeregonnerList {
 public:
  void Add(std::unique_ptr<Tperegonner> item);  // an absent item is ignored
  int Count() const { return static_cast<int>(items_.size()); }
  Tperegonner* Items(int index) const;  // none outside 0..Count-1

 private:
  std::vector<std::unique_ptr<Tperegonner>> items_;
};

// One line rewritten, as the member functions do it; for callers that hold bare text.
std::string RewrittenMacroLine(const std::string& line, const KeyMap& keyMap);
std::string RewrittenRightsLine(const std::string& line, const KeyMap& keyMap);
