// Test helper for the end-to-end tests of Kitprobe: writes a kibparam.xml
// exactly as Kib saves its settings, with some settings changed from their
// defaults so that a rewrite that loses or alters them shows.
//
//   kitprobe_kibparam_tool write <file>
//   kitprobe_kibparam_tool get <file> <key>    prints the value, exit 1 if absent
#include "settings/ParamFile.h"
#include "settings/Settings.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int Write(const char* fileName)
{
    CSettings s;
    s.m_compilerPath = "/opt/old-jdk/bin/javac";
    s.m_interpreterPath = "/opt/old-jdk/bin/java";
    s.m_appletViewerPath = "/opt/old-jdk/bin/appletviewer";
    s.m_docuPath = "/opt/old-jdk/docs/index.html";
    s.m_classPath = ".:/opt/lib/eins.jar";
    s.m_destinationPath = "/home/anna/klassen";
    s.m_setDestinationPath = 1;
    s.m_tabWidth = 8;
    s.m_showLineNumbers = 1;
    s.m_windowBackground = RGB(250, 250, 240);
    s.m_fileExtensions = {".java", ".txt"};
    s.m_textBlocks[0].name = "Gr\xfc\xdf" "e";
    s.m_textBlocks[0].content = "// Hallo <Welt>\r\n\t\xa7";
    CToolEntry tool;
    tool.name = "Liste";
    tool.path = "/bin/ls";
    tool.args = "-l $path";
    s.m_tools.push_back(tool);
    s.m_startFiles = {"/home/anna/Hallo.java"};
    s.m_curStartFile = 0;
    if (!s.SaveFile(fileName, 96)) {
        std::fprintf(stderr, "cannot write %s\n", fileName);
        return 2;
    }
    return 0;
}

int Get(const char* fileName, const char* key)
{
    CParamFile file;
    file.Load(fileName);
    std::string value;
    if (!file.GetString(key, value, ""))
        return 1;
    std::fwrite(value.data(), 1, value.size(), stdout);
    std::fputc('\n', stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "write") == 0)
        return Write(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "get") == 0)
        return Get(argv[2], argv[3]);
    std::fprintf(stderr, "usage: %s write <file> | get <file> <key>\n", argv[0]);
    return 2;
}
