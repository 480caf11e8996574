#include "protocol/catalogue.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "protocol/numbers.h"

namespace orvane::protocol {

namespace {

struct TypeEntry {
  int code;
  const char* name;
  float fullScale;
};

constexpr TypeEntry kTypes[] = {
    {0x00, "+/- 15mV", 15},       {0x01, "+/- 50mV", 50},         {0x02, "+/- 100mV", 100},
    {0x03, "+/- 500mV", 500},     {0x04, "+/- 1V", 1},            {0x05, "+/- 2.5V", 2.5f},
    {0x06, "+/- 20mA", 20},       {0x08, "+/- 10V", 10},          {0x09, "+/- 5V", 5},
    {0x0A, "+/- 1V", 1},          {0x0B, "+/- 500mV", 500},       {0x0C, "+/- 150mV", 150},
    {0x0D, "+/- 20mA", 20},       {0x0E, "T/C Type J", 760},      {0x0F, "T/C Type K", 1370},
    {0x10, "T/C Type T", 400},    {0x11, "T/C Type E", 1000},     {0x12, "T/C Type R", 1750},
    {0x13, "T/C Type S", 1750},   {0x14, "T/C Type B", 1800},     {0x15, "T/C Type N", 1300},
    {0x16, "T/C Type C", 2320},   {0x20, "Pt, +/- 100C", 100},    {0x21, "Pt, 0 to 100C", 100},
    {0x22, "Pt, 0 to 200C", 200}, {0x23, "Pt, 0 to 600C", 600},   {0x24, "Pt, +/- 100C", 100},
    {0x25, "Pt, 0 to 100C", 100}, {0x26, "Pt, 0 to 200C", 200},   {0x27, "Pt, 0 to 600C", 600},
    {0x28, "Ni, +/- 100C", 100},  {0x29, "Ni, -120~100C", 100},   {0x2A, "Cu, 0~60 ohms", 60},
    {0x30, "0 to 20mA", 20},      {0x31, "4 to 20mA", 20},        {0x32, "0 to 10V", 10},
    {0x33, "+/- 10V", 0},         {0x50, "Counter", 0},           {0x51, "Frequency", 0},
};

const TypeEntry* findType(int code) {
  for (const auto& t : kTypes)
    if (t.code == code) return &t;
  return nullptr;
}

std::string padded(std::string_view text, std::size_t width) {
  std::string out(text.substr(0, width));
  out.resize(width, ' ');
  return out;
}

struct Span {
  int first;
  int last;
};

Span spanOf(std::string_view key) {
  if (key == "213" || key == "234") return {0x00, 0x16};
  if (key == "215" || key == "228" || key == "231") return {0x08, 0x0D};
  if (key == "226") return {0x20, 0x2A};
  if (key == "342") return {0x30, 0x32};
  if (key == "347") return {0x33, 0x33};
  return {0x00, 0x00};
}

bool in(int v, int lo, int hi) { return v >= lo && v <= hi; }

}  // namespace

std::string familyKey(std::string_view modelName) {
  std::string_view name = trimmed(modelName);
  if (name.size() <= 1) return {};
  return std::string(name.substr(1, 3));
}

ModuleFamily familyOf(std::string_view modelName) {
  std::string key = familyKey(modelName);
  for (const char* k : {"451", "453", "455", "456", "458", "469", "472", "474", "476"})
    if (key == k) return ModuleFamily::DigitalIO;
  if (key == "213" || key == "215" || key == "228") return ModuleFamily::MultiFunction;
  if (key == "342" || key == "347") return ModuleFamily::AnalogOutput;
  if (key == "226" || key == "231" || key == "234") return ModuleFamily::AnalogInput;
  if (key == "586") return ModuleFamily::CounterFrequency;
  if (key == "917" || key == "912") return ModuleFamily::Converter;
  return ModuleFamily::Unknown;
}

int channelCount(std::string_view modelName) {
  std::string key = familyKey(modelName);
  if (key == "213" || key == "215" || key == "228") return 1;
  if (key == "226") return 3;
  if (key == "231" || key == "234") return 8;
  return 0;
}

std::string typeCodeName(int typeCode) { return padded(typeCodeNameTrimmed(typeCode), 16); }

std::string typeCodeNameTrimmed(int typeCode) {
  const TypeEntry* t = findType(typeCode);
  return t ? t->name : "";
}

float fullScale(int typeCode) {
  const TypeEntry* t = findType(typeCode);
  return t ? t->fullScale : 0.0f;
}

std::string unitOf(int t, int f) {
  if (in(t, 0x00, 0x03) || t == 0x0B || t == 0x0C) return "mV";
  if (t == 0x04 || t == 0x05 || t == 0x08 || t == 0x09 || t == 0x0A || t == 0x32 || t == 0x33)
    return "V";
  if (t == 0x06 || t == 0x0D || t == 0x30 || t == 0x31) return "mA";
  if (in(t, 0x0E, 0x16)) return "C";
  if (in(t, 0x20, 0x29)) return f == 3 ? "ohms" : "C";
  if (t == 0x2A) return "ohms";
  return {};
}

std::string unitField(int typeCode, int dataFormat) {
  std::string unit = unitOf(typeCode, dataFormat);
  return unit.empty() ? unit : padded(unit, 4);
}

bool typeCodeValid(std::string_view modelName, int t) {
  std::string key = familyKey(modelName);
  if (key == "213" || key == "234") return in(t, 0x00, 0x06) || in(t, 0x0E, 0x16);
  if (key == "215" || key == "228" || key == "231") return in(t, 0x08, 0x0D);
  if (key == "226") return in(t, 0x20, 0x2A);
  if (key == "342") return in(t, 0x30, 0x32);
  if (key == "347") return t == 0x33;
  return false;
}

bool dataFormatValid(std::string_view modelName, int f) {
  std::string key = familyKey(modelName);
  if (key == "213" || key == "215" || key == "228" || key == "342") return in(f, 0, 2);
  if (key == "226") return f == 0 || f == 3;
  if (key == "231" || key == "234" || key == "347") return f == 0;
  return false;
}

int rangeSearch(std::string_view modelName, std::string_view rangeName) {
  Span span = spanOf(familyKey(modelName));
  std::string_view wanted = trimmed(rangeName);
  for (int code = span.first; code <= span.last; ++code)
    if (typeCodeNameTrimmed(code) == wanted) return code;
  return span.last + 1;
}

int baudRateOf(int baudCode) {
  if (in(baudCode, 0, 5)) return 1200 << baudCode;
  if (baudCode == 6) return 115200;
  return 57600;
}

int baudCodeOf(int baudRate) {
  for (int code = 0; code < 8; ++code)
    if (baudRateOf(code) == baudRate) return code;
  return 0;
}

const std::array<const char*, 8>& baudRateTexts() {
  static const std::array<const char*, 8> texts = {"1200",  "2400",  "4800",   "9600",
                                                   "19200", "38400", "115200", "57600"};
  return texts;
}

std::string dataFormatName(int dataFormat) {
  static const char* const names[] = {"Engineering Units", "% of FSR", "Two's complement",
                                      "Ohms"};
  return padded(in(dataFormat, 0, 3) ? names[dataFormat] : "", 17);
}

std::string alarmModeName(int alarmMode) {
  static const char* const names[] = {"Disabled", "Momentary", "Latch"};
  return padded(in(alarmMode, 0, 2) ? names[alarmMode] : "", 10);
}

namespace {

struct EngineeringPattern {
  const char* digits;
  double limit;
};

EngineeringPattern engineeringPattern(int t) {
  if (t == 0x0F || in(t, 0x11, 0x16)) return {"0000.0", 10000};
  if (t == 0x02 || t == 0x03 || t == 0x0B || t == 0x0C || t == 0x0E || t == 0x10 ||
      in(t, 0x20, 0x2A))
    return {"000.00", 1000};
  if (t == 0x00 || t == 0x01 || t == 0x06 || t == 0x08 || t == 0x0D) return {"00.000", 100};
  if (t == 0x04 || t == 0x05 || t == 0x09 || t == 0x0A) return {"0.0000", 10};
  return {"00000", 100000};
}

}  // namespace

std::string engineeringText(double value, int t) {
  const auto [pattern, limit] = engineeringPattern(t);
  const char* sign = value >= 0 ? "+" : "-";
  double a = std::fabs(value);
  if (a > limit) {
    double whole = std::floor(a);
    a = std::fmod(whole, limit) + (a - whole);
  }
  return sign + formatPattern(a, pattern);
}

double engineeringLimit(int typeCode) { return engineeringPattern(typeCode).limit; }

bool engineeringTextHolds(double value, int typeCode) {
  return std::isfinite(value) && std::fabs(value) <= engineeringLimit(typeCode);
}

std::string engineeringText(std::string_view valueText, int typeCode) {
  return engineeringText(decimalValue(valueText), typeCode);
}

std::string readingToEngineering(std::string_view reading, int typeCode, int dataFormat) {
  switch (dataFormat) {
    case 0:
    case 3:
      return plainDecimal(decimalValue(reading));
    case 1:
      return formatPattern(decimalValue(reading) * fullScale(typeCode) / 100.0, "###0.0000");
    case 2: {
      auto raw = static_cast<std::int16_t>(static_cast<std::uint16_t>(hexValue(reading) & 0xFFFF));
      return formatPattern(raw * static_cast<double>(fullScale(typeCode)) / 32767.0, "###0.0000");
    }
    default:
      return {};
  }
}

}  // namespace orvane::protocol
