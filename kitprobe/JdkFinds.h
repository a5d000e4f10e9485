// The five result lists of a JDK search (compilers, interpreters, applet
// viewers, documentation generators, documentation folders), each holding
// full paths in the order they were found.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

enum EJdkFind : int {
    FIND_COMPILER,
    FIND_INTERPRETER,
    FIND_APPLETVIEWER,
    FIND_DOCGENERATOR,
    FIND_DOCUMENTATION,
    FIND_KINDS
};

class CJdkFinds {
public:
    void Add(EJdkFind kind, std::string path);
    const std::vector<std::string>& List(EJdkFind kind) const;
    bool Empty() const;

    // The list in the order a sorted list box shows it: letters compared
    // without case, ties broken byte by byte so the order is total.
    std::vector<std::string> Sorted(EJdkFind kind) const;
    static bool DisplayLess(std::string_view a, std::string_view b);

    // The name of the program a kind stands for on this platform ("javac",
    // "javac.exe" on Windows); empty for the documentation.
    static const char* ProgramName(EJdkFind kind);

private:
    std::array<std::vector<std::string>, FIND_KINDS> m_lists;
};
