#include "tui/undo_history.h"

#include "host/host_error.h"

namespace tezlo {
namespace {

void Refocus(MemoryHost& host, Focus focus) {
  try {
    if (focus.book == 0) return;
    host.ActivateWorkbook(focus.book);
    host.GetWorkbook(focus.book).ActivateSheet(focus.sheet);
  } catch (const HostError&) {
    // A workbook or sheet that is gone leaves the focus where it is.
  }
}

}  // namespace

void Revert(MemoryHost& host, UndoEntry& entry, bool toBefore) {
  StepList inverse;
  inverse.reserve(entry.steps.size());
  for (auto it = entry.steps.rbegin(); it != entry.steps.rend(); ++it)
    inverse.push_back((*it)->Apply(host));
  entry.steps = std::move(inverse);
  Refocus(host, toBefore ? entry.before : entry.after);
}

void UndoHistory::Push(UndoEntry entry) {
  if (entry.steps.empty()) return;
  redo_.clear();
  undo_.push_back(std::move(entry));
  if (undo_.size() > kDepth) undo_.pop_front();
}

std::optional<std::string> UndoHistory::Undo(MemoryHost& host) {
  if (undo_.empty()) return std::nullopt;
  UndoEntry entry = std::move(undo_.back());
  undo_.pop_back();
  Revert(host, entry, true);
  std::string label = entry.label;
  redo_.push_back(std::move(entry));
  return label;
}

std::optional<std::string> UndoHistory::Redo(MemoryHost& host) {
  if (redo_.empty()) return std::nullopt;
  UndoEntry entry = std::move(redo_.back());
  redo_.pop_back();
  Revert(host, entry, false);
  std::string label = entry.label;
  undo_.push_back(std::move(entry));
  return label;
}

void UndoHistory::Clear() {
  undo_.clear();
  redo_.clear();
}

}  // namespace tezlo
