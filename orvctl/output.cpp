#include "output.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>

#include "numbers.h"

namespace orvctl {

namespace {

// The length of a valid UTF-8 sequence starting at i, 0 when there is none.
std::size_t utf8Length(const std::string& text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (lead >= 0xF5 || length == 0 || i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k)
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  return length;
}

std::string escapedByte(unsigned char c) {
  char text[8];
  std::snprintf(text, sizeof text, "\\u%04x", c);
  return text;
}

// Numbers for programs: "." always, no value for what is not a number.
std::string programNumber(double value) { return std::isfinite(value) ? plainNumber(value) : ""; }

std::string jsonValue(const Value& value) {
  struct Visitor {
    std::string operator()(std::monostate) const { return "null"; }
    std::string operator()(bool b) const { return b ? "true" : "false"; }
    std::string operator()(long long n) const { return std::to_string(n); }
    std::string operator()(double d) const {
      const std::string text = programNumber(d);
      return text.empty() ? "null" : text;
    }
    std::string operator()(const Bits& b) const { return std::to_string(b.value); }
    std::string operator()(const std::string& s) const { return jsonString(s); }
  };
  return std::visit(Visitor{}, value);
}

std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string csvValue(const Value& value) {
  struct Visitor {
    std::string operator()(std::monostate) const { return ""; }
    std::string operator()(bool b) const { return b ? "true" : "false"; }
    std::string operator()(long long n) const { return std::to_string(n); }
    std::string operator()(double d) const { return programNumber(d); }
    std::string operator()(const Bits& b) const { return std::to_string(b.value); }
    std::string operator()(const std::string& s) const { return csvField(s); }
  };
  return std::visit(Visitor{}, value);
}

// Text lengths for alignment count characters, not bytes.
std::size_t width(const std::string& text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

bool rightAligned(const Value& value) {
  return std::holds_alternative<long long>(value) || std::holds_alternative<double>(value);
}

std::string pad(const std::string& text, std::size_t to, bool right) {
  const std::string fill(to > width(text) ? to - width(text) : 0, ' ');
  return right ? fill + text : text + fill;
}

std::string withUnit(const Field& field) {
  std::string text = textOf(field.value);
  if (!field.unit.empty() && !std::holds_alternative<std::monostate>(field.value))
    text += " " + field.unit;
  return text;
}

}  // namespace

std::string textOf(const Value& value) {
  struct Visitor {
    std::string operator()(std::monostate) const { return "-"; }
    std::string operator()(bool b) const { return b ? "yes" : "no"; }
    std::string operator()(long long n) const { return std::to_string(n); }
    std::string operator()(double d) const {
      return std::isfinite(d) ? localized(plainNumber(d)) : std::string("-");
    }
    std::string operator()(const Bits& b) const {
      char text[24];
      std::snprintf(text, sizeof text, "0x%0*lX", b.digits, b.value);
      return text;
    }
    std::string operator()(const std::string& s) const { return s; }
  };
  return std::visit(Visitor{}, value);
}

std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      out += escapedByte(c);
    } else if (c >= 0x80) {
      // A reply may hold any byte: what is no UTF-8 goes out as its code.
      const std::size_t length = utf8Length(text, i);
      if (length == 0) {
        out += escapedByte(c);
      } else {
        out.append(text, i, length);
        i += length;
        continue;
      }
    } else {
      out += static_cast<char>(c);
    }
    ++i;
  }
  return out + "\"";
}

std::string jsonObject(const Record& record) {
  std::string out = "{";
  std::string units;
  for (const auto& field : record) {
    if (out.size() > 1) out += ",";
    out += jsonString(field.name) + ":" + jsonValue(field.value);
    if (field.unit.empty()) continue;
    units += (units.empty() ? "" : ",") + jsonString(field.name) + ":" + jsonString(field.unit);
  }
  if (!units.empty()) out += std::string(out.size() > 1 ? "," : "") + "\"units\":{" + units + "}";
  return out + "}";
}

std::string jsonArray(const std::vector<Record>& records) {
  std::string out = "[";
  for (const auto& record : records) out += (out.size() > 1 ? ",\n " : "") + jsonObject(record);
  return out + "]";
}

std::string csvHeader(const Record& record) {
  std::string out;
  for (const auto& field : record) out += (out.empty() ? "" : ",") + csvField(field.name);
  return out;
}

std::string csvRow(const Record& record) {
  std::string out;
  for (std::size_t i = 0; i < record.size(); ++i) out += (i ? "," : "") + csvValue(record[i].value);
  return out;
}

void Printer::record(const Record& record) {
  switch (format_) {
    case OutputFormat::Json:
      out_ << jsonObject(record) << '\n';
      break;
    case OutputFormat::Csv:
      out_ << csvHeader(record) << '\n' << csvRow(record) << '\n';
      break;
    case OutputFormat::Text: {
      std::size_t nameWidth = 0;
      for (const auto& field : record) nameWidth = std::max(nameWidth, width(field.name));
      for (const auto& field : record)
        out_ << pad(field.name, nameWidth, false) << "  " << withUnit(field) << '\n';
      break;
    }
  }
  out_.flush();
}

void Printer::table(const std::vector<Record>& records) {
  if (format_ == OutputFormat::Json) {
    out_ << jsonArray(records) << '\n';
  } else if (format_ == OutputFormat::Csv) {
    if (!records.empty()) out_ << csvHeader(records.front()) << '\n';
    for (const auto& record : records) out_ << csvRow(record) << '\n';
  } else if (!records.empty()) {
    const Record& first = records.front();
    std::vector<std::size_t> widths;
    for (const auto& field : first) widths.push_back(width(field.name));
    for (const auto& record : records)
      for (std::size_t i = 0; i < record.size() && i < widths.size(); ++i)
        widths[i] = std::max(widths[i], width(withUnit(record[i])));
    const auto line = [&](const Record& record, bool header) {
      std::string text;
      for (std::size_t i = 0; i < record.size() && i < widths.size(); ++i) {
        const bool right = !header ? rightAligned(record[i].value) : rightAligned(first[i].value);
        text +=
            (i ? "  " : "") + pad(header ? record[i].name : withUnit(record[i]), widths[i], right);
      }
      while (!text.empty() && text.back() == ' ') text.pop_back();
      out_ << text << '\n';
    };
    line(first, true);
    for (const auto& record : records) line(record, false);
  }
  out_.flush();
}

void Printer::next(const Record& record) {
  switch (format_) {
    case OutputFormat::Json:
      out_ << jsonObject(record) << '\n';
      break;
    case OutputFormat::Csv:
      if (!headerDone_) out_ << csvHeader(record) << '\n';
      out_ << csvRow(record) << '\n';
      break;
    case OutputFormat::Text: {
      std::string text;
      // People read only what there is: a failed reading shows its error.
      for (const auto& field : record) {
        if (std::holds_alternative<std::monostate>(field.value)) continue;
        text += (text.empty() ? "" : "  ") +
                (field.name == "time" ? textOf(field.value) : field.name + " " + withUnit(field));
      }
      out_ << text << '\n';
      break;
    }
  }
  headerDone_ = true;
  out_.flush();
}

void Printer::raw(const std::string& line) { out_ << line << '\n' << std::flush; }

}  // namespace orvctl
