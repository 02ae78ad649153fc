// Memory whose last readable byte is followed by an unreadable page: bytes
// placed here end right at the fence, so any read past them faults.
#pragma once

#include <stdint.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

class FencedBytes {
 public:
  // Room for `capacity` bytes before the fence (at least one page).
  explicit FencedBytes(size_t capacity = 1) {
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    readable_ = (std::max<size_t>(capacity, 1) + page - 1) / page * page;
    size_ = readable_ + page;
    base_ = static_cast<uint8_t *>(
        mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    mprotect(base_ + readable_, page, PROT_NONE);
  }
  ~FencedBytes() { munmap(base_, size_); }
  FencedBytes(const FencedBytes &) = delete;
  FencedBytes &operator=(const FencedBytes &) = delete;

  size_t capacity() const { return readable_; }
  // Room for `bytes` bytes (at most the capacity) that end at the fence; the
  // caller fills them.
  uint8_t *Tail(size_t bytes) { return base_ + readable_ - std::min(bytes, readable_); }
  // `bytes` copied so that their last byte is the last before the fence.
  const uint8_t *Place(const std::vector<uint8_t> &bytes) {
    uint8_t *p = base_ + readable_ - bytes.size();
    std::copy(bytes.begin(), bytes.end(), p);
    return p;
  }

 private:
  size_t readable_ = 0, size_ = 0;
  uint8_t *base_ = nullptr;
};
