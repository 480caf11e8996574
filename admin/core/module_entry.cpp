#include "admin/core/module_entry.h"

namespace orvane::admin {

std::string modelNameField(std::string_view name) {
  std::string field(name.substr(0, kModelNameWidth));
  field.resize(kModelNameWidth, ' ');
  return field;
}

}  // namespace orvane::admin
