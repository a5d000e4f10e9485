// The file-name mask of the explorer as a list of extensions: "*.java;*.class"
// becomes ".java", ".class"; written back as ".java;.class;".
#pragma once

#include <string>
#include <vector>

class CExtensionList {
public:
    // Splits at ";" (empty pieces skipped) and keeps each piece's extension:
    // from the last "." of its last path component, dot included; a piece
    // without a dot gives an empty extension, which stays in the list.
    static std::vector<std::string> Split(const std::string& mask);
    // Each extension followed by ";".
    static std::string Join(const std::vector<std::string>& extensions);
};
