#include "toolchain/UserTools.h"

#include "platform/CommandLine.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

using namespace toolchain;
using Words = std::vector<std::string>;

namespace {

std::string Expanded(const std::string& args, const std::string& doc, const std::string& dest = "")
{
    return ToolArgumentText(ExpandToolMacros(args, ToolMacroValues(doc, dest)));
}

std::string Script(const kibtest::CTempDir& dir, const std::string& name, const std::string& body)
{
    std::string path = dir.File(name);
    kibtest::WriteFile(path, "#!/bin/sh\n" + body);
    chmod(path.c_str(), 0755);
    return path;
}

// Waits up to five seconds for a file to have content.
std::string WaitFor(const std::string& path)
{
    for (int i = 0; i < 500; ++i) {
        std::string text = kibtest::ReadFile(path);
        if (!text.empty())
            return text;
        usleep(10000);
    }
    return {};
}

using ScopedVariable = kibtest::CScopedEnv;

} // namespace

TEST(ToolMacros, ValuesOfADocumentAndOfAnUnsavedOne)
{
    CToolMacroValues v = ToolMacroValues("/src/Hello.java", "/out");
    EXPECT_EQ(v.file, "Hello");
    EXPECT_EQ(v.source, "Hello.java");
    EXPECT_EQ(v.klass, "Hello.class");
    EXPECT_EQ(v.path, "/src/") << "the folder with its separator";
    EXPECT_EQ(v.destpath, "/out");
    EXPECT_EQ(v.workDir, "/src");
    v = ToolMacroValues("/Top.java", "");
    EXPECT_EQ(v.path, "/");
    EXPECT_EQ(v.workDir, "/") << "the root stays a folder";
    v = ToolMacroValues("/a.b/Some.Name.java", "");
    EXPECT_EQ(v.file, "Some.Name");
    EXPECT_EQ(v.klass, "Some.Name.class");
    v = ToolMacroValues("", "/out");
    EXPECT_EQ(v.file + v.source + v.klass + v.path + v.workDir, "") << "a document never saved";
    EXPECT_EQ(v.destpath, "/out") << "the option does not depend on the document";
}

TEST(ToolMacros, ExamplesAndTheOrderOfReplacement)
{
    EXPECT_EQ(Expanded("-d $destpath $source", "/src/Hello.java", "/out"), "-d /out Hello.java");
    EXPECT_EQ(Expanded("$path$class", "/src/Hello.java"), "/src/Hello.class");
    EXPECT_EQ(Expanded("$FILE $Source $CLASS $PATH $DESTPATH", "/src/Hello.java", "/out"),
              "$FILE $Source $CLASS $PATH $DESTPATH")
        << "upper-case macros are left alone";
    EXPECT_EQ(Expanded("$file$file.txt $files", "/src/A.java"), "AA.txt As") << "every occurrence, left to right";
    EXPECT_EQ(Expanded("$sourcex $classpath", "/src/A.java"), "A.javax A.classpath");
    EXPECT_EQ(Expanded("$destpath", "/src/A.java", "/o"), "/o") << "$path inside $destpath is not taken first";
    EXPECT_EQ(Expanded("-d $destpath $source", "", "/out"), "-d /out ") << "empty values without a path";
    EXPECT_EQ(Expanded("", "/src/A.java"), "");
    EXPECT_EQ(Expanded("$", "/src/A.java"), "$");
}

TEST(ToolMacros, InsertedTextIsNeverScannedAgain)
{
    // A folder whose name spells macros: the literal text stays.
    EXPECT_EQ(Expanded("$path", "/x/$file $source/A.java"), "/x/$file $source/");
    EXPECT_EQ(Expanded("$file", "/x/$class.java"), "$class");
    EXPECT_EQ(Expanded("$destpath/$file", "/x/B.java", "/$file"), "/$file/B");
    std::vector<CToolArgPiece> pieces = ExpandToolMacros("-o $path$class", ToolMacroValues("/s/H.java", ""));
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_FALSE(pieces[0].value);
    EXPECT_TRUE(pieces[1].value);
    EXPECT_TRUE(pieces[2].value);
}

TEST(ToolArguments, TypedTextIsSplitButMacroValuesStayWhole)
{
    EXPECT_EQ(ToolArguments("-d $destpath $source", ToolMacroValues("/s/Hello.java", "/out")),
              (Words{"-d", "/out", "Hello.java"}));
    // The user's own quoting groups words; a macro inside quotes stays in them.
    EXPECT_EQ(ToolArguments("\"a b\" \"x $file y\" c\\\"d", ToolMacroValues("/s/H.java", "")),
              (Words{"a b", "x H y", "c\"d"}));
    const std::string nasty = "/tmp/a b \"q\" $(touch x) `id`; rm -rf ~ \\\"/";
    CToolMacroValues v = ToolMacroValues(nasty + "F \" x.java", "/d e\"");
    EXPECT_EQ(ToolArguments("$path -o $destpath", v), (Words{nasty, "-o", "/d e\""}));
    EXPECT_EQ(ToolArguments("--in=$path$source", v), (Words{"--in=" + nasty + "F \" x.java"}));
    // Quotes opened by the user close after the value, not inside it.
    EXPECT_EQ(ToolArguments("\"$file\" next", v), (Words{"F \" x", "next"}));
    // An empty value adds no word.
    EXPECT_EQ(ToolArguments("$file -v", ToolMacroValues("", "")), (Words{"-v"}));
    EXPECT_EQ(ToolArguments("\"\" $file", ToolMacroValues("", "")), (Words{""})) << "typed \"\" stays a word";
}

TEST(ToolLaunch, TerminalDirectOpenerOrNothing)
{
    kibtest::CTempDir dir;
    std::string prog = Script(dir, "fmt tool", "exit 0\n");
    std::string doc = dir.File("manual.pdf");
    kibtest::WriteFile(doc, "%PDF-1.4\n");
    std::string opener = Script(dir, "xdg-open", "exit 0\n");
    const std::string path = dir.Path() + ":/usr/bin:/bin";

    CToolEntry tool{"Fmt", "-i $source", prog, 1, 0};
    CToolLaunch l = BuildToolLaunch(tool, "/s/A.java", "", path);
    EXPECT_EQ(l.how, EToolStart::Terminal);
    EXPECT_EQ(l.argv, (Words{prog, "-i", "A.java"}));
    EXPECT_EQ(l.workDir, "/s");

    tool.stop = 0;
    l = BuildToolLaunch(tool, "/s/A.java", "", path);
    EXPECT_EQ(l.how, EToolStart::Direct);
    EXPECT_EQ(l.argv, (Words{prog, "-i", "A.java"}));
    tool.path = "fmt tool"; // a bare name through PATH
    EXPECT_EQ(BuildToolLaunch(tool, "/s/A.java", "", path).argv[0], prog);
    tool.stop = 7; // anything but 1 opens without a terminal
    EXPECT_EQ(BuildToolLaunch(tool, "/s/A.java", "", path).how, EToolStart::Direct);

    tool = CToolEntry{"Handbuch", "$file", doc, 0, 0};
    l = BuildToolLaunch(tool, "/s/A.java", "", path);
    EXPECT_EQ(l.how, EToolStart::Opener);
    EXPECT_EQ(l.argv, (Words{opener, doc})) << "a document goes to the opener alone";
    tool.path = "https://example.org/doc";
    EXPECT_EQ(BuildToolLaunch(tool, "", "", path).argv, (Words{opener, "https://example.org/doc"}));

    tool.path = dir.File("nothing here");
    EXPECT_EQ(BuildToolLaunch(tool, "/s/A.java", "", path).how, EToolStart::Missing);
    EXPECT_EQ(StartToolLaunch(BuildToolLaunch(tool, "/s/A.java", "", path)), ENOENT);
    tool.path.clear();
    EXPECT_EQ(BuildToolLaunch(tool, "/s/A.java", "", path).how, EToolStart::Missing);
    tool.path = "-rf";
    EXPECT_EQ(BuildToolLaunch(tool, "/s/A.java", "", path).how, EToolStart::Missing);
}

TEST(ToolLaunch, HostileFileNamesReachTheProgramAsSingleArgumentsInEveryWay)
{
    kibtest::CTempDir dir;
    // A folder and a file named to break out of any shell that parsed them;
    // a shell that did would leave "canary" in the folder it ran in.
    const std::string canary = "kib-tool-canary";
    std::string folder = dir.File("a b \"q\" $(touch " + canary + ") `touch " + canary + "`; touch " + canary);
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    std::string docPath = folder + "/It's $(touch " + canary + ");x.java";
    kibtest::WriteFile(docPath, "class X {}\n");
    std::string seen = dir.File("seen");
    std::string prog = Script(dir, "show", "{ pwd; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > '" + seen + "'\n");
    std::string term = Script(dir, "term", "[ \"$1\" = -e ] && shift\nexec \"$@\" </dev/null >/dev/null 2>&1\n");
    ScopedVariable terminal("TERMINAL", term);
    ScopedVariable shell("SHELL", "/bin/sh");
    const std::string expected = folder + "\n[" + folder + "/]\n[It's $(touch " + canary + ");x.class]\n[-v]\n";

    for (int stop : {1, 0}) {
        SCOPED_TRACE(stop);
        unlink(seen.c_str());
        CToolEntry tool{"Show", "$path \"$class\" -v", prog, stop, 0};
        CToolLaunch l = BuildToolLaunch(tool, docPath, "", "/usr/bin:/bin");
        EXPECT_EQ(l.how, stop ? EToolStart::Terminal : EToolStart::Direct);
        ASSERT_EQ(StartToolLaunch(l), 0);
        EXPECT_EQ(WaitFor(seen), expected);
    }
    usleep(100000);
    for (const std::string& where : {dir.Path(), folder, std::string(".")})
        EXPECT_FALSE(kibtest::Exists(where + "/" + canary)) << "no shell ever parsed a file name: " << where;
}

TEST(ToolLaunch, OpenerGetsTheDocumentInItsFolder)
{
    kibtest::CTempDir dir;
    std::string seen = dir.File("seen");
    Script(dir, "xdg-open", "{ pwd; printf '[%s]\\n' \"$@\"; } > '" + seen + "'\n");
    std::string folder = dir.File("docs");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    std::string pdf = dir.File("Hand buch.pdf");
    kibtest::WriteFile(pdf, "%PDF-1.4\n");
    CToolEntry tool{"PDF", "-x", pdf, 0, 0};
    CToolLaunch l = BuildToolLaunch(tool, folder + "/A.java", "", dir.Path() + ":/bin");
    ASSERT_EQ(l.how, EToolStart::Opener);
    ASSERT_EQ(StartToolLaunch(l), 0);
    EXPECT_EQ(WaitFor(seen), folder + "\n[" + pdf + "]\n");
    // Without an opener the start fails instead of doing nothing.
    l = BuildToolLaunch(tool, folder + "/A.java", "", "/nonexistent");
    EXPECT_EQ(StartToolLaunch(l), ENOENT);
}
