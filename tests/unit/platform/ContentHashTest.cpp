#include "platform/ContentHash.h"

#include <gtest/gtest.h>

#include <string>

using platform::CContentHash;

namespace {

uint64_t HashInPieces(const std::string& bytes, size_t piece)
{
    CContentHash h;
    for (size_t at = 0; at < bytes.size(); at += piece)
        h.Update(bytes.data() + at, std::min(piece, bytes.size() - at));
    return h.Value();
}

} // namespace

TEST(ContentHash, SameValueHoweverTheBytesArePiecedAndAnyByteCounts)
{
    std::string bytes;
    for (int i = 0; i < 100003; ++i)
        bytes += static_cast<char>((i * 131) ^ (i >> 7));
    const uint64_t whole = HashInPieces(bytes, bytes.size());
    for (size_t piece : {size_t(1), size_t(7), size_t(31), size_t(32), size_t(33), size_t(65536), size_t(65541)})
        EXPECT_EQ(HashInPieces(bytes, piece), whole) << piece;
    CContentHash h;
    h.Update(bytes.data(), bytes.size());
    EXPECT_EQ(h.Size(), bytes.size());

    // A byte changed in a full group, in the tail, or one byte more.
    for (size_t at : {size_t(0), size_t(40000), bytes.size() - 1}) {
        std::string other = bytes;
        other[at] = static_cast<char>(other[at] ^ 1);
        EXPECT_NE(HashInPieces(other, 4096), whole) << at;
    }
    EXPECT_NE(HashInPieces(bytes + '\0', 4096), whole);
    // Words swapped between lanes are another content.
    std::string swapped = bytes;
    std::swap_ranges(swapped.begin(), swapped.begin() + 8, swapped.begin() + 8);
    EXPECT_NE(HashInPieces(swapped, 64), whole);
    EXPECT_NE(CContentHash().Value(), HashInPieces(std::string(1, '\0'), 1));
}
