#include "settings/HistoryList.h"

#include "settings/RegistryKey.h"
#include "text/CharCase.h"
#include "text/Transcode.h"
#include "text/Utf8.h"

#include <algorithm>

namespace {

std::string Trim(const std::string& text, const char* set)
{
    size_t start = text.find_first_not_of(set);
    if (start == std::string::npos)
        return {};
    size_t end = text.find_last_not_of(set);
    return text.substr(start, end - start + 1);
}

// The next character of a UTF-8 text, lower-cased one to one so that a
// text and its folded form have the same number of characters; a byte that
// is no valid UTF-8 stands for itself, apart from every character.
char32_t NextKey(const std::string& s, size_t& i)
{
    int n = 1;
    const char32_t cp = utf8::Decode(s.data(), static_cast<int>(s.size()), static_cast<int>(i), n);
    const unsigned char byte = static_cast<unsigned char>(s[i]);
    i += static_cast<size_t>(n);
    if (cp == utf8::kInvalid)
        return 0x80000000u | byte;
    return charcase::ToLower(cp);
}

bool LessNoCase(const std::string& a, const std::string& b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = NextKey(a, i), y = NextKey(b, j);
        if (x != y)
            return x < y;
    }
    return i >= a.size() && j < b.size();
}

long CharCount(const std::string& text)
{
    long count = 0;
    for (size_t i = 0; i < text.size(); ++count)
        i = static_cast<size_t>(utf8::Next(text.data(), static_cast<int>(text.size()), static_cast<int>(i)));
    return count;
}

} // namespace

std::string CHistoryList::StoredText(const std::string& value)
{
    return transcode::StoredTextToUtf8(value);
}

bool CHistoryList::EqualNoCase(const std::string& a, const std::string& b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size())
        if (NextKey(a, i) != NextKey(b, j))
            return false;
    return i >= a.size() && j >= b.size();
}

bool CHistoryList::StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    size_t i = 0, j = 0;
    while (i < text.size() && j < prefix.size())
        if (NextKey(text, i) != NextKey(prefix, j))
            return false;
    return j >= prefix.size();
}

std::string CHistoryList::KeyPath() const
{
    std::string section = Trim(m_section, "\\");
    return std::string(kKibRegistryKey) + "\\" + section;
}

std::string CHistoryList::LastEntryName() const
{
    if (!m_lastEntryValue.empty())
        return m_lastEntryValue;
    if (!m_prefix.empty())
        return m_prefix;
    return "Last";
}

void CHistoryList::Select(int index)
{
    if (index < 0 || index >= static_cast<int>(m_items.size())) {
        m_selection = -1;
        return;
    }
    m_selection = index;
    m_editText = m_items[static_cast<size_t>(index)];
}

std::string CHistoryList::Load(const std::string& section, const std::string& prefix, bool keepLast,
                               const std::string& lastEntryValue, bool sorted)
{
    if (section.empty() || prefix.empty())
        return {};
    m_section = section;
    m_prefix = prefix;
    m_lastEntryValue = lastEntryValue;
    m_keepLast = keepLast;
    m_selection = -1;

    CRegistryKey key(HKEY_CURRENT_USER, KeyPath(), false, KEY_ALL_ACCESS);
    if (!key.IsOpen())
        return {};
    for (int i = 0;; ++i) {
        std::string value = StoredText(key.ReadString(m_prefix + std::to_string(i)));
        if (value.empty())
            break;
        if (FindExact(value) < 0)
            m_items.push_back(value);
    }
    if (sorted)
        std::stable_sort(m_items.begin(), m_items.end(), LessNoCase);

    std::string last;
    if (m_keepLast) {
        last = StoredText(key.ReadString(LastEntryName()));
        if (!last.empty()) {
            int index = FindExact(last);
            if (index >= 0)
                Select(index);
            else
                m_editText = last;
        }
    }
    return last;
}

void CHistoryList::Add(const std::string& text)
{
    if (m_section.empty() || m_prefix.empty()) {
        m_items.push_back(text);
        return;
    }
    std::string t = Trim(text, " ");
    // An empty value would end the list when it is read back.
    if (t.empty())
        return;
    m_items.insert(m_items.begin(), t);
    int dup = FindExact(t, 0);
    if (dup > 0)
        m_items.erase(m_items.begin() + dup);
    Select(0);
}

bool CHistoryList::Save(bool addCurrent)
{
    if (m_section.empty())
        return false;
    if (addCurrent) {
        std::string t = Trim(m_editText, " \t\r\n\v\f");
        if (!t.empty())
            Add(t);
    }
    size_t n = std::min(m_items.size(), static_cast<size_t>(std::max(0, m_limit + 1)));
    CRegistryKey key(HKEY_CURRENT_USER, KeyPath(), true, KEY_ALL_ACCESS);
    if (!key.IsOpen())
        return false;
    bool ok = true;
    for (size_t i = 0; i < n; ++i)
        ok = key.WriteString(m_prefix + std::to_string(i), m_items[i]) && ok;
    if (m_keepLast)
        ok = key.WriteString(LastEntryName(), m_editText) && ok;
    return ok;
}

int CHistoryList::FindExact(const std::string& text, int start) const
{
    const int n = static_cast<int>(m_items.size());
    if (n == 0)
        return -1;
    int first = (start < 0 || start >= n) ? 0 : start + 1;
    for (int k = 0; k < n; ++k) {
        int i = (first + k) % n;
        if (EqualNoCase(m_items[static_cast<size_t>(i)], text))
            return i;
    }
    return -1;
}

int CHistoryList::FindPrefix(const std::string& text) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (StartsWithNoCase(m_items[i], text))
            return static_cast<int>(i);
    return -1;
}

CHistoryList::Completion CHistoryList::Complete(const std::string& typed, long selFrom, long selTo)
{
    Completion c;
    c.text = typed;
    c.selFrom = selFrom;
    c.selTo = selTo;
    m_editText = typed;
    // Nothing typed is nothing to complete.
    if (!m_completeTyping || typed.empty())
        return c;
    // The control's positions count characters.
    const long typedLength = CharCount(typed);
    int index = FindPrefix(typed);
    if (index >= 0) {
        Select(index);
        c.item = index;
        c.text = m_items[static_cast<size_t>(index)];
    } else {
        m_selection = -1;
    }
    if (selTo >= typedLength) {
        c.selFrom = typedLength;
        c.selTo = CharCount(c.text);
    }
    return c;
}
