#include "admin/core/line_monitor_log.h"

namespace orvane::admin {

namespace {

std::optional<int> hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return std::nullopt;
}

// The leads of the commands a module takes.
bool commandLead(char c) { return c == '$' || c == '#' || c == '%' || c == '@' || c == '~'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<int> frameAddress(std::string_view frame) {
  if (frame.size() < 3 || !commandLead(frame[0])) return std::nullopt;
  const auto high = hexDigit(frame[1]);
  const auto low = hexDigit(frame[2]);
  if (!high || !low) return std::nullopt;
  return *high * 16 + *low;
}

AddressFilter parseAddressFilter(std::string_view text) {
  text = trimmed(text);
  if (text.empty()) return {};
  if (text.size() > 2) return {false, std::nullopt};
  int address = 0;
  for (char c : text) {
    const auto digit = hexDigit(c);
    if (!digit) return {false, std::nullopt};
    address = address * 16 + *digit;
  }
  return {true, address};
}

const MonitorLine& LineMonitorLog::add(const serial::TraceEvent& event) {
  using serial::TraceKind;
  MonitorLine line{serial::formatTraceLine(event), std::nullopt};
  auto known = lastAddress_.find(event.port);
  switch (event.kind) {
    case TraceKind::Sent:
      line.address = frameAddress(event.bytes);
      if (known == lastAddress_.end())
        lastAddress_.emplace(event.port, line.address);
      else
        known->second = line.address;
      break;
    case TraceKind::Received:
    case TraceKind::TimedOut:
    case TraceKind::ChecksumFailed:
      if (known != lastAddress_.end()) line.address = known->second;
      break;
    case TraceKind::Purged:
    case TraceKind::BaudChanged:
      break;
  }
  while (!lines_.empty() && lines_.size() >= capacity_) lines_.pop_front();
  lines_.push_back(std::move(line));
  return lines_.back();
}

// The addresses of the last frames stay: a reply that comes after the clear
// still belongs to its module.
void LineMonitorLog::clear() { lines_.clear(); }

std::vector<std::string> LineMonitorLog::shown(std::optional<int> filter) const {
  std::vector<std::string> texts;
  for (const auto& line : lines_)
    if (shows(line, filter)) texts.push_back(line.text);
  return texts;
}

}  // namespace orvane::admin
