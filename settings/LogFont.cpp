#include "settings/LogFont.h"

#include <cstring>

std::string CLogFont::FaceName() const
{
    return std::string(lfFaceName, strnlen(lfFaceName, kFaceSize));
}

void CLogFont::SetFaceName(const std::string& face)
{
    std::memset(lfFaceName, 0, sizeof lfFaceName);
    size_t n = face.find('\0');
    if (n == std::string::npos)
        n = face.size();
    if (n > kFaceSize - 1)
        n = kFaceSize - 1;
    std::memcpy(lfFaceName, face.data(), n);
}

void CLogFont::SetPointSize(int points, int ppi)
{
    lfHeight = -MulDiv(points, ppi, 72);
}

int CLogFont::PointSize(int ppi) const
{
    return -MulDiv(lfHeight, 72, ppi);
}

bool CLogFont::operator==(const CLogFont& o) const
{
    return lfHeight == o.lfHeight && lfWidth == o.lfWidth && lfEscapement == o.lfEscapement &&
           lfOrientation == o.lfOrientation && lfWeight == o.lfWeight && lfItalic == o.lfItalic &&
           lfUnderline == o.lfUnderline && lfStrikeOut == o.lfStrikeOut &&
           lfCharSet == o.lfCharSet && lfOutPrecision == o.lfOutPrecision &&
           lfClipPrecision == o.lfClipPrecision && lfQuality == o.lfQuality &&
           lfPitchAndFamily == o.lfPitchAndFamily && FaceName() == o.FaceName();
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c)
{
    if (c == 0)
        return -1;
    int64_t num = static_cast<int64_t>(a) * b;
    int64_t den = c;
    bool negative = (num < 0) != (den < 0);
    uint64_t un = static_cast<uint64_t>(num < 0 ? -num : num);
    uint64_t ud = static_cast<uint64_t>(den < 0 ? -den : den);
    uint64_t q = (un + ud / 2) / ud;
    if (q > 0x7fffffffULL)
        return -1;
    return negative ? -static_cast<int32_t>(q) : static_cast<int32_t>(q);
}
