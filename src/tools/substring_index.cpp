#include "tools/substring_index.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>

#include "host/host_error.h"

namespace tezlo {
namespace {

// The automaton's trie is numbered breadth first, and the children of every node are
// consecutive nodes sorted by the character on their incoming edge: finding a child is a binary
// search over a short, contiguous run, with no hashing and no per-node allocation.
class NeedleAutomaton {
 public:
  explicit NeedleAutomaton(const std::vector<std::u32string>& needles)
      : needleNode_(needles.size()) {
    BuildTrie(needles);
    BuildDenseTables();
    LinkFailures();
  }

  // Marks every node whose text occurs in `text`.
  void Scan(const std::u32string& text) {
    uint32_t state = kRoot;
    for (const char32_t c : text) {
      for (;;) {
        const uint32_t next = Child(state, c);
        if (next != kNone) {
          state = next;
          break;
        }
        if (state == kRoot) break;
        state = nodes_[state].fail;
      }
      // Every suffix of the text read so far that is a trie node lies on the failure chain.
      // A marked node's whole chain is marked already, so the walk stops there.
      for (uint32_t node = state; marked_[node] == 0; node = nodes_[node].fail) marked_[node] = 1;
    }
  }

  void MarkEmptyText() { marked_[kRoot] = 1; }

  bool Found(size_t needle) const { return marked_[needleNode_[needle]] != 0; }

 private:
  static constexpr uint32_t kRoot = 0;
  static constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();
  static constexpr char32_t kDenseWidth = 128;
  static constexpr uint32_t kDenseFrom = 8;

  struct Node {
    uint32_t childBegin = 0;  // its children are the nodes childBegin .. childEnd - 1
    uint32_t childEnd = 0;
    uint32_t fail = 0;
    uint32_t dense = kNone;  // its row of dense_, if any
  };

  uint32_t Child(uint32_t node, char32_t c) const {
    const Node& n = nodes_[node];
    if (n.dense != kNone && c < kDenseWidth) return dense_[size_t{n.dense} * kDenseWidth + c];
    const char32_t* first = edge_.data() + n.childBegin;
    const char32_t* last = edge_.data() + n.childEnd;
    const char32_t* it = std::lower_bound(first, last, c);
    return (it != last && *it == c) ? static_cast<uint32_t>(it - edge_.data()) : kNone;
  }

  // Nodes with many children (the root and the levels just below it, which every failure walk
  // passes through) also get a direct table for the first 128 characters.
  void BuildDenseTables() {
    for (uint32_t node = 0; node < nodes_.size(); ++node) {
      Node& n = nodes_[node];
      if (n.childEnd - n.childBegin < kDenseFrom) continue;
      n.dense = static_cast<uint32_t>(dense_.size() / kDenseWidth);
      dense_.resize(dense_.size() + kDenseWidth, kNone);
      for (uint32_t child = n.childBegin; child < n.childEnd && edge_[child] < kDenseWidth;
           ++child) {
        dense_[size_t{n.dense} * kDenseWidth + edge_[child]] = child;
      }
    }
  }

  // Sorting the needles makes every node's needles one consecutive run whose children split it
  // into consecutive runs in character order; visiting the runs breadth first numbers the nodes.
  void BuildTrie(const std::vector<std::u32string>& needles) {
    size_t total = 1;
    for (const auto& n : needles) total += n.size();
    if (total >= kNone) throw HostError("Out of memory");

    std::vector<uint32_t> order(needles.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(),
              [&](uint32_t a, uint32_t b) { return needles[a] < needles[b]; });

    // The needles again in sorted order, packed into one buffer: the level-by-level walk below
    // then reads memory in order instead of jumping between the needles' own allocations.
    std::u32string packed;
    packed.reserve(total);
    std::vector<uint32_t> start(order.size() + 1, 0);
    for (size_t k = 0; k < order.size(); ++k) {
      start[k] = static_cast<uint32_t>(packed.size());
      packed += needles[order[k]];
    }
    start[order.size()] = static_cast<uint32_t>(packed.size());
    const auto length = [&](uint32_t k) { return start[k + 1] - start[k]; };

    struct Run {
      uint32_t lo;
      uint32_t hi;
      uint32_t depth;
    };
    std::vector<Run> runs;
    runs.push_back(Run{0, static_cast<uint32_t>(order.size()), 0});
    edge_.push_back(0);
    nodes_.emplace_back();
    for (size_t node = 0; node < runs.size(); ++node) {
      const Run run = runs[node];  // copied: push_back below may move the vector
      uint32_t k = run.lo;
      while (k < run.hi && length(k) == run.depth)
        needleNode_[order[k++]] = static_cast<uint32_t>(node);
      nodes_[node].childBegin = static_cast<uint32_t>(runs.size());
      while (k < run.hi) {
        const char32_t c = packed[start[k] + run.depth];
        uint32_t end = k + 1;
        while (end < run.hi && packed[start[end] + run.depth] == c) ++end;
        runs.push_back(Run{k, end, run.depth + 1});
        edge_.push_back(c);
        nodes_.emplace_back();
        k = end;
      }
      nodes_[node].childEnd = static_cast<uint32_t>(runs.size());
    }
    marked_.assign(runs.size(), 0);
  }

  // Failure link of a node: the node of the longest proper suffix of its text that is in the
  // trie. Breadth-first order guarantees the parent's link is known first.
  void LinkFailures() {
    for (uint32_t node = 0; node < nodes_.size(); ++node) {
      for (uint32_t child = nodes_[node].childBegin; child < nodes_[node].childEnd; ++child) {
        if (node == kRoot) continue;  // the root's children fall back to the root
        const char32_t c = edge_[child];
        uint32_t f = nodes_[node].fail;
        for (;;) {
          const uint32_t next = Child(f, c);
          if (next != kNone) {
            nodes_[child].fail = next;
            break;
          }
          if (f == kRoot) break;
          f = nodes_[f].fail;
        }
      }
    }
  }

  std::vector<uint32_t> needleNode_;  // needle index -> the node its text ends at
  std::vector<Node> nodes_;
  std::vector<char32_t> edge_;   // node -> character on its incoming edge
  std::vector<uint32_t> dense_;  // rows of kDenseWidth children, kNone where none
  std::vector<uint8_t> marked_;
};

}  // namespace

std::vector<bool> FoundInAny(const std::vector<std::u32string>& needles,
                             const std::vector<std::u32string>& haystacks) {
  std::vector<bool> found(needles.size(), false);
  if (needles.empty() || haystacks.empty()) return found;
  NeedleAutomaton automaton(needles);
  automaton.MarkEmptyText();
  for (const auto& text : haystacks) automaton.Scan(text);
  for (size_t i = 0; i < needles.size(); ++i) found[i] = automaton.Found(i);
  return found;
}

std::vector<bool> FoundInAnyByScan(const std::vector<std::u32string>& needles,
                                   const std::vector<std::u32string>& haystacks) {
  std::vector<bool> found(needles.size(), false);
  for (size_t i = 0; i < needles.size(); ++i) {
    found[i] = std::any_of(haystacks.begin(), haystacks.end(), [&](const std::u32string& text) {
      return text.find(needles[i]) != std::u32string::npos;
    });
  }
  return found;
}

}  // namespace tezlo
