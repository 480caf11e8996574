// The COM.CFG parser: it only ever throws ComCfgError, and what it accepts
// reads back the same once written in the file's own format.
#include <string>

#include "admin/core/com_config.h"
#include "fuzz_check.h"

namespace {

using namespace orvane::admin;
using orvane::fuzz::require;

std::string fileOf(const ComCfgContent& content) {
  std::string text = std::to_string(content.timeout) + "\r\n";
  text += std::to_string(content.port) + "\r\nn,8,1\r\n";
  for (int rate : content.baudRates) text += std::to_string(rate) + "\r\n";
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ComCfgContent content;
  try {
    content = parseComCfg(std::string(orvane::fuzz::textOf(data, size)));
  } catch (const ComCfgError&) {
    return 0;
  }
  require(content.timeout >= -32768 && content.timeout <= 32767, "the time-out is 16-bit");
  require(content.port >= -32768 && content.port <= 32767, "the port is 16-bit");
  const ComCfgContent again = parseComCfg(fileOf(content));
  require(again.timeout == content.timeout && again.port == content.port &&
              again.baudRates == content.baudRates,
          "the content reads back");
  return 0;
}
