#include "common/page_buffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

namespace qf {
namespace {

constexpr std::size_t kMiB = std::size_t(1) << 20;

bool alignedToHugePage(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p) % (2 * kMiB) == 0;
}

TEST(PageBufferTest, BlocksAreAlignedAndWritableToTheirLastByte) {
    for (const std::size_t bytes : {kPageBufferMinimum, 2 * kMiB, 2 * kMiB + 1,
                                    std::size_t(5'000'000), std::size_t(1280) * 960 * 3}) {
        SCOPED_TRACE(bytes);
        auto* block = static_cast<unsigned char*>(allocatePages(bytes));
        ASSERT_NE(block, nullptr);
        EXPECT_TRUE(alignedToHugePage(block));
        std::memset(block, 0x5a, bytes);
        EXPECT_EQ(block[0], 0x5a);
        EXPECT_EQ(block[bytes - 1], 0x5a);
        freePages(block, bytes);
    }
}

TEST(PageBufferTest, NothingIsAskedOrGivenBackForNothing) {
    EXPECT_EQ(allocatePages(0), nullptr);
    EXPECT_EQ(allocatePages(SIZE_MAX), nullptr);
    freePages(nullptr, 4 * kMiB);  // no effect
}

TEST(PageBufferTest, AFreedBlockServesTheNextRequestOfItsSize) {
    // A size no other test uses, so the kept block is this one.
    const std::size_t bytes = 13 * kMiB + 7;
    void* first = allocatePages(bytes);
    ASSERT_NE(first, nullptr);
    freePages(first, bytes);
    void* again = allocatePages(bytes - 5);  // the same number of huge pages
    EXPECT_EQ(again, first);
    void* other = allocatePages(bytes);  // the kept one is taken: a new block
    EXPECT_NE(other, again);
    freePages(again, bytes);
    freePages(other, bytes);
}

TEST(PageBufferTest, ThreadsNeverShareABlock) {
    // Each thread marks its block with its own number and checks the mark
    // before giving it back: a block handed to two threads at once shows.
    std::vector<std::thread> threads;
    std::vector<int> damaged(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t, &damaged] {
            for (int i = 0; i < 200; ++i) {
                const std::size_t bytes = (1 + std::size_t((i + t) % 3)) * 2 * kMiB;
                auto* block = static_cast<unsigned char*>(allocatePages(bytes));
                if (!block) {
                    ++damaged[std::size_t(t)];
                    continue;
                }
                block[0] = block[bytes - 1] = static_cast<unsigned char>(t + 1);
                std::this_thread::yield();
                if (block[0] != t + 1 || block[bytes - 1] != t + 1) ++damaged[std::size_t(t)];
                freePages(block, bytes);
            }
        });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(damaged, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace qf
