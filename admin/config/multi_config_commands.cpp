#include "admin/config/multi_config_commands.h"

#include "protocol/catalogue.h"

namespace orvane::admin {

std::string alarmModeBody(int alarmMode) {
  switch (alarmMode) {
    case 1:
      return "EAM";
    case 2:
      return "EAL";
    default:
      return "DA";
  }
}

std::optional<std::string> engineeringBody(std::string_view head,
                                           std::initializer_list<double> values, int typeCode) {
  std::string body(head);
  for (double value : values) {
    if (!protocol::engineeringTextHolds(value, typeCode)) return std::nullopt;
    body += protocol::engineeringText(value, typeCode);
  }
  return body;
}

}  // namespace orvane::admin
