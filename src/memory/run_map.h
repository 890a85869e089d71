// Values assigned to runs of rows or columns (widths, heights, whole-column formats): one entry
// per run of equal values, so formatting a million rows costs one entry. Keys not covered by a
// run have no value (the caller's default).
#pragma once

#include <cstdint>
#include <iterator>
#include <map>
#include <utility>
#include <vector>
#include <algorithm>

namespace tezlo {

template <class T>
class RunMap {
 public:
  struct Run {
    int32_t last;
    T value;
  };

  // The value at `key`, or nullptr where no run covers it.
  const T* Find(int32_t key) const {
    auto it = runs_.upper_bound(key);
    if (it == runs_.begin()) return nullptr;
    --it;
    return key <= it->second.last ? &it->second.value : nullptr;
  }

  void Assign(int32_t first, int32_t last, const T& value) {
    Clear(first, last);
    auto it = runs_.emplace(first, Run{last, value}).first;
    // Join with equal neighbours that touch.
    if (it != runs_.begin()) {
      auto prev = std::prev(it);
      if (prev->second.last + 1 == first && prev->second.value == value) {
        prev->second.last = last;
        runs_.erase(it);
        it = prev;
      }
    }
    auto next = std::next(it);
    if (next != runs_.end() && next->first == it->second.last + 1 && next->second.value == value) {
      it->second.last = next->second.last;
      runs_.erase(next);
    }
  }

  // Removes the values of first..last.
  void Clear(int32_t first, int32_t last) {
    SplitAt(first);
    if (last < INT32_MAX) SplitAt(last + 1);
    runs_.erase(runs_.lower_bound(first), runs_.upper_bound(last));
  }

  // Removes first..last and moves every later run back by their count (a row or column
  // deletion).
  void EraseAndShift(int32_t first, int32_t last) {
    Clear(first, last);
    const int32_t n = last - first + 1;
    std::map<int32_t, Run> moved;
    for (auto it = runs_.upper_bound(last); it != runs_.end();) {
      Run r = it->second;
      r.last -= n;
      moved.emplace(it->first - n, std::move(r));
      it = runs_.erase(it);
    }
    for (auto& [key, run] : moved) runs_.emplace(key, std::move(run));
    // The runs on both sides of the gap may now touch with equal values.
    auto it = runs_.lower_bound(first);
    if (it != runs_.end() && it != runs_.begin()) {
      auto prev = std::prev(it);
      if (prev->second.last + 1 == it->first && prev->second.value == it->second.value) {
        prev->second.last = it->second.last;
        runs_.erase(it);
      }
    }
  }

  // Moves every run from `key` on by `delta` (> 0) keys, splitting the run that covers `key`
  // (an insertion); runs pushed past `limit` are cut there.
  void ShiftFrom(int32_t key, int32_t delta, int32_t limit) {
    SplitAt(key);
    std::map<int32_t, Run> moved;
    for (auto it = runs_.lower_bound(key); it != runs_.end();) {
      const int64_t first = int64_t{it->first} + delta;
      const int64_t last = std::min<int64_t>(int64_t{it->second.last} + delta, limit);
      if (first <= limit)
        moved.emplace(static_cast<int32_t>(first),
                      Run{static_cast<int32_t>(last), it->second.value});
      it = runs_.erase(it);
    }
    runs_.insert(moved.begin(), moved.end());
  }

  // The runs within first..last, cut to it, in order.
  std::vector<std::pair<int32_t, Run>> Slice(int32_t first, int32_t last) const {
    std::vector<std::pair<int32_t, Run>> out;
    auto it = runs_.upper_bound(first);
    if (it != runs_.begin()) --it;
    for (; it != runs_.end() && it->first <= last; ++it) {
      if (it->second.last < first) continue;
      out.emplace_back(std::max(it->first, first),
                       Run{std::min(it->second.last, last), it->second.value});
    }
    return out;
  }

  bool Empty() const { return runs_.empty(); }
  size_t Size() const { return runs_.size(); }
  // Runs by first key: (first, {last, value}).
  const std::map<int32_t, Run>& Runs() const { return runs_; }

 private:
  // Makes `key` the first key of a run if a run covers it.
  void SplitAt(int32_t key) {
    auto it = runs_.upper_bound(key);
    if (it == runs_.begin()) return;
    --it;
    if (it->first == key || it->second.last < key) return;
    Run tail{it->second.last, it->second.value};
    it->second.last = key - 1;
    runs_.emplace(key, std::move(tail));
  }

  std::map<int32_t, Run> runs_;
};

}  // namespace tezlo
