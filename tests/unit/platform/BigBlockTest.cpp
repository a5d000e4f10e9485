#include "platform/BigBlock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// The hints change how a block is paged in, never what it holds: a block
// filled before the hint, at any offset from a page, reads back unchanged,
// and a fresh one can be filled completely afterwards.
TEST(BigBlock, HintsKeepTheBytesOfTheBlock)
{
    const size_t size = platform::kBigBlockFrom + 3 * 4096 + 17;
    std::unique_ptr<char, decltype(&std::free)> block(static_cast<char*>(std::malloc(size + 64)), &std::free);
    ASSERT_TRUE(block);
    for (size_t offset : {0, 1, 63}) {
        char* p = block.get() + offset;
        for (size_t i = 0; i < size; ++i)
            p[i] = static_cast<char>((i * 131 + offset) & 0xFF);
        platform::PrepareBigBlock(p, size);
        platform::AskHugePages(p, size);
        size_t wrong = 0;
        for (size_t i = 0; i < size; ++i)
            wrong += p[i] != static_cast<char>((i * 131 + offset) & 0xFF);
        EXPECT_EQ(wrong, 0u) << "offset " << offset;
    }

    std::unique_ptr<char, decltype(&std::free)> fresh(static_cast<char*>(std::malloc(size)), &std::free);
    ASSERT_TRUE(fresh);
    platform::PrepareBigBlock(fresh.get(), size);
    std::memset(fresh.get(), 'x', size);
    EXPECT_EQ(fresh.get()[0], 'x');
    EXPECT_EQ(fresh.get()[size - 1], 'x');

    // Blocks too small for a hint, and none at all, are left alone.
    char small[64] = "klein";
    platform::PrepareBigBlock(small, sizeof small);
    platform::AskHugePages(nullptr, 0);
    EXPECT_STREQ(small, "klein");
}

} // namespace
