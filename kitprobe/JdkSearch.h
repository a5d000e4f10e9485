// The whole JDK search: every drive of this machine walked in turn, the
// finds of all drives in one set of lists.
#pragma once

#include "kitprobe/JdkFinds.h"
#include "kitprobe/JdkWalker.h"

#include <string>
#include <vector>

class CJdkSearch {
public:
    // The roots to walk: the drives of the mount table, or, when the
    // environment variable KIB_KITPROBE_TEST_DRIVES is set (tests only), the
    // folders it lists, separated by ':'.
    static std::vector<std::string> SearchRoots();

    // Walks the roots one after the other, not descending into any mount
    // point of this machine.
    static CJdkFinds Run(const std::vector<std::string>& roots,
                         const CJdkWalker::Progress& progress = {},
                         uint64_t* foldersSearched = nullptr);

    static constexpr const char* kTestDrivesVariable = "KIB_KITPROBE_TEST_DRIVES";
};
