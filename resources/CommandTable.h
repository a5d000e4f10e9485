// A command-handling class's commands as one table: each row names a command
// (or a run of consecutive ones), what it does and when it is enabled, side by
// side. HandleCommand and QueryCommand look the command up in the table.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

// What a command's menu item shows: enabled, checked and, when setText is
// true, the item's text (UTF-8).
struct CCommandState {
    bool enabled = false;
    bool checked = false;
    bool setText = false;
    std::string text;
};

template <class Owner>
struct CCommandRow {
    // Every function gets the command number, so that one row can serve a
    // run of commands.
    using Action = void (*)(Owner&, int command);
    using Rule = bool (*)(Owner&, int command);
    // Fills what the rule leaves: checked, text; state.enabled is set already.
    using Status = void (*)(Owner&, int command, CCommandState& state);

    CCommandRow(int command, Action action, Rule enabled, Status status = nullptr)
        : CCommandRow(command, command, action, enabled, status)
    {
    }
    CCommandRow(int firstCommand, int lastCommand, Action action, Rule enabled, Status status = nullptr)
        : first(firstCommand), last(lastCommand), action(action), enabled(enabled), status(status)
    {
    }

    static bool Always(Owner&, int) { return true; }

    bool Covers(int command) const { return first <= command && command <= last; }

    int first;
    int last;
    // Null: the row only tells the state; running the command is left to the
    // next stop on the route.
    Action action;
    Rule enabled;
    Status status;
};

template <class Owner>
class CCommandTable {
public:
    using Row = CCommandRow<Owner>;

    CCommandTable(std::initializer_list<Row> rows) : m_rows(rows) {}

    // The first row that covers command, or null.
    const Row* Find(int command) const
    {
        for (const Row& row : m_rows)
            if (row.Covers(command))
                return &row;
        return nullptr;
    }

    // Runs the command; false when no row runs it.
    bool Handle(Owner& owner, int command) const
    {
        const Row* row = Find(command);
        if (!row || !row->action)
            return false;
        row->action(owner, command);
        return true;
    }

    // The menu state from a fresh CCommandState; false (state untouched) when
    // no row covers the command.
    bool Query(Owner& owner, int command, CCommandState& state) const
    {
        const Row* row = Find(command);
        if (!row)
            return false;
        state = CCommandState();
        state.enabled = row->enabled(owner, command);
        if (row->status)
            row->status(owner, command, state);
        return true;
    }

    // True when two rows cover the same command (a table fault: the later
    // row would never be reached).
    bool HasOverlap() const
    {
        for (size_t i = 0; i < m_rows.size(); ++i)
            for (size_t j = i + 1; j < m_rows.size(); ++j)
                if (m_rows[i].first <= m_rows[j].last && m_rows[j].first <= m_rows[i].last)
                    return true;
        return false;
    }

    const std::vector<Row>& Rows() const { return m_rows; }

private:
    std::vector<Row> m_rows;
};
