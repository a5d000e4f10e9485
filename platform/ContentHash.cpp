#include "platform/ContentHash.h"

#include <cstring>

namespace platform {

namespace {

inline void Group(uint64_t* lane, const unsigned char* p, uint64_t prime)
{
    for (int k = 0; k < 4; ++k) {
        uint64_t w;
        std::memcpy(&w, p + 8 * k, 8);
        lane[k] = (lane[k] ^ w) * prime;
    }
}

} // namespace

void CContentHash::Update(const char* data, size_t size)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(data);
    m_size += size;
    if (m_carried) {
        size_t take = sizeof m_carry - m_carried;
        if (take > size)
            take = size;
        std::memcpy(m_carry + m_carried, p, take);
        m_carried += take;
        p += take;
        size -= take;
        if (m_carried < sizeof m_carry)
            return;
        Group(m_lane, m_carry, kPrime);
        m_carried = 0;
    }
    for (; size >= 32; p += 32, size -= 32)
        Group(m_lane, p, kPrime);
    std::memcpy(m_carry, p, size);
    m_carried = size;
}

uint64_t CContentHash::Value() const
{
    uint64_t lane0 = m_lane[0];
    for (size_t i = 0; i < m_carried; ++i)
        lane0 = (lane0 ^ m_carry[i]) * kPrime;
    uint64_t hash = lane0;
    for (int k = 1; k < 4; ++k)
        hash = (hash ^ m_lane[k]) * kPrime;
    return hash;
}

} // namespace platform
