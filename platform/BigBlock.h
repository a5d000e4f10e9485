// Memory hints for blocks of many megabytes: a 100 MB file's text, its line
// table, the view's lengths per line.
#pragma once

#include <cstddef>

namespace platform {

// From this size on a block is worth a hint.
constexpr size_t kBigBlockFrom = size_t(4) << 20;

// Asks for huge pages for the block, where the system gives them on request:
// the kernel then faults in, and later frees, 50 pages for 100 MB instead of
// 25,000. Pages stay untouched until written. Smaller blocks, and systems
// without the hint, are left as they are.
void AskHugePages(void* p, size_t bytes);

// AskHugePages, and all pages of the block faulted in with one call instead
// of one fault per page. For a block that is about to be filled completely.
void PrepareBigBlock(void* p, size_t bytes);

} // namespace platform
