// A document that may still be arriving: a producer (a part inflating on a thread of its own)
// appends bytes to a buffer sized beforehand, and the reader parses those already there while
// the rest arrive. Bytes once arrived never change or move.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace tezlo {

class ArrivingBytes {
 public:
  // A document that has arrived whole; the caller keeps `whole` alive.
  explicit ArrivingBytes(std::string_view whole);
  // A document that has arrived whole, kept by the result.
  static std::unique_ptr<ArrivingBytes> Whole(std::string bytes);
  // Starts `produce` on a thread of its own, to Append at most `capacity` bytes. An exception
  // it throws reaches the reader from Wait, once the bytes before it have been read.
  ArrivingBytes(size_t capacity, std::function<void(ArrivingBytes&)> produce);
  // Stops a producer still running (its next Append throws) and waits for it.
  ~ArrivingBytes();
  ArrivingBytes(const ArrivingBytes&) = delete;
  ArrivingBytes& operator=(const ArrivingBytes&) = delete;

  struct Arrived {
    std::string_view bytes;  // everything arrived so far, from the first byte
    bool complete = false;   // nothing more will come
  };
  // Waits until more than `have` bytes have arrived or the document is complete. Rethrows the
  // producer's exception when it failed and every byte it gave has been seen.
  Arrived Wait(size_t have);

  // Where the bytes stand, arrived or not: the place spans of what has been read point into.
  std::string_view Place() const { return std::string_view(data_, capacity_); }

  // For the producer: false when `piece` does not fit the capacity (nothing is appended).
  bool Append(std::string_view piece);

 private:
  struct Stopped {};  // thrown into the producer by Append when the reader has gone
  void Produce(const std::function<void(ArrivingBytes&)>& produce);

  std::string owned_;
  std::unique_ptr<char[]> buffer_;
  const char* data_ = nullptr;
  size_t capacity_ = 0;
  size_t size_ = 0;  // guarded by mutex_, as are the three below
  bool complete_ = false;
  bool stop_ = false;
  std::exception_ptr error_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::thread producer_;
};

}  // namespace tezlo
