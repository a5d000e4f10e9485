// Saving a document whose file has other hard links: the save stays atomic,
// the other names keep the old text, and the user is told once.
#include "ShellTestSupport.h"

#include "resources/CommandIds.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace kibtest;
using namespace kib;

TEST_F(ShellTest, SavingOverAHardLinkedFileSaysThatTheOtherNamesKeepTheOldText)
{
    std::string a = File("A.java", "class A {}\r\n");
    std::string b = dir + "B.java";
    ASSERT_EQ(link(a.c_str(), b.c_str()), 0);
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(a);
    ASSERT_NE(doc, nullptr);
    int el, ec;
    doc->Buffer().InsertTextAt(nullptr, 0, 0, "// neu\r\n", el, ec, ACT_TYPING);
    Frame()->RouteCommand(ID_FILE_SAVE);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(ReadFile(a), "// neu\r\nclass A {}\r\n");
    EXPECT_EQ(ReadFile(b), "class A {}\r\n");
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text,
              a + "\nDie Datei hatte weitere Namen (harte Verknüpfungen). Sie wurde als eigene "
                  "Datei gespeichert; unter den anderen Namen steht weiterhin der bisherige Text.");
    EXPECT_EQ(dialogs.asked[0].style & (wxYES_NO | wxCANCEL), 0);

    // The file has one name now: the next save says nothing.
    doc->Buffer().InsertTextAt(nullptr, 0, 0, "x", el, ec, ACT_TYPING);
    Frame()->RouteCommand(ID_FILE_SAVE);
    EXPECT_EQ(dialogs.asked.size(), 1u);
}
