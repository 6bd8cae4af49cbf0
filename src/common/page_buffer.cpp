#include "common/page_buffer.h"

#include <sys/mman.h>

#include <array>
#include <cstdint>
#include <mutex>

namespace qf {
namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;

std::size_t rounded(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

// Freed blocks kept for reuse: a few, and none so large that keeping it
// would matter (a whole 8000 x 6000 picture goes back to the system).
constexpr std::size_t kKeptBlocks = 8;
constexpr std::size_t kKeptBytes = std::size_t(64) << 20;

struct KeptBlock {
    void* block = nullptr;
    std::size_t length = 0;
};

struct Kept {
    std::mutex mutex;
    std::array<KeptBlock, kKeptBlocks> blocks{};
    std::size_t bytes = 0;
};

Kept& kept() {
    // Never destroyed: blocks may be freed by static destructors.
    static Kept* k = new Kept;
    return *k;
}

void* takeKept(std::size_t length) {
    Kept& k = kept();
    const std::lock_guard<std::mutex> lock(k.mutex);
    for (KeptBlock& b : k.blocks)
        if (b.block && b.length == length) {
            void* block = b.block;
            b = {};
            k.bytes -= length;
            return block;
        }
    return nullptr;
}

bool keep(void* block, std::size_t length) {
    Kept& k = kept();
    const std::lock_guard<std::mutex> lock(k.mutex);
    if (k.bytes + length > kKeptBytes) return false;
    for (KeptBlock& b : k.blocks)
        if (!b.block) {
            b = {block, length};
            k.bytes += length;
            return true;
        }
    return false;
}

}  // namespace

void* allocatePages(std::size_t bytes) noexcept {
    if (bytes == 0 || bytes > SIZE_MAX - 2 * kHugePage) return nullptr;
    const std::size_t length = rounded(bytes);
    if (void* block = takeKept(length)) return block;
    // Mapped one huge page longer, then cut to an aligned block of `length`:
    // only an aligned block can be backed by huge pages.
    const std::size_t mapped = length + kHugePage;
    void* raw = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    if (const std::size_t head = aligned - start; head > 0) ::munmap(raw, head);
    if (const std::size_t tail = start + mapped - (aligned + length); tail > 0)
        ::munmap(reinterpret_cast<void*>(aligned + length), tail);
    void* block = reinterpret_cast<void*>(aligned);
    // Only advice: a kernel without huge pages refuses it and the block
    // stays an ordinary mapping.
    ::madvise(block, length, MADV_HUGEPAGE);
    return block;
}

void freePages(void* block, std::size_t bytes) noexcept {
    if (!block) return;
    const std::size_t length = rounded(bytes);
    if (!keep(block, length)) ::munmap(block, length);
}

}  // namespace qf
