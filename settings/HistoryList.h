// The list behind a history combo box: UTF-8 texts remembered in a registry
// section as "<prefix>0", "<prefix>1" ... (newest first) plus the last text
// typed, the newest on top without duplicates (compared without regard to
// case), and the completion of typed text from the list.
#pragma once

#include <string>
#include <vector>

class CHistoryList {
public:
    static constexpr int kDefaultLimit = 10;

    // Reads the list from the section below the program's key, behind the
    // items already in it (a dialog's fixed items, added before loading); a
    // stored text equal to one of them is not listed twice. Does nothing
    // when section or prefix is empty. Returns the last text (empty when it
    // is not kept or missing); a list item equal to it becomes the selection,
    // else it is the edit text. sorted: the list is kept sorted on loading.
    std::string Load(const std::string& section, const std::string& prefix, bool keepLast,
                     const std::string& lastEntryValue = {}, bool sorted = false);

    // Puts the text (blanks cut from both ends) on top and drops its older
    // duplicate; item 0 becomes the selection and the edit text. Without a
    // section or prefix the text is only appended.
    void Add(const std::string& text);

    // Adds the edit text (white space cut; not when empty) if asked, then
    // writes at most limit + 1 items and, when kept, the edit text as the last
    // entry. Creates the key when it is missing. False when nothing could be
    // written (no section, or the key cannot be created).
    bool Save(bool addCurrent);

    // The registry key, the name of the last-entry value.
    std::string KeyPath() const;
    std::string LastEntryName() const;

    const std::vector<std::string>& Items() const { return m_items; }
    int Selection() const { return m_selection; }
    const std::string& EditText() const { return m_editText; }
    // What the user typed or picked; picking an item sets both.
    void SetEditText(const std::string& text) { m_editText = text; }
    void Select(int index);

    void SetLimit(int limit) { m_limit = limit; }
    const std::string& Section() const { return m_section; }

    // The first item equal to text (without regard to case), searching from
    // the item after start and wrapping around; −1 when there is none.
    int FindExact(const std::string& text, int start = -1) const;
    // The first item that begins with text (without regard to case), or −1.
    int FindPrefix(const std::string& text) const;

    // Auto-completion. A key press switches it on, Delete and Backspace off.
    void KeyPressed(bool deleteOrBackspace) { m_completeTyping = !deleteOrBackspace; }
    bool CompletesTyping() const { return m_completeTyping; }

    struct Completion {
        std::string text;       // the new edit text
        long selFrom = 0, selTo = 0; // in characters, as the control counts
        int item = -1;          // the item it was completed from, or −1
    };
    // After the edit text changed to typed with the selection selFrom..selTo:
    // the first item beginning with typed replaces it, with the completed
    // remainder selected (the old selection stays when it ended before the
    // typed length). Without a match, or with completion switched off, the
    // typed text stays. Updates EditText and Selection.
    Completion Complete(const std::string& typed, long selFrom, long selTo);

    // Text comparison of the list (UTF-8 texts): each character lower-cased
    // on its own, so "Ü" equals "ü" but "SS" is not "ß".
    static bool EqualNoCase(const std::string& a, const std::string& b);
    static bool StartsWithNoCase(const std::string& text, const std::string& prefix);

    // A stored value as the list's UTF-8: earlier versions wrote
    // Windows-1252, which is decoded when the value is no valid UTF-8.
    static std::string StoredText(const std::string& value);

private:
    std::string m_section;
    std::string m_prefix;
    std::string m_lastEntryValue;
    bool m_keepLast = false;
    bool m_completeTyping = false;
    int m_limit = kDefaultLimit;

    std::vector<std::string> m_items;
    int m_selection = -1;
    std::string m_editText;
};
