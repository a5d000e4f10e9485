// What every stop on the command route offers: run a command, or tell its
// menu state. Commands are Kib numbers (resources/CommandIds.h); CCommandState
// is the editor views' own (editor/TextView.h).
#pragma once

#include "editor/TextView.h"

class CCommandTarget {
public:
    virtual ~CCommandTarget() = default;
    // Runs the command; false when this target has no handler for it.
    virtual bool HandleCommand(int command) = 0;
    // Fills the menu state; false when this target has no handler for it.
    virtual bool QueryCommand(int command, CCommandState& state) = 0;
};
