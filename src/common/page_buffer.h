#pragma once
// Memory for large pictures straight from the kernel, in 2 MiB-aligned
// blocks that it is asked to back with huge pages. Pictures are touched
// whole soon after they are made; taking their memory 2 MiB at a time
// instead of 4 KiB costs one page fault where there were 512 (several
// milliseconds for one 1280 x 960 picture on a virtual machine, where a
// fault is dear). Where huge pages are off, they are ordinary mappings.
//
// A few freed blocks are kept for the next request of the same size, as the
// C library keeps freed memory: a camera's frames, made and dropped at every
// tick, reuse the same blocks instead of faulting fresh ones in each time.

#include <cstddef>

namespace qf {

// Blocks at least this large come from allocatePages; smaller ones are
// better served by the C library.
constexpr std::size_t kPageBufferMinimum = std::size_t(1) << 20;

// At least `bytes` of memory aligned to 2 MiB, its contents undefined;
// nullptr when the system refuses it. Give it back with freePages and the
// same size. Safe to call from any thread.
void* allocatePages(std::size_t bytes) noexcept;
void freePages(void* block, std::size_t bytes) noexcept;

}  // namespace qf
