#include "toolchain/ChildConsole.h"

#include "platform/Process.h"

#include <algorithm>
#include <cctype>

namespace toolchain {

namespace {

constexpr const char* kUtf8Locale = "C.UTF-8";

// The categories LC_ALL sets, LC_CTYPE apart.
constexpr const char* kOtherCategories[] = {
    "LC_COLLATE", "LC_MESSAGES", "LC_MONETARY", "LC_NUMERIC", "LC_TIME", "LC_ADDRESS",
    "LC_IDENTIFICATION", "LC_MEASUREMENT", "LC_NAME", "LC_PAPER", "LC_TELEPHONE"};

std::string ValueOf(const std::vector<std::string>& environment, const char* name)
{
    const char* v = platform::FindVariable(environment, name);
    return v ? v : "";
}

} // namespace

std::string CharacterLocale(const std::vector<std::string>& environment)
{
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        std::string v = ValueOf(environment, name);
        if (!v.empty())
            return v;
    }
    return "C";
}

bool IsUtf8Codeset(const std::string& codeset)
{
    std::string s;
    for (char c : codeset)
        if (c != '-' && c != '_')
            s.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return s == "utf8";
}

CChildConsole Utf8Console(std::vector<std::string> environment, const CodesetLookup& codesetOf)
{
    CChildConsole console;
    const std::string codeset = codesetOf(CharacterLocale(environment));
    if (IsUtf8Codeset(codeset)) {
        console.environment = std::move(environment);
        return console;
    }
    if (!codeset.empty() && textencoding::EncodingForCodeset(codeset) == TextEncoding::Cp1252) {
        console.environment = std::move(environment);
        console.output = TextEncoding::Cp1252;
        console.utf8 = false;
        return console;
    }
    const std::string all = ValueOf(environment, "LC_ALL");
    if (!all.empty()) {
        for (const char* name : kOtherCategories)
            environment = platform::WithVariable(std::move(environment), name, all);
        std::erase_if(environment, [](const std::string& e) { return e.rfind("LC_ALL=", 0) == 0; });
    }
    console.environment = platform::WithVariable(std::move(environment), "LC_CTYPE", kUtf8Locale);
    return console;
}

std::string SourceEncodingOption(TextEncoding document, const CChildConsole& console)
{
    if (document == TextEncoding::Utf8)
        return console.utf8 ? std::string() : "UTF-8";
    return "windows-1252";
}

} // namespace toolchain
