// Walks the folders of one drive depth first for the programs of a JDK and
// for JDK documentation folders (a folder holding "tooldocs"). Symbolic
// links and hidden (dot) folders are not entered, nor is any folder on
// another mounted file system; folders that cannot be read are skipped.
#pragma once

#include "kitprobe/JdkFinds.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class CJdkWalker {
public:
    // Told the folder (ending in a separator) about to be searched. Runs on
    // the walking thread.
    using Progress = std::function<void(const std::string& folder)>;

    void SetProgress(Progress progress) { m_progress = std::move(progress); }
    // Mount points (without trailing separator) the walk must not descend
    // into; the drive being walked may be among them.
    void SetMountPoints(const std::vector<std::string>& mountPoints);

    // Searches the folder tree below root; a missing or unreadable root
    // yields nothing.
    void SearchRoot(const std::string& root);

    const CJdkFinds& Finds() const { return m_finds; }
    CJdkFinds TakeFinds() { return std::move(m_finds); }
    // Folders opened and enumerated so far, the roots included.
    uint64_t FoldersSearched() const { return m_folders; }

    // Which program a file name stands for, compared without case; -1 when
    // none.
    static int ClassifyFileName(std::string_view name);
    // Whether a path can be stored in the settings file unchanged: the file
    // format has no escaping, so "<" and ">" would break it.
    static bool IsStorablePath(std::string_view path);

private:
    void AddFile(EJdkFind kind, int dirFd, const char* name, const std::string& folder);

    Progress m_progress;
    std::set<std::string, std::less<>> m_mountPoints;
    CJdkFinds m_finds;
    uint64_t m_folders = 0;
};
