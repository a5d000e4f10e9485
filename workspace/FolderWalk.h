// Walks a folder and, when asked, its subfolders depth first in the order the
// file system lists them, and opens each regular file it comes to. Symbolic
// links to folders are not followed, a folder already being walked is not
// entered again, pseudo file systems are not entered, and unreadable folders
// and files are skipped. No folder handle stays open once the walk is over.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct WalkFile {
    std::string path; // full path
    std::string name; // the name within its folder
    int fd = -1;      // open for reading; the walk closes it with the next step
};

class CFolderWalk {
public:
    CFolderWalk() = default;
    ~CFolderWalk();
    CFolderWalk(const CFolderWalk&) = delete;
    CFolderWalk& operator=(const CFolderWalk&) = delete;

    // Only files whose name this accepts are opened (folders are always
    // walked). Without it every file is.
    void SetNameFilter(std::function<bool(std::string_view)> accept) { m_accept = std::move(accept); }

    // Starts at folder (made absolute); false, with a walk that yields
    // nothing, when the folder cannot be opened or listed.
    bool Start(const std::string& folder, bool recursive);

    // The next regular file, opened; false when the walk is over.
    bool Next(WalkFile& file);

    // Ends the walk and closes everything it holds.
    void Stop();

    // 0 while the start folder is walked, 1 in its subfolder and so on; -1
    // when no walk is going on.
    int Depth() const { return static_cast<int>(m_levels.size()) - 1; }
    const std::string& StartFolder() const { return m_start; }

    // Folders and files that were skipped because they could not be opened
    // or listed.
    int UnreadableFolders() const { return m_unreadableFolders; }
    int UnreadableFiles() const { return m_unreadableFiles; }
    // Folders not entered because they were already being walked (a loop
    // through a bind mount) or lie on a pseudo file system.
    int FoldersNotEntered() const { return m_foldersNotEntered; }

private:
    struct Entry {
        std::string name;
        unsigned char type;
    };
    struct Level {
        int fd = -1;
        std::string path;
        dev_t dev = 0;
        ino_t ino = 0;
        std::vector<Entry> entries;
        size_t next = 0;
    };

    bool Push(int fd, std::string path);
    void EnterFolder(const std::string& name);
    bool OpenFile(const Level& level, const Entry& entry, unsigned char type, WalkFile& file);
    void CloseCurrentFile();

    std::function<bool(std::string_view)> m_accept;
    bool m_recursive = false;
    std::string m_start;
    std::vector<Level> m_levels;
    int m_currentFd = -1;
    int m_unreadableFolders = 0;
    int m_unreadableFiles = 0;
    int m_foldersNotEntered = 0;
};
