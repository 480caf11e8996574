// What a command prints, in the three forms a user asks for: aligned text for
// people, JSON and CSV for programs. A command builds records of named
// values; the printer writes them. Numbers in JSON and CSV always carry "."
// as their decimal point, whatever the locale; text shows the locale's.
#pragma once

#include <iosfwd>
#include <string>
#include <variant>
#include <vector>

namespace orvctl {

enum class OutputFormat { Text, Json, Csv };

// A bit pattern: a number for programs, hexadecimal digits for people.
struct Bits {
  unsigned long value = 0;
  int digits = 2;
  friend bool operator==(const Bits&, const Bits&) = default;
};

// Null (no value: a disabled channel, a failed reading), a flag, an integer,
// a measured number, a bit pattern or a text.
using Value = std::variant<std::monostate, bool, long long, double, Bits, std::string>;

struct Field {
  std::string name;
  Value value;
  std::string unit;  // shown after the value in text, listed under "units" in JSON
};

using Record = std::vector<Field>;

// The text of a value as people read it: the locale's decimal point, "yes"
// and "no", bit patterns in hexadecimal, "-" for no value.
std::string textOf(const Value& value);

// One JSON object; the units of the fields that have one in a "units" object.
std::string jsonObject(const Record& record);
// A JSON array of objects.
std::string jsonArray(const std::vector<Record>& records);
// A JSON string literal.
std::string jsonString(const std::string& text);

// The CSV line of the field names, and of the values, without line end.
std::string csvHeader(const Record& record);
std::string csvRow(const Record& record);

class Printer {
 public:
  Printer(OutputFormat format, std::ostream& out) : format_(format), out_(out) {}

  OutputFormat format() const { return format_; }

  // One record: text as name and value lines, JSON as one object, CSV as a
  // header and one row.
  void record(const Record& record);
  // Records of the same fields: text as a table with a header, JSON as an
  // array, CSV as a header and one row each.
  void table(const std::vector<Record>& records);
  // One record of a series, written and flushed at once: text as one line
  // without the fields that have no value, JSON as one object per line, CSV
  // as a row (the header before the first).
  void next(const Record& record);
  // A line as it is, for text that is already what the user asked for.
  void raw(const std::string& line);

 private:
  OutputFormat format_;
  std::ostream& out_;
  bool headerDone_ = false;
};

}  // namespace orvctl
