#include "admin/diag/diag_text.h"

#include "protocol/numbers.h"

namespace orvane::admin {

QString addressCaption(int address) {
  return QStringLiteral("%1 (%2H)")
      .arg(address)
      .arg(QString::fromStdString(protocol::hex2(static_cast<std::uint32_t>(address))));
}

}  // namespace orvane::admin
