// Deflates parts on the machine's cores while the caller goes on building the next ones. Each
// part is cut into pieces deflated on their own, every piece but the last ending on a byte
// boundary (a sync flush), so that the pieces joined are one raw deflate stream; the part's
// CRC-32 is combined from its pieces'.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tezlo {

class ParallelDeflate {
 public:
  // `level` is zlib's; `pieceBytes` the size of a piece (tests make it small).
  explicit ParallelDeflate(int level, size_t pieceBytes = size_t{1} << 20);
  // Stops the workers; work not collected is dropped.
  ~ParallelDeflate();
  ParallelDeflate(const ParallelDeflate&) = delete;
  ParallelDeflate& operator=(const ParallelDeflate&) = delete;

  // Starts deflating `data`, which must stay alive and unchanged until its Take; returns the
  // ticket Take wants.
  size_t Start(std::string_view data);
  // A part given in several pieces as it is made: Open returns its ticket, each Append starts
  // deflating the next piece (kept alive and unchanged until Take), and Close ends the part.
  size_t Open();
  void Append(size_t ticket, std::string_view data);
  void Close(size_t ticket);

  struct Packed {
    std::string bytes;  // a raw deflate stream
    uint32_t crc = 0;
    uint64_t size = 0;  // of the data deflated
  };
  // Waits for the part's pieces, working on queued pieces meanwhile. std::bad_alloc when zlib
  // ran out of memory.
  Packed Take(size_t ticket);

 private:
  struct Piece {
    std::string_view in;
    bool last = false;
    bool done = false;
    bool failed = false;
    std::string out;
    uint32_t crc = 0;
  };
  // Cuts `data` into pieces queued behind the part's others; `last` ends the part with them.
  void Queue(size_t ticket, std::string_view data, bool last);
  void Work();
  void Deflate(Piece& piece) const;
  // Runs one queued piece with the lock released; false when none is queued.
  bool RunOne(std::unique_lock<std::mutex>& lock);

  const int level_;
  const size_t pieceBytes_;
  // A deque, so that pieces queued keep their place while the part grows.
  std::vector<std::unique_ptr<std::deque<Piece>>> parts_;
  std::deque<Piece*> queue_;
  std::mutex mutex_;
  std::condition_variable queued_;
  std::condition_variable finished_;
  std::vector<std::thread> workers_;
  bool stop_ = false;
};

}  // namespace tezlo
