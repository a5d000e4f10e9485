// What a text buffer knows of the views that show it: they are told of every
// change, and the view that closed an undo group may follow it up.
#pragma once

#include <cstdint>
#include <string>

class TextChange;

class CTextBufferListener {
public:
    virtual ~CTextBufferListener() = default;

    // Called synchronously from inside every change, on every registered view
    // in registration order (the source included). source and change may be
    // null; flags are the buffer's NOTIFY_* bits; line is the first affected
    // line, -1 for all. A view must not modify the buffer from here.
    virtual void OnBufferChange(CTextBufferListener* source, const TextChange* change,
                                uint32_t flags, int line) = 0;

    // Called on the view that closes an undo group, with the action code and
    // text of the group's last record (lines joined by CR LF). Changes made
    // from here form one undo group of their own.
    virtual void AfterEditGroup(int action, const std::string& text) {}
};
