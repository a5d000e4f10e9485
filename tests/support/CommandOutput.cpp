#include "support/CommandOutput.h"

#include "support/JdkSources.h"

#include <cstdio>

namespace kibtest {

std::string CommandOutput(const std::string& shellCommand)
{
    std::string out;
    if (FILE* p = popen(shellCommand.c_str(), "r")) {
        char buf[65536];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        pclose(p);
    }
    return out;
}

std::string JdkSourceFile(const std::string& member)
{
    const std::string zip = FindJdkSourceZip();
    if (zip.empty())
        return {};
    return CommandOutput("unzip -p '" + zip + "' '" + member + "' 2>/dev/null");
}

} // namespace kibtest
