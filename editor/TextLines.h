// Read access to the lines a view shows (one empty line without a buffer),
// for the core classes that work on a view's text without knowing the view.
#pragma once

class ITextLines {
public:
    virtual ~ITextLines() = default;
    virtual int LineCount() const = 0;
    virtual int LineLength(int line) const = 0;
    virtual const char* LineChars(int line) const = 0;
};
