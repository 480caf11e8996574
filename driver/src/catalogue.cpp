// The module catalogue as programs see it: the family and channel count of a
// model, the range name and unit of a type code. Pure look-ups: no port, no
// lock, no failure text.
#include "protocol/catalogue.h"

#include <exception>
#include <string>

#include "orvio.h"
#include "reply_fields.h"

namespace protocol = orvane::protocol;
using orvane::driver::put;
using orvane::driver::putText;

extern "C" {

uint16_t OV_GetModelInfo(const char* modelName, uint16_t* family, uint16_t* channels) {
  if (!modelName) return OV_REFUSED;
  try {
    put(family, static_cast<int>(protocol::familyOf(modelName)));
    put(channels, protocol::channelCount(modelName));
    return OV_SUCCESS;
  } catch (const std::exception&) {
    return OV_REFUSED;
  }
}

uint16_t OV_GetTypeInfo(uint16_t typeCode, uint16_t dataFormat, char* name, char* unit) {
  try {
    putText(name, protocol::typeCodeNameTrimmed(typeCode));
    putText(unit, protocol::unitOf(typeCode, dataFormat));
    return OV_SUCCESS;
  } catch (const std::exception&) {
    return OV_REFUSED;
  }
}

}  // extern "C"
