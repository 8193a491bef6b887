#include "console/Report.h"

#include <QCoreApplication>
#include <algorithm>

#include "console/Language.h"
#include "text/Cp1251.h"

namespace {

class Sizes {
  Q_DECLARE_TR_FUNCTIONS(Sizes)
};

}  // namespace

std::string Utf8(const std::string& text) {
  return text::Utf8FromCp1251(text);
}

std::string Megabytes(long long bytes) {
  return lang::Fill(Sizes::tr("%1 MB"), {lang::Decimal(static_cast<double>(bytes) / 1048576.0, 1)});
}

std::string SizeText(long long bytes) {
  return lang::Fill(Sizes::tr("%1 (%2 bytes)", nullptr, lang::Plural(bytes)),
                    {Megabytes(bytes), lang::Count(bytes)});
}

namespace {

// Characters, not bytes: the continuation bytes of UTF-8 take no column.
size_t Width(const std::string& utf8) {
  return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

TextTable::TextTable(std::vector<std::string> header, std::string align)
    : align_(std::move(align)) {
  rows_.push_back(std::move(header));
}

void TextTable::Add(std::vector<std::string> row) {
  rows_.push_back(std::move(row));
}

void TextTable::Print(std::ostream& out, const std::string& indent) const {
  std::vector<size_t> widths;
  for (const auto& row : rows_) {
    if (widths.size() < row.size()) widths.resize(row.size());
    for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], Width(row[i]));
  }
  for (size_t r = 0; r < rows_.size(); ++r) {
    std::string line = indent;
    for (size_t i = 0; i < rows_[r].size(); ++i) {
      const std::string& cell = rows_[r][i];
      const std::string pad(widths[i] - Width(cell), ' ');
      const bool right = i < align_.size() && align_[i] == 'r';
      if (i > 0) line += "  ";
      line += right ? pad + cell : cell + (i + 1 < rows_[r].size() ? pad : "");
    }
    out << line << "\n";
    if (r == 0) {
      std::string rule = indent;
      for (size_t i = 0; i < widths.size(); ++i)
        rule += (i > 0 ? "  " : "") + std::string(widths[i], '-');
      out << rule << "\n";
    }
  }
}
