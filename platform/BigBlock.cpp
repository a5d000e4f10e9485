#include "platform/BigBlock.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace platform {

namespace {

// The hints for the whole pages inside [p, p + bytes), when the block is big
// enough to bother.
void Hint(void* p, size_t bytes, bool populate)
{
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (bytes < kBigBlockFrom || pageSize <= 0)
        return;
    const uintptr_t page = static_cast<uintptr_t>(pageSize);
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(p) + page - 1) & ~(page - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(page - 1);
    if (end <= begin)
        return;
    void* from = reinterpret_cast<void*>(begin);
    const size_t length = end - begin;
#if defined(MADV_HUGEPAGE)
    (void)madvise(from, length, MADV_HUGEPAGE);
#endif
#if defined(MADV_POPULATE_WRITE)
    if (populate)
        (void)madvise(from, length, MADV_POPULATE_WRITE);
#else
    (void)populate;
#endif
}

} // namespace

void AskHugePages(void* p, size_t bytes)
{
    Hint(p, bytes, false);
}

void PrepareBigBlock(void* p, size_t bytes)
{
    Hint(p, bytes, true);
}

} // namespace platform
