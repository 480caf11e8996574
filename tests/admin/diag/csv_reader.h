// Reads a CSV file back as a spreadsheet does: fields split at commas, a
// quoted field with its doubled quotes undone. Every line must end in CR LF;
// a line that does not, or a quote left open, throws.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace orvane::admin::testing {

using CsvRows = std::vector<std::vector<std::string>>;

inline CsvRows parseCsv(const std::string& text) {
  CsvRows rows;
  std::vector<std::string> row;
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c != '"') {
        field += c;
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      row.push_back(std::move(field));
      field.clear();
    } else if (c == '\r') {
      if (i + 1 == text.size() || text[i + 1] != '\n') throw std::runtime_error("CR without LF");
      row.push_back(std::move(field));
      field.clear();
      rows.push_back(std::move(row));
      row.clear();
      ++i;
    } else if (c == '\n') {
      throw std::runtime_error("LF without CR");
    } else {
      field += c;
    }
  }
  if (quoted) throw std::runtime_error("a quote left open");
  if (!field.empty() || !row.empty()) throw std::runtime_error("a last line without CR LF");
  return rows;
}

}  // namespace orvane::admin::testing
