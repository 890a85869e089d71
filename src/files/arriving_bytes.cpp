#include "files/arriving_bytes.h"

#include <cstring>
#include <utility>

namespace tezlo {

ArrivingBytes::ArrivingBytes(std::string_view whole)
    : data_(whole.data()), capacity_(whole.size()), size_(whole.size()), complete_(true) {}

std::unique_ptr<ArrivingBytes> ArrivingBytes::Whole(std::string bytes) {
  auto result = std::make_unique<ArrivingBytes>(std::string_view());
  result->owned_ = std::move(bytes);
  result->data_ = result->owned_.data();
  result->capacity_ = result->size_ = result->owned_.size();
  return result;
}

ArrivingBytes::ArrivingBytes(size_t capacity, std::function<void(ArrivingBytes&)> produce)
    : buffer_(new char[capacity == 0 ? 1 : capacity]), data_(buffer_.get()), capacity_(capacity) {
  producer_ = std::thread([this, produce = std::move(produce)] { Produce(produce); });
}

ArrivingBytes::~ArrivingBytes() {
  if (!producer_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  producer_.join();
}

void ArrivingBytes::Produce(const std::function<void(ArrivingBytes&)>& produce) {
  std::exception_ptr error;
  try {
    produce(*this);
  } catch (const Stopped&) {
  } catch (...) {
    error = std::current_exception();
  }
  {
    std::lock_guard lock(mutex_);
    complete_ = true;
    error_ = error;
  }
  arrived_.notify_all();
}

bool ArrivingBytes::Append(std::string_view piece) {
  size_t at;
  {
    std::lock_guard lock(mutex_);
    if (stop_) throw Stopped{};
    at = size_;
  }
  if (piece.size() > capacity_ - at) return false;
  // Only this thread writes past size_, and the reader reads below it: the copy needs no lock.
  if (!piece.empty()) std::memcpy(buffer_.get() + at, piece.data(), piece.size());
  {
    std::lock_guard lock(mutex_);
    size_ = at + piece.size();
  }
  arrived_.notify_all();
  return true;
}

ArrivingBytes::Arrived ArrivingBytes::Wait(size_t have) {
  std::unique_lock lock(mutex_);
  arrived_.wait(lock, [&] { return size_ > have || complete_; });
  if (complete_ && error_ && size_ <= have) std::rethrow_exception(error_);
  return Arrived{std::string_view(data_, size_), complete_ && !error_};
}

}  // namespace tezlo
