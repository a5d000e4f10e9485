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

private:
    CParamNode m_root;
    CParamNode* m_current = nullptr;
};

class CParamFile {
public:
    // Reads the file and replaces the tree with its content. A file that
    // cannot be opened leaves the tree as it is; returns whether it was read.
    bool Load(const std::string& fileName);
    // Parses text as Load does after reading (CR LF already turned into LF).
    void LoadFromText(std::string text);
    // What a text-mode read makes of raw file bytes: CR LF becomes LF.
    static std::string FromTextMode(std::string_view raw);

    // Writes the whole tree. The old file is replaced only once the new one
    // is complete; returns false (and leaves the old file) on any failure.
    bool Save(const std::string& fileName) const;
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
    void Parse(IParamHandler& handler) const;

    CParamTree m_tree;
    std::string m_text; // the most recently read file
};
