// One folder's entries as the explorer shows them: its folders (hidden ones
// included) and the files a filter lets through, each group sorted by full
// path without regard to case, with whether each folder has anything to show
// and the compressed and encrypted marks where the file system keeps them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct FolderItem {
    enum Attribute : unsigned { Compressed = 1, Encrypted = 2 };
    std::string name;          // bytes as on disk
    std::string path;          // folder + "/" + name
    bool folder = false;       // a folder, or a link to one
    bool link = false;         // a symbolic link (a loop or a dangling one counts as a file)
    bool hasChildren = false;  // folders: holds a folder or a shown file
    unsigned attributes = 0;   // Attribute bits
};

class CFolderListing {
public:
    using FileShown = std::function<bool(std::string_view name)>;

    struct Result {
        std::vector<FolderItem> folders;
        std::vector<FolderItem> files;
        int error = 0; // errno when the folder could not be read
    };

    // Paths that must not be touched (a network mount that may hang): listed
    // as folders with children, without a look at them.
    using Untouchable = std::function<bool(const std::string& path)>;

    // False (error set) when the folder cannot be opened. withChildren: find
    // hasChildren for every folder (one more read per folder).
    static bool List(const std::string& folder, const FileShown& shown, Result& out, bool withChildren = true,
                     const Untouchable& untouchable = nullptr);

    // List on a thread of its own, waited for up to timeoutMs: a folder on
    // a network mount that no longer answers must not hold the caller. On
    // time-out out stays empty (error ETIMEDOUT) and the thread finishes
    // alone; shown is copied for it.
    static bool ListBounded(const std::string& folder, const FileShown& shown, Result& out, int timeoutMs);

    // Whether the folder holds any folder or any file shown; false when it
    // cannot be read. Stops at the first such entry.
    static bool HasChildren(const std::string& folder, const FileShown& shown);

    // Names compared as the tree sorts: ASCII letters without regard to case,
    // then byte for byte so that the order is total.
    static bool Less(std::string_view a, std::string_view b);
    // Items of one folder, by full path.
    static void Sort(std::vector<FolderItem>& items);

    // The compressed and encrypted marks of one path (0 when the file system
    // keeps neither or the path cannot be opened).
    static unsigned Attributes(const std::string& path);

    // folder + "/" + name without doubling the separator.
    static std::string Join(const std::string& folder, std::string_view name);
};
