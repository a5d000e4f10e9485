#include "options/IntegerField.h"

#include <cstdint>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

CIntegerField::Result CIntegerField::Parse(std::string_view text, int min, int max, int& value)
{
    size_t i = 0, n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    while (n > i && IsBlank(text[n - 1]))
        --n;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == n)
        return NOT_A_NUMBER;
    int64_t v = 0;
    bool huge = false;
    for (; i < n; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return NOT_A_NUMBER;
        if (!huge) {
            v = v * 10 + (c - '0');
            huge = v > INT64_C(0xFFFFFFFF);
        }
    }
    if (negative)
        v = -v;
    if (huge || v < min || v > max)
        return OUT_OF_RANGE;
    value = static_cast<int>(v);
    return OK;
}
