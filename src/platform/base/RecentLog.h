// A log that keeps only its latest entries: what the recording services (message boxes shown,
// sounds played, documents opened) remember. They are the default backends of a headless process,
// so a program that runs for hours (a monkey, a script host) would otherwise keep every box it was
// ever asked to show. Reads like a vector of the kept entries, oldest first; total() counts every
// entry added since the log was made or last cleared.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace zxp {

template <class T, size_t Keep = 1024>
class RecentLog {
 public:
  static constexpr size_t kKeep = Keep;

  void push_back(T entry) {
    // Trimmed by halves so that adding stays amortised constant: between Keep and 2 * Keep - 1
    // entries are kept once the log has overflowed.
    if (entries_.size() >= 2 * Keep - 1) entries_.erase(entries_.begin(), entries_.begin() + static_cast<ptrdiff_t>(Keep));
    entries_.push_back(std::move(entry));
    ++total_;
  }
  void clear() {
    entries_.clear();
    total_ = 0;
  }

  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  size_t total() const { return total_; }
  const T& operator[](size_t i) const { return entries_[i]; }
  const T& front() const { return entries_.front(); }
  const T& back() const { return entries_.back(); }
  auto begin() const { return entries_.begin(); }
  auto end() const { return entries_.end(); }

 private:
  std::vector<T> entries_;
  size_t total_ = 0;
};

}  // namespace zxp
