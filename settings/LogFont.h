// A font as the settings store it: the fields of a Windows LOGFONT, with the
// height in logical units (negative: character height) of the screen.
#pragma once

#include <cstdint>
#include <string>

struct CLogFont {
    static constexpr int kFaceSize = 32; // 31 characters and the terminating zero

    int32_t lfHeight = 0;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    char lfFaceName[kFaceSize] = {};

    std::string FaceName() const;
    // Copies at most 31 bytes, always terminated.
    void SetFaceName(const std::string& face);

    // Point size <-> logical height for a screen of ppi pixels per inch.
    void SetPointSize(int points, int ppi);
    int PointSize(int ppi) const;

    bool operator==(const CLogFont& o) const;
};

// a * b / c rounded half away from zero, as the Windows function does;
// -1 when c is 0 or the result does not fit.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);
