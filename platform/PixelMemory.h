#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>

/// Memory for a canvas's pixels. A window's worth is megabytes written all at
/// once; in huge pages, where the system offers them, that costs one page
/// fault per 2 MB instead of one per 4 KB, which on a virtual machine is most
/// of the time a new canvas takes. Smaller buffers come from the heap as usual.
template <class T>
struct PixelAllocator {
  using value_type = T;
  static constexpr std::size_t kHugePage = std::size_t{2} << 20;

  PixelAllocator() = default;
  template <class U>
  PixelAllocator(const PixelAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    if (n * sizeof(T) < kHugePage) return std::allocator<T>{}.allocate(n);
    if (n > std::allocator_traits<std::allocator<T>>::max_size(std::allocator<T>{}))
      throw std::bad_array_new_length();
    const std::size_t bytes = (n * sizeof(T) + kHugePage - 1) / kHugePage * kHugePage;
    void* p = std::aligned_alloc(kHugePage, bytes);
    if (p == nullptr) throw std::bad_alloc();
    // Only advice: without huge pages the buffer works the same.
    madvise(p, bytes, MADV_HUGEPAGE);
    return static_cast<T*>(p);
  }

  void deallocate(T* p, std::size_t n) noexcept {
    if (n * sizeof(T) < kHugePage)
      std::allocator<T>{}.deallocate(p, n);
    else
      std::free(p);
  }

  template <class U>
  bool operator==(const PixelAllocator<U>&) const noexcept {
    return true;
  }
};
