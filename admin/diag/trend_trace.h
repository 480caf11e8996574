// The samples of one trend trace: a ring of fixed size, so polling for hours
// holds no more memory than polling for a minute.
#pragma once

#include <optional>
#include <vector>

namespace orvane::admin {

struct TrendSample {
  double t;
  double value;  // NaN: a failed reading
};

class TrendTrace {
 public:
  // A minute at 20 samples a second, twice the diagnostic windows' poll rate.
  static constexpr int kCapacity = 1200;

  TrendTrace();

  // False (and nothing kept) when the sample is older than the newest one or
  // its time is not finite; the oldest sample makes room when the ring is full.
  bool add(double t, double value);
  void clear();

  int size() const { return m_size; }
  // Oldest first: at(0) is the oldest sample held, at(size() - 1) the newest.
  const TrendSample& at(int index) const;
  std::optional<double> newestTime() const;
  // The index of the first sample at or after t (size() when there is none).
  int firstAtOrAfter(double t) const;

  bool visible() const { return m_visible; }
  void setVisible(bool visible) { m_visible = visible; }

 private:
  std::vector<TrendSample> m_ring;
  int m_oldest = 0;
  int m_size = 0;
  bool m_visible = true;
};

}  // namespace orvane::admin
