#include "admin/terminal/terminal_addressing.h"

#include "admin/core/admin_context.h"
#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

constexpr int kUnlistedBaudCode = 3;  // 9600 bps, also the initialization state's rate

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int listedBaudCode(const AdminContext& context, int address) {
  for (int i = 0; i < context.ModuleCount && i < kModuleListSize; ++i) {
    const auto& entry = context.ModuleList[static_cast<std::size_t>(i)];
    if (entry.Address == address) return entry.BaudCode;
  }
  return kUnlistedBaudCode;
}

}  // namespace

std::optional<int> commandAddress(std::string_view command) {
  const std::string_view text = protocol::trimmed(command);
  if (text.size() < 3 || !isHexDigit(text[1]) || !isHexDigit(text[2])) return std::nullopt;
  return protocol::hexDigitValue(text[1]) * 16 + protocol::hexDigitValue(text[2]);
}

LinkParameters terminalLink(const AdminContext& context, std::string_view command,
                            bool checksumEnable, AddressingRule rule) {
  const int checksumFlag = checksumEnable ? 1 : 0;
  const auto address = commandAddress(command);
  if (!address) return {checksumFlag, kUnlistedBaudCode};
  if (*address == 0) return {rule == AddressingRule::Typed ? 0 : checksumFlag, kUnlistedBaudCode};
  return {checksumFlag, listedBaudCode(context, *address)};
}

}  // namespace orvane::admin
