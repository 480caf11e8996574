#include "json_document.h"

#include <algorithm>
#include <set>
#include <string_view>
#include <type_traits>
#include <vector>

#include "object_reader.h"
#include "sim/network_file.h"

namespace orvane::sim {
namespace {

using nlohmann::json;

std::string lineAndColumn(const std::string& text, std::size_t byte) {
  std::size_t line = 1, column = 1;
  for (std::size_t i = 0; i + 1 < byte && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// Where the parser stands: "modules[1].faults[0]". The library's parser
// keeps the last of two equal keys without a word, so this also remembers
// the keys of every open object.
class DocumentPlace {
 public:
  // Before each value: in a list it is the next element.
  void value() {
    if (!levels_.empty() && levels_.back().list) ++levels_.back().count;
  }
  void open(bool list) {
    value();
    levels_.push_back({list, 0, {}});
    if (!list) keys_.emplace_back();
  }
  void close() {
    if (!levels_.back().list) keys_.pop_back();
    levels_.pop_back();
  }
  // False when the open object has the key already.
  bool key(const std::string& key) {
    levels_.back().key = key;
    return keys_.back().insert(key).second;
  }
  std::string path() const {
    std::string text;
    for (const auto& level : levels_) {
      if (level.list)
        text += "[" + std::to_string(level.count - 1) + "]";
      else
        text += (text.empty() ? "" : ".") + excerpt(level.key);
    }
    return text;
  }

 private:
  struct Level {
    bool list;
    std::size_t count;  // the elements of a list so far
    std::string key;    // the key of an object being read
  };
  std::vector<Level> levels_;
  std::vector<std::set<std::string>> keys_;
};

// Builds the document like the library's own parser, but keeps the place of
// an error, which the library's out-of-range error ("1e999") does not carry,
// and refuses a key given twice in one object.
class LocatingParser : public nlohmann::detail::json_sax_dom_parser<json> {
  using Dom = nlohmann::detail::json_sax_dom_parser<json>;

 public:
  LocatingParser(json& root, const std::string& text, const std::string& name)
      : Dom(root), text_(text), name_(name) {}

  bool null() {
    place_.value();
    return Dom::null();
  }
  bool boolean(bool v) {
    place_.value();
    return Dom::boolean(v);
  }
  bool number_integer(number_integer_t v) {
    place_.value();
    return Dom::number_integer(v);
  }
  bool number_unsigned(number_unsigned_t v) {
    place_.value();
    return Dom::number_unsigned(v);
  }
  bool number_float(number_float_t v, const string_t& s) {
    place_.value();
    return Dom::number_float(v, s);
  }
  bool string(string_t& v) {
    place_.value();
    return Dom::string(v);
  }
  bool start_object(std::size_t n) {
    place_.open(false);
    return Dom::start_object(n);
  }
  bool start_array(std::size_t n) {
    place_.open(true);
    return Dom::start_array(n);
  }
  bool end_object() {
    place_.close();
    return Dom::end_object();
  }
  bool end_array() {
    place_.close();
    return Dom::end_array();
  }
  bool key(string_t& k) {
    if (!place_.key(k)) throw NetworkFileError(name_ + ": " + place_.path() + ": given twice");
    return Dom::key(k);
  }

  // The position is that of the last character read.
  template <class Exception>
  bool parse_error(std::size_t position, const std::string& token, const Exception& error) {
    const std::string_view what = error.what();
    std::string problem = "not valid JSON";
    if (std::is_same_v<Exception, json::out_of_range>) {
      problem = "the number " + excerpt(token) + " is out of range";
      position -= std::min(position, token.size() - 1);  // where the number starts
    } else if (what.find("UTF-8") != std::string_view::npos) {
      problem = "not valid UTF-8 text";
    } else if (what.find("end of input") != std::string_view::npos) {
      problem = "not valid JSON: the text ends too early";
    }
    throw NetworkFileError(name_ + ": " + lineAndColumn(text_, position) + ": " + problem);
  }

 private:
  const std::string& text_;
  const std::string& name_;
  DocumentPlace place_;
};

}  // namespace

json parseDocument(const std::string& text, const std::string& name) {
  json document;
  LocatingParser parser(document, text, name);
  json::sax_parse(text, &parser);
  return document;
}

}  // namespace orvane::sim
