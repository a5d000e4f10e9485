#include "platform/BigBlock.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace platform {

namespace {

// The whole pages inside [p, p + bytes); false when there are none or the
// block is too small to bother.
bool WholePages(void* p, size_t bytes, void*& from, size_t& length)
{
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (bytes < kBigBlockFrom || pageSize <= 0)
        return false;
    const uintptr_t page = static_cast<uintptr_t>(pageSize);
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(p) + page - 1) & ~(page - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(page - 1);
    if (end <= begin)
        return false;
    from = reinterpret_cast<void*>(begin);
    length = end - begin;
    return true;
}

} // namespace

void AskHugePages(void* p, size_t bytes)
{
    void* from = nullptr;
    size_t length = 0;
    if (!WholePages(p, bytes, from, length))
        return;
#if defined(MADV_HUGEPAGE)
    (void)madvise(from, length, MADV_HUGEPAGE);
#endif
}

void PrepareBigBlock(void* p, size_t bytes)
{
    void* from = nullptr;
    size_t length = 0;
    if (!WholePages(p, bytes, from, length))
        return;
#if defined(MADV_HUGEPAGE)
    (void)madvise(from, length, MADV_HUGEPAGE);
#endif
#if defined(MADV_POPULATE_WRITE)
    (void)madvise(from, length, MADV_POPULATE_WRITE);
#endif
}

} // namespace platform
