#include "admin/diag/trend_trace.h"

#include <cmath>

namespace orvane::admin {

TrendTrace::TrendTrace() : m_ring(kCapacity) {}

bool TrendTrace::add(double t, double value) {
  if (!std::isfinite(t)) return false;
  if (m_size > 0 && t < at(m_size - 1).t) return false;
  if (m_size < kCapacity) {
    m_ring[(m_oldest + m_size) % kCapacity] = {t, value};
    ++m_size;
  } else {
    m_ring[m_oldest] = {t, value};
    m_oldest = (m_oldest + 1) % kCapacity;
  }
  return true;
}

void TrendTrace::clear() {
  m_oldest = 0;
  m_size = 0;
}

const TrendSample& TrendTrace::at(int index) const {
  return m_ring[(m_oldest + index) % kCapacity];
}

std::optional<double> TrendTrace::newestTime() const {
  if (m_size == 0) return std::nullopt;
  return at(m_size - 1).t;
}

int TrendTrace::firstAtOrAfter(double t) const {
  int low = 0;
  int high = m_size;
  while (low < high) {
    int middle = low + (high - low) / 2;
    if (at(middle).t < t) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
}

}  // namespace orvane::admin
