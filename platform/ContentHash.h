// A quick hash of a file's bytes, fed in pieces of any size: four FNV-style
// lanes over eight-byte words, the multiplications of which do not wait for
// one another. The lanes always see the same 32-byte groups from the start,
// however the bytes are split, so a file read in one go and one hashed while
// it is loaded get the same value.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

class CContentHash {
public:
    void Update(const char* data, size_t size);
    // The hash of all bytes so far (more may follow).
    uint64_t Value() const;
    uint64_t Size() const { return m_size; }

private:
    static constexpr uint64_t kPrime = 1099511628211ull;
    uint64_t m_lane[4] = {1469598103934665603ull, 0x9E3779B97F4A7C15ull, 0xC2B2AE3D27D4EB4Full,
                          0x165667B19E3779F9ull};
    unsigned char m_carry[32];
    size_t m_carried = 0;
    uint64_t m_size = 0;
};

} // namespace platform
