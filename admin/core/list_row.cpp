#include "admin/core/list_row.h"

#include "admin/core/admin_context.h"
#include "protocol/catalogue.h"
#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

using protocol::ModuleFamily;

const std::string kGap = "   ";
const std::string kNoLabel(9, ' ');

std::string rightAligned(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string leftAligned(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

// The 9-character format column of the analog families. A TypeCode without
// a unit keeps the column width with blanks.
std::string formatLabel(const ModuleEntry& entry, ModuleFamily family) {
  switch (entry.DataFormat) {
    case 0:
      return "   " + leftAligned(protocol::unitField(entry.TypeCode, 0), 4) + "  ";
    case 1:
      return "   %     ";
    case 2:
      return family == ModuleFamily::AnalogOutput ? "   HEX   " : "   2's   ";
    case 3:
      return family == ModuleFamily::AnalogOutput ? "" : "   Ohms  ";
    default:
      return "";
  }
}

std::string converterPart(const ModuleEntry& entry) {
  std::string parity;
  switch (entry.ParityCode) {
    case 0:
    case 2:
      parity = "  n,";
      break;
    case 1:
      parity = "  o,";
      break;
    default:
      parity = "  e,";
  }
  return kGap + parity + std::to_string(entry.DataFormat + 5) + "," +
         std::to_string(entry.StopBitsCode + 1) + "  " + kGap +
         (entry.InterfaceCode != 0 ? "RS-485" : "RS-422");
}

std::string familyPart(const ModuleEntry& entry) {
  const ModuleFamily family = protocol::familyOf(entry.ModelName);
  switch (family) {
    case ModuleFamily::DigitalIO:
      return kGap + kNoLabel + kGap + "Digital I/O";
    case ModuleFamily::MultiFunction:
    case ModuleFamily::AnalogInput:
    case ModuleFamily::AnalogOutput:
      return kGap + formatLabel(entry, family) + kGap + protocol::typeCodeName(entry.TypeCode);
    case ModuleFamily::CounterFrequency:
      return kGap + kNoLabel + kGap + protocol::typeCodeName(entry.TypeCode);
    case ModuleFamily::Converter:
      return converterPart(entry);
    case ModuleFamily::Unknown:
      break;
  }
  return kGap + kNoLabel + kGap + "Unknown Module";
}

}  // namespace

std::string buildListRow(const AdminContext& context, int entryIndex) {
  const auto& entry = context.ModuleList.at(static_cast<std::size_t>(entryIndex));
  std::string row = entryIndex == context.InitModuleIndex ? "*" : " ";
  row += rightAligned(std::to_string(entry.Address), 3) + "(" +
         protocol::hex2(static_cast<std::uint32_t>(entry.Address), 2) + "H)";
  row += kGap + modelNameField(entry.ModelName);
  row += "    " + leftAligned(std::to_string(protocol::baudRateOf(entry.BaudCode)), 6);
  return row + familyPart(entry);
}

}  // namespace orvane::admin
