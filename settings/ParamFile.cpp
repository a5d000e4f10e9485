#include "settings/ParamFile.h"

#include "platform/AtomicFile.h"
#include "platform/FileRead.h"
#include "settings/ParamSaveReport.h"
#include "settings/SettingsFileCheck.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <unordered_map>

// ---------------------------------------------------------------- CParamNode

CParamNode::CParamNode(std::string name, std::string attributes, CParamNode* parent)
    : m_name(std::move(name)), m_attributes(std::move(attributes)), m_parent(parent)
{
}

CParamNode::~CParamNode()
{
    Clear();
}

void CParamNode::Clear()
{
    // A deep tree must not be torn down by one recursive call per level.
    std::vector<std::unique_ptr<CParamNode>> work = std::move(m_children);
    m_children.clear();
    while (!work.empty()) {
        std::unique_ptr<CParamNode> node = std::move(work.back());
        work.pop_back();
        for (auto& child : node->m_children)
            work.push_back(std::move(child));
        node->m_children.clear();
    }
    m_leaves.clear();
}

CParamNode* CParamNode::FindChild(std::string_view name) const
{
    for (const auto& child : m_children)
        if (child->m_name == name)
            return child.get();
    return nullptr;
}

CParamNode* CParamNode::AppendChild(std::string name, std::string attributes)
{
    m_children.push_back(std::make_unique<CParamNode>(std::move(name), std::move(attributes), this));
    return m_children.back().get();
}

void CParamNode::SetLeaf(std::string name, std::string value, std::string attributes)
{
    Leaf& leaf = m_leaves[std::move(name)];
    leaf.value = std::move(value);
    leaf.attributes = std::move(attributes);
}

// ---------------------------------------------------------------- CParamTree

void CParamTree::Clear()
{
    m_root.Clear();
    m_root.m_name.clear();
    m_root.m_attributes.clear();
    m_current = nullptr;
    m_rooted = false;
    m_dropped = false;
}

void CParamTree::OnElementStart(const std::string& name, const std::string& attributes)
{
    if (!m_current) {
        // A second top-level element of another name loses the first name.
        if (m_rooted && m_root.m_name != name)
            m_dropped = true;
        m_rooted = true;
        m_root.m_name = name;
        m_root.m_attributes = attributes;
        m_current = &m_root;
    } else {
        m_current = m_current->AppendChild(name, attributes);
    }
}

void CParamTree::OnLeafElement(const std::string& name, const std::string& value,
                               const std::string& attributes)
{
    // A leaf outside every element has nowhere to go.
    if (m_current)
        m_current->SetLeaf(name, value, attributes);
    else
        m_dropped = true;
}

void CParamTree::OnElementEnd(const std::string&, const std::string&)
{
    if (m_current)
        m_current = m_current->m_parent;
}

// ---------------------------------------------------------------- reading

namespace {

constexpr uint64_t kHashBase = 0x100000001b3ULL;

uint64_t HashName(std::string_view s)
{
    // Same polynomial as the backward sweep: sum of s[j] * B^j.
    uint64_t h = 0;
    for (size_t i = s.size(); i > 0; --i)
        h = static_cast<unsigned char>(s[i - 1]) + kHashBase * h;
    return h;
}

struct NameKey {
    size_t length;
    uint64_t hash;
    bool operator==(const NameKey&) const = default;
};

struct NameKeyHash {
    size_t operator()(const NameKey& k) const { return k.hash ^ (k.length * 0x9e3779b97f4a7c15ULL); }
};

// Every closing tag "</name>" of a text, by name, in increasing position.
// The closing-tag search of the reader then costs a lookup instead of a scan,
// so deeply nested input does not take quadratic time.
class CClosingTagIndex {
public:
    explicit CClosingTagIndex(std::string_view text) : m_text(text)
    {
        // Backward sweep: h is the hash of text[i, g) where g is the first
        // ">" at or after i. A "</" at q closes the name text[q+2, g).
        const size_t n = text.size();
        const size_t none = std::string_view::npos;
        size_t g = none;
        uint64_t h = 0;
        // Hash and ">" position at i+1 and i+2.
        uint64_t h1 = 0, h2 = 0;
        size_t g1 = none, g2 = none;
        for (size_t i = n; i > 0; --i) {
            size_t p = i - 1;
            unsigned char c = static_cast<unsigned char>(text[p]);
            if (c == '>') {
                g = p;
                h = 0;
            } else if (g != none) {
                h = c + kHashBase * h;
            }
            if (c == '<' && p + 1 < n && text[p + 1] == '/' && g2 != none) {
                size_t len = g2 - (p + 2);
                m_index[NameKey{len, h2}].push_back(p);
            }
            h2 = h1;
            g2 = g1;
            h1 = h;
            g1 = g;
        }
        for (auto& [key, positions] : m_index)
            std::reverse(positions.begin(), positions.end());
    }

    // Position of the first "</name>" that starts at or after from and ends
    // at or before end, or npos.
    size_t Find(std::string_view name, size_t from, size_t end) const
    {
        auto it = m_index.find(NameKey{name.size(), HashName(name)});
        if (it == m_index.end())
            return std::string_view::npos;
        const auto& positions = it->second;
        for (auto p = std::lower_bound(positions.begin(), positions.end(), from);
             p != positions.end(); ++p) {
            size_t q = *p;
            if (q + name.size() + 3 > end)
                return std::string_view::npos;
            if (m_text.compare(q + 2, name.size(), name) == 0)
                return q;
        }
        return std::string_view::npos;
    }

private:
    std::string_view m_text;
    std::unordered_map<NameKey, std::vector<size_t>, NameKeyHash> m_index;
};

size_t FindByte(std::string_view text, char c, size_t from, size_t end)
{
    if (from >= end)
        return std::string_view::npos;
    const void* p = std::memchr(text.data() + from, c, end - from);
    return p ? static_cast<size_t>(static_cast<const char*>(p) - text.data())
             : std::string_view::npos;
}

bool IsBlank(std::string_view text, size_t from, size_t end)
{
    for (size_t i = from; i < end && i < text.size(); ++i)
        if (text[i] != ' ' && text[i] != '\t' && text[i] != '\n' && text[i] != '\r')
            return false;
    return true;
}

// A declaration, a comment or an end tag without its start is no element
// whose content could be recovered.
bool CanRecover(const std::string& name)
{
    return !name.empty() && name[0] != '?' && name[0] != '!' && name[0] != '/';
}

} // namespace

bool CParamFile::Parse(IParamHandler& handler) const
{
    bool complete = true;
    const std::string_view text(m_text);
    const size_t none = std::string_view::npos;
    CClosingTagIndex closing(text);

    // One frame per level being scanned; the reader never recurses.
    struct Frame {
        size_t pos;
        size_t end;
        bool container;
        std::string name;
        std::string attributes;
    };
    std::vector<Frame> levels;
    levels.push_back(Frame{0, text.size(), false, {}, {}});

    while (!levels.empty()) {
        Frame& f = levels.back();
        size_t lt = FindByte(text, '<', f.pos, f.end);
        size_t gt = lt == none ? none : FindByte(text, '>', lt + 1, f.end);
        // Text between elements is skipped; anything but blanks and line
        // ends there means the file holds more than was understood.
        if (!IsBlank(text, f.pos, lt == none ? f.end : lt) || (lt != none && gt == none))
            complete = false;
        if (gt == none) {
            // This level is finished.
            Frame done = std::move(levels.back());
            levels.pop_back();
            if (done.container)
                handler.OnElementEnd(done.name, done.attributes);
            continue;
        }
        const bool selfClosing = gt > lt + 1 && text[gt - 1] == '/';
        size_t blank = FindByte(text, ' ', lt + 1, gt);
        size_t nameEnd = blank != none ? blank : (selfClosing ? gt - 1 : gt);
        std::string name(text.substr(lt + 1, nameEnd - (lt + 1)));
        std::string attributes;
        const size_t tagLength = gt - lt + 1;
        if (blank != none && tagLength > name.size() + 3) {
            size_t attrEnd = selfClosing && gt - 1 > blank ? gt - 1 : gt;
            attributes = std::string(text.substr(blank + 1, attrEnd - (blank + 1)));
        }

        if (selfClosing) {
            if (!name.empty())
                handler.OnLeafElement(name, std::string(), attributes);
            f.pos = gt + 1;
            continue;
        }

        const size_t contentBegin = gt + 1;
        size_t close = closing.Find(name, contentBegin, f.end);
        if (close == none) {
            complete = false;
            // A file cut off ends inside every element that was open: such
            // an element holding elements keeps what it holds up to the end
            // of its level, so the settings before the cut are not lost. A
            // value without its closing tag may be cut short and is dropped.
            f.pos = f.end;
            if (CanRecover(name) && FindByte(text, '<', contentBegin, f.end) != none) {
                handler.OnElementStart(name, attributes);
                levels.push_back(Frame{contentBegin, f.end, true, std::move(name), std::move(attributes)});
            }
            continue;
        }
        const size_t afterClose = close + name.size() + 3;
        f.pos = afterClose;
        if (FindByte(text, '<', contentBegin, close) != none) {
            // A container without a name is never written; skip it whole so
            // that its end cannot move the current element above the root.
            if (name.empty()) {
                complete = false;
                continue;
            }
            handler.OnElementStart(name, attributes);
            levels.push_back(Frame{contentBegin, close, true, std::move(name), std::move(attributes)});
        } else if (!name.empty()) {
            handler.OnLeafElement(name, std::string(text.substr(contentBegin, close - contentBegin)),
                                  attributes);
        } else if (!IsBlank(text, contentBegin, close)) {
            complete = false; // a value without a name is not reported
        }
    }
    return complete;
}

bool CParamFile::Load(const std::string& fileName)
{
    std::string raw;
    if (!platform::ReadWholeFile(fileName, raw))
        return false;
    LoadFromText(FromTextMode(raw));
    return true;
}

std::string CParamFile::FromTextMode(std::string_view raw)
{
    std::string text;
    text.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')
            continue;
        text += raw[i];
    }
    return text;
}

void CParamFile::LoadFromText(std::string text)
{
    m_text = std::move(text);
    m_tree.Clear();
    m_complete = true;
    if (m_text.empty())
        return;
    m_complete = Parse(m_tree) && !m_tree.Dropped();
}

bool CParamFile::IsSettingsFileOf(std::string_view root) const
{
    const CParamNode& r = m_tree.Root();
    if (!m_complete)
        return false;
    // Nothing but an element without a name (a new tree saved as it was)
    // holds no settings of any kind.
    return r.m_name == root || (r.m_name.empty() && r.m_leaves.empty() && r.m_children.empty());
}

// ---------------------------------------------------------------- writing

namespace {

// Text mode: every LF reaches the disk as CR LF.
void AppendText(std::string& out, std::string_view s)
{
    for (char c : s) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
}

} // namespace

std::string CParamFile::SaveToText() const
{
    std::string out;
    struct Item {
        const CParamNode* node;
        size_t nextChild;
    };
    std::vector<Item> stack;
    auto open = [&](const CParamNode* node) {
        out += '<';
        AppendText(out, node->m_name);
        out += ">\r\n";
        for (const auto& [name, leaf] : node->m_leaves) {
            out += '<';
            AppendText(out, name);
            out += '>';
            AppendText(out, leaf.value);
            out += "</";
            AppendText(out, name);
            out += ">\r\n";
        }
        stack.push_back(Item{node, 0});
    };
    open(&m_tree.Root());
    while (!stack.empty()) {
        Item& top = stack.back();
        if (top.nextChild < top.node->m_children.size()) {
            const CParamNode* child = top.node->m_children[top.nextChild++].get();
            open(child);
            continue;
        }
        out += "</";
        AppendText(out, top.node->m_name);
        out += ">\r\n";
        stack.pop_back();
    }
    return out;
}

bool CParamFile::Save(const std::string& fileName, CParamSaveReport* report) const
{
    const CSettingsFileCheck check = CSettingsFileCheck::Inspect(fileName, m_tree.Root().m_name);
    CParamSaveReport r = check.Refusal();
    bool mayWrite = check.MayReplace();
    if (check.found == ESettingsFileFound::Damaged) {
        // What could not be read stays, under a name of its own, before
        // anything is written over it.
        r.backup = platform::KeepBackup(check.target, check.bytes, ".bad", &r.error);
        mayWrite = !r.backup.empty();
    }
    if (mayWrite) {
        platform::CAtomicFileWriter writer;
        // The path was resolved and checked just now.
        writer.SetFollowLinks(false);
        if (writer.Open(check.target) && writer.Write(SaveToText()) && writer.Commit()) {
            r.outcome = r.backup.empty() ? CParamSaveReport::WRITTEN
                                         : CParamSaveReport::WRITTEN_AFTER_BACKUP;
            r.error = 0;
        } else {
            r.outcome = CParamSaveReport::FAILED;
            r.error = writer.Error();
        }
    }
    const bool written = r.Written();
    if (report)
        *report = std::move(r);
    return written;
}

// ---------------------------------------------------------------- keys

std::vector<std::string> CParamFile::SplitKey(const std::string& key)
{
    std::vector<std::string> parts;
    size_t pos = 0;
    while (pos < key.size()) {
        size_t colon = key.find(':', pos);
        if (colon == std::string::npos) {
            parts.push_back(key.substr(pos));
            break;
        }
        parts.push_back(key.substr(pos, colon - pos));
        pos = colon + 1;
    }
    return parts;
}

const CParamNode::Leaf* CParamFile::FindLeaf(const std::string& key) const
{
    std::vector<std::string> parts = SplitKey(key);
    if (parts.size() < 2)
        return nullptr;
    const CParamNode* node = &m_tree.Root();
    if (node->m_name != parts[0])
        return nullptr;
    for (size_t i = 1; i + 1 < parts.size(); ++i) {
        node = node->FindChild(parts[i]);
        if (!node)
            return nullptr;
    }
    auto it = node->m_leaves.find(parts.back());
    return it == node->m_leaves.end() ? nullptr : &it->second;
}

bool CParamFile::GetString(const std::string& key, std::string& out, const std::string& def) const
{
    if (const CParamNode::Leaf* leaf = FindLeaf(key)) {
        out = leaf->value;
        return true;
    }
    out = def;
    return false;
}

bool CParamFile::ParseInt(std::string_view text, int32_t& out)
{
    size_t i = 0;
    auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || text[i] < '0' || text[i] > '9')
        return false;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<int64_t>(INT32_MAX) + 1)
            value = static_cast<int64_t>(INT32_MAX) + 1; // saturate, keep reading digits
    }
    if (negative)
        value = -value;
    out = static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
    return true;
}

bool CParamFile::GetInt(const std::string& key, int32_t& out, int32_t def) const
{
    const CParamNode::Leaf* leaf = FindLeaf(key);
    if (!leaf) {
        out = def;
        return false;
    }
    ParseInt(leaf->value, out);
    return true;
}

bool CParamFile::GetInt(const std::string& key, int32_t& out) const
{
    const CParamNode::Leaf* leaf = FindLeaf(key);
    if (!leaf)
        return false;
    ParseInt(leaf->value, out);
    return true;
}

bool CParamFile::SetString(const std::string& key, std::string_view value)
{
    std::vector<std::string> parts = SplitKey(key);
    if (parts.size() < 2)
        return false;
    CParamNode* node = &m_tree.Root();
    // A root of another name takes the key's first segment; what it holds
    // stays, and the rest of the path is looked up below it as usual.
    if (node->m_name != parts[0])
        node->m_name = parts[0];
    for (size_t i = 1; i + 1 < parts.size(); ++i) {
        CParamNode* child = node->FindChild(parts[i]);
        node = child ? child : node->AppendChild(parts[i], std::string());
    }
    // The value is kept whole, zero bytes included: the file carries them
    // and the reader gives them back.
    node->SetLeaf(parts.back(), std::string(value));
    return true;
}

bool CParamFile::SetInt(const std::string& key, int32_t value)
{
    return SetString(key, std::to_string(value));
}
