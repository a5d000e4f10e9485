// The update server's version file on arbitrary bytes: every value stays
// within its room, reading is independent of the case of section and key
// names, and VersionToNumber of any value neither faults nor goes negative.
#include "update/VersionFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view in(reinterpret_cast<const char*>(data), size);
    update::CVersionInfo v = update::ParseVersionFile(in);
    if (v.version.size() > 299 || v.info.size() > 2083 || v.download.size() > 2083 || v.title.size() > 199 ||
        v.size.size() > 99 || v.date.size() > 19 || v.details.size() > 999)
        std::abort();
    // The same text with every ASCII letter in upper case reads the same
    // version when no value had lower-case letters to lose.
    std::string upper(in);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    if (v.version.find_first_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos &&
        update::ParseVersionFile(upper).version.size() != v.version.size())
        std::abort();
    for (const std::string* s : {&v.version, &v.size, &v.date, &v.info})
        for (char sep : {'.', ',', '\n'})
            if (update::VersionToNumber(*s, sep) < 0)
                std::abort();
    if (update::VersionToNumber(in, '.') < 0)
        std::abort();
    update::IsNewerVersion(in.substr(0, size / 2), v.version);
    return 0;
}
