#include "files/parallel_deflate.h"

#include <zlib.h>

#include <algorithm>
#include <new>

namespace tezlo {

namespace {

// Workers beside the caller, which also deflates while it waits.
size_t WorkerCount() {
  const unsigned cores = std::thread::hardware_concurrency();
  return std::clamp<size_t>(cores, 1, 8);
}

}  // namespace

ParallelDeflate::ParallelDeflate(int level, size_t pieceBytes)
    : level_(level), pieceBytes_(std::max<size_t>(pieceBytes, 1)) {}

ParallelDeflate::~ParallelDeflate() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  queued_.notify_all();
  for (std::thread& t : workers_) t.join();
}

size_t ParallelDeflate::Start(std::string_view data) {
  const size_t ticket = Open();
  Queue(ticket, data, true);
  return ticket;
}

size_t ParallelDeflate::Open() {
  std::lock_guard<std::mutex> lock(mutex_);
  parts_.push_back(std::make_unique<std::deque<Piece>>());
  if (workers_.empty()) {
    for (size_t i = 0; i < WorkerCount(); ++i) workers_.emplace_back([this] { Work(); });
  }
  return parts_.size() - 1;
}

void ParallelDeflate::Append(size_t ticket, std::string_view data) {
  if (!data.empty()) Queue(ticket, data, false);
}

void ParallelDeflate::Close(size_t ticket) { Queue(ticket, {}, true); }

void ParallelDeflate::Queue(size_t ticket, std::string_view data, bool last) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    std::deque<Piece>& pieces = *parts_.at(ticket);
    size_t at = 0;
    do {
      // A short rest joins the piece before it rather than make a piece of its own.
      const size_t rest = data.size() - at;
      const size_t size = rest < pieceBytes_ + pieceBytes_ / 4 ? rest : pieceBytes_;
      Piece& piece = pieces.emplace_back();
      piece.in = data.substr(at, size);
      piece.last = last && at + size == data.size();
      at += size;
      queue_.push_back(&piece);
    } while (at < data.size());
  }
  queued_.notify_all();
}

void ParallelDeflate::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (true) {
    queued_.wait(lock, [this] { return stop_ || !queue_.empty(); });
    if (stop_) return;
    RunOne(lock);
  }
}

bool ParallelDeflate::RunOne(std::unique_lock<std::mutex>& lock) {
  if (queue_.empty()) return false;
  Piece* piece = queue_.front();
  queue_.pop_front();
  lock.unlock();
  Deflate(*piece);
  lock.lock();
  piece->done = true;
  finished_.notify_all();
  return true;
}

void ParallelDeflate::Deflate(Piece& piece) const {
  piece.crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(piece.in.data()),
                                          static_cast<uInt>(piece.in.size())));
  z_stream zs{};
  if (deflateInit2(&zs, level_, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    piece.failed = true;
    return;
  }
  try {
    // The bound holds a whole stream; a sync flush adds its empty block.
    piece.out.resize(deflateBound(&zs, static_cast<uLong>(piece.in.size())) + 16);
  } catch (const std::bad_alloc&) {
    deflateEnd(&zs);
    piece.failed = true;
    return;
  }
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.in.data()));
  zs.avail_in = static_cast<uInt>(piece.in.size());
  zs.next_out = reinterpret_cast<Bytef*>(piece.out.data());
  zs.avail_out = static_cast<uInt>(piece.out.size());
  const int status = deflate(&zs, piece.last ? Z_FINISH : Z_SYNC_FLUSH);
  const bool ok = piece.last ? status == Z_STREAM_END
                             : (status == Z_OK && zs.avail_in == 0 && zs.avail_out > 0);
  piece.out.resize(zs.total_out);
  deflateEnd(&zs);
  piece.failed = !ok;
}

ParallelDeflate::Packed ParallelDeflate::Take(size_t ticket) {
  std::deque<Piece>& pieces = *parts_.at(ticket);
  std::unique_lock<std::mutex> lock(mutex_);
  for (const Piece& p : pieces) {
    while (!p.done) {
      if (!RunOne(lock)) finished_.wait(lock);
    }
  }
  lock.unlock();
  Packed packed;
  size_t total = 0;
  for (const Piece& p : pieces) {
    if (p.failed) throw std::bad_alloc();
    total += p.out.size();
  }
  packed.bytes.reserve(total);
  bool first = true;
  for (Piece& p : pieces) {
    packed.bytes += p.out;
    packed.size += p.in.size();
    packed.crc = first ? p.crc
                       : static_cast<uint32_t>(
                             crc32_combine(packed.crc, p.crc, static_cast<z_off_t>(p.in.size())));
    first = false;
    std::string().swap(p.out);
  }
  return packed;
}

}  // namespace tezlo
