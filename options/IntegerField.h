// How the options dialog reads a number field: an optionally signed decimal
// integer with blanks around it, checked against its bounds.
#pragma once

#include <string_view>

class CIntegerField {
public:
    enum Result { OK, NOT_A_NUMBER, OUT_OF_RANGE };

    // On OK value holds the number; a number too large for int counts as
    // out of range; value is untouched otherwise.
    static Result Parse(std::string_view text, int min, int max, int& value);
};
