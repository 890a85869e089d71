// The undo and redo lists of the workbench: each entry is one command or one cell edit.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "tui/journaling_host.h"

namespace tezlo {

class UndoHistory {
 public:
  static constexpr size_t kDepth = 100;

  // Adds a finished command; an entry without steps is dropped. Clears the redo list.
  void Push(UndoEntry entry);
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // Reverts the last entry and returns its label; nothing when there is none.
  std::optional<std::string> Undo(MemoryHost& host);
  std::optional<std::string> Redo(MemoryHost& host);
  void Clear();

 private:
  std::deque<UndoEntry> undo_;
  std::deque<UndoEntry> redo_;
};

// Applies the entry's steps last to first and turns it into the entry that reverts that.
void Revert(MemoryHost& host, UndoEntry& entry, bool toBefore);

}  // namespace tezlo
