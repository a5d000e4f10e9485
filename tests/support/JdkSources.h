// The Java sources of an installed JDK (its lib/src.zip), unpacked into a
// temporary folder for the corpus tests, screenshots and benchmarks.
#pragma once

#include <string>
#include <vector>

namespace kibtest {

// JDK 17's src.zip when installed, else that of any JDK below /usr/lib/jvm;
// empty when none is there.
std::string FindJdkSourceZip();

class CJdkSources {
public:
    CJdkSources() = default;
    ~CJdkSources(); // removes the folder
    CJdkSources(const CJdkSources&) = delete;
    CJdkSources& operator=(const CJdkSources&) = delete;

    // Unpacks the sources (only the .java files when javaOnly). inMemory puts
    // them below /dev/shm when that is writable, which spares the disk many
    // synced writes. False when there is no zip or unzip failed.
    bool Unpack(bool javaOnly = true, bool inMemory = false);

    const std::string& Zip() const { return m_zip; }
    // The unpacked tree, empty before a successful Unpack.
    const std::string& Dir() const { return m_dir; }
    // Every .java file below Dir(), sorted.
    std::vector<std::string> JavaFiles() const;

private:
    std::string m_zip;
    std::string m_base; // the temporary folder holding Dir()
    std::string m_dir;
};

} // namespace kibtest
