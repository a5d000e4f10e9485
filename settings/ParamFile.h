// The settings-file component shared by Kib and Kitprobe: a small XML-like
// dialect with one root, nested elements and leaves holding one text value
// each, addressed by colon-separated key paths ("KIBPARAMS:EDITOR:TABWIDTH").
// No declaration, no escaping, no indentation; lines end in CR LF on disk.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One element of the tree.
class CParamNode {
public:
    struct Leaf {
        std::string value;
        std::string attributes; // kept from reading, never written
    };

    CParamNode() = default;
    CParamNode(std::string name, std::string attributes, CParamNode* parent);
    ~CParamNode();
    CParamNode(const CParamNode&) = delete;
    CParamNode& operator=(const CParamNode&) = delete;

    // Destroys all children without recursing once per level.
    void Clear();
    CParamNode* FindChild(std::string_view name) const;
    CParamNode* AppendChild(std::string name, std::string attributes);
    void SetLeaf(std::string name, std::string value, std::string attributes = {});

    std::string m_name;
    std::string m_attributes;
    std::map<std::string, Leaf> m_leaves; // byte-wise order of the names
    std::vector<std::unique_ptr<CParamNode>> m_children;
    CParamNode* m_parent = nullptr;
};

// Receives what the reader finds.
class IParamHandler {
public:
    virtual ~IParamHandler() = default;
    virtual void OnElementStart(const std::string& name, const std::string& attributes) = 0;
    virtual void OnLeafElement(const std::string& name, const std::string& value,
                               const std::string& attributes) = 0;
    virtual void OnElementEnd(const std::string& name, const std::string& attributes) = 0;
};

// The element tree of one file; builds itself from reader events.
class CParamTree : public IParamHandler {
public:
    void Clear();
    CParamNode& Root() { return m_root; }
    const CParamNode& Root() const { return m_root; }

    void OnElementStart(const std::string& name, const std::string& attributes) override;
    void OnLeafElement(const std::string& name, const std::string& value,
                       const std::string& attributes) override;
    void OnElementEnd(const std::string& name, const std::string& attributes) override;

    // Whether reading dropped something it was told: a leaf outside every
    // element, or the name of a top-level element that another replaced.
    bool Dropped() const { return m_dropped; }

private:
    CParamNode m_root;
    CParamNode* m_current = nullptr;
    bool m_rooted = false;
    bool m_dropped = false;
};

struct CParamSaveReport;

class CParamFile {
public:
    // Reads the file and replaces the tree with its content. A file that
    // cannot be opened leaves the tree as it is; returns whether it was read.
    bool Load(const std::string& fileName);
    // Parses text as Load does after reading (CR LF already turned into LF).
    void LoadFromText(std::string text);
    // What a text-mode read makes of raw file bytes: CR LF becomes LF.
    static std::string FromTextMode(std::string_view raw);

    // Whether the most recent read understood all of the text: no element
    // cut off or left open, nothing but blanks and line ends between
    // elements, nothing dropped. An empty text counts as understood.
    bool ReadCompletely() const { return m_complete; }
    // Read completely, and either rooted in an element of that name or
    // holding nothing at all.
    bool IsSettingsFileOf(std::string_view root) const;

    // Writes the whole tree. The old file is replaced only once the new one
    // is complete; returns false (and leaves the old file) on any failure.
    // What is at fileName decides first (see CSettingsFileCheck): a link is
    // followed only to a settings file with this tree's root, and a file
    // that is not one is kept as a backup before it is replaced; anything
    // else is left alone. report, when given, says what happened.
    bool Save(const std::string& fileName, CParamSaveReport* report = nullptr) const;
    // The bytes Save writes.
    std::string SaveToText() const;

    bool GetString(const std::string& key, std::string& out, const std::string& def) const;
    bool GetInt(const std::string& key, int32_t& out, int32_t def) const;
    bool GetInt(const std::string& key, int32_t& out) const;
    // Store the value, creating elements as needed; false only for a key
    // with fewer than two segments, which names no leaf.
    bool SetString(const std::string& key, std::string_view value);
    bool SetInt(const std::string& key, int32_t value);

    static std::vector<std::string> SplitKey(const std::string& key);

    // Reads a decimal integer the way a formatted stream read does: leading
    // white space skipped, optional sign, digits up to the first non-digit,
    // clamped to the 32-bit range. False when no number starts the text.
    static bool ParseInt(std::string_view text, int32_t& out);

    CParamTree& Tree() { return m_tree; }
    const CParamTree& Tree() const { return m_tree; }

private:
    const CParamNode::Leaf* FindLeaf(const std::string& key) const;
    // False when part of the text was not understood.
    bool Parse(IParamHandler& handler) const;

    CParamTree m_tree;
    std::string m_text; // the most recently read file
    bool m_complete = true;
};
