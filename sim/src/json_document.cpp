#include "json_document.h"

#include <algorithm>
#include <string_view>
#include <type_traits>

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

// Builds the document like the library's own parser, but keeps the place of
// an error, which the library's out-of-range error ("1e999") does not carry.
class LocatingParser : public nlohmann::detail::json_sax_dom_parser<json> {
 public:
  LocatingParser(json& root, const std::string& text, const std::string& name)
      : json_sax_dom_parser(root), text_(text), name_(name) {}

  // The position is that of the last character read.
  template <class Exception>
  bool parse_error(std::size_t position, const std::string& token, const Exception& error) {
    const std::string_view what = error.what();
    std::string problem = "not valid JSON";
    if (std::is_same_v<Exception, json::out_of_range>) {
      problem = "the number " + token + " is out of range";
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
};

}  // namespace

json parseDocument(const std::string& text, const std::string& name) {
  json document;
  LocatingParser parser(document, text, name);
  json::sax_parse(text, &parser);
  return document;
}

}  // namespace orvane::sim
