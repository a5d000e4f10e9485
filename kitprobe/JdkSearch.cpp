#include "kitprobe/JdkSearch.h"

#include "kitprobe/DriveTable.h"

#include <cstdlib>

std::vector<std::string> CJdkSearch::SearchRoots()
{
    if (const char* test = std::getenv(kTestDrivesVariable)) {
        std::vector<std::string> roots;
        std::string list = test;
        size_t pos = 0;
        while (pos <= list.size()) {
            size_t end = list.find(':', pos);
            if (end == std::string::npos)
                end = list.size();
            if (end > pos)
                roots.push_back(list.substr(pos, end - pos));
            pos = end + 1;
        }
        return roots;
    }
    CDriveTable table;
    table.LoadSystem();
    return table.Drives();
}

CJdkFinds CJdkSearch::Run(const std::vector<std::string>& roots,
                          const CJdkWalker::Progress& progress, uint64_t* foldersSearched)
{
    CDriveTable table;
    table.LoadSystem();
    CJdkWalker walker;
    walker.SetProgress(progress);
    walker.SetMountPoints(table.MountPoints());
    for (const std::string& root : roots)
        walker.SearchRoot(root);
    if (foldersSearched)
        *foldersSearched = walker.FoldersSearched();
    return walker.TakeFinds();
}
