// The commands that convert the active document between UTF-8 and
// Windows-1252 in the real main window: their menu items and enabling, one
// undo step for bytes and encoding, the status pane, and the refusal of a
// character the code page lacks. With KIB_SCREENSHOT_DIR set the converted
// window is saved as a PNG of the screen.
#include "ShellTestSupport.h"

#include "resources/CommandIds.h"

using namespace kibtest;
using namespace kib;

namespace {

std::string Bytes(const CTextBuffer& b)
{
    std::string all;
    for (int y = 0; y < b.LineCount(); ++y) {
        if (y)
            all += "|";
        all += b.LineText(y);
    }
    return all;
}

class EncodingConvertTest : public ShellTest {
protected:
    std::string EncodingPane()
    {
        Frame()->UpdateStatusPanes();
        return Frame()->StatusText(CMainFrame::PANE_ENCODING).utf8_string();
    }
    // The menu bar's item: its label and whether it is enabled.
    std::pair<std::string, bool> Item(int command)
    {
        Frame()->UpdateWindowUI();
        wxMenuItem* item = Frame()->GetMenuBar()->FindItem(ToWxId(command));
        if (!item)
            return {"", false};
        return {item->GetItemLabel().utf8_string(), item->IsEnabled()};
    }
    void Shot(const std::string& name)
    {
        Frame()->Refresh();
        Frame()->Update();
        PumpEvents(300);
        SaveScreenIfAsked(name);
    }
};

} // namespace

TEST_F(EncodingConvertTest, ConvertsBothWaysAsOneUndoStep)
{
    const std::string path =
        File("Gruss.java", "// Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln: \xE2\x82\xAC\r\nclass Gruss {}\r\n");
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    CKibView* view = doc->GetFirstView();
    PumpEvents(30);
    CTextBuffer& b = doc->Buffer();
    ASSERT_EQ(b.Encoding(), TextEncoding::Utf8);
    EXPECT_EQ(EncodingPane(), "UTF-8");
    EXPECT_EQ(Item(ID_CONVERT_TO_UTF8), std::make_pair(std::string("In &UTF-8 umwandeln"), false));
    EXPECT_EQ(Item(ID_CONVERT_TO_CP1252), std::make_pair(std::string("In &Windows-1252 umwandeln"), true));
    EXPECT_TRUE(EnabledForPopup(view, ID_CONVERT_TO_CP1252));
    EXPECT_FALSE(doc->IsModified());

    // The caret behind "Köln" stays behind it.
    view->PutCaret(TextPos(20, 0));
    ASSERT_TRUE(Frame()->RouteCommand(ID_CONVERT_TO_CP1252));
    const std::string in1252 = "// Gr\xFC\xDF" "e aus K\xF6ln: \x80|class Gruss {}|";
    EXPECT_EQ(Bytes(b), in1252);
    EXPECT_EQ(b.Encoding(), TextEncoding::Cp1252);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(view->GetCaretPos(), TextPos(17, 0));
    EXPECT_EQ(EncodingPane(), "Windows-1252");
    EXPECT_EQ(Item(ID_CONVERT_TO_UTF8).second, true);
    EXPECT_EQ(Item(ID_CONVERT_TO_CP1252).second, false);
    EXPECT_EQ(Item(ID_EDIT_UNDO).first, "&Rückgängig: Kodierung umwandeln\tCtrl+Z");
    Shot("encoding-converted-1252");

    ASSERT_TRUE(Frame()->RouteCommand(ID_EDIT_UNDO));
    EXPECT_EQ(b.Encoding(), TextEncoding::Utf8);
    EXPECT_EQ(Bytes(b), "// Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln: \xE2\x82\xAC|class Gruss {}|");
    EXPECT_EQ(EncodingPane(), "UTF-8");
    EXPECT_FALSE(doc->IsModified());
    ASSERT_TRUE(Frame()->RouteCommand(ID_EDIT_REDO));
    EXPECT_EQ(b.Encoding(), TextEncoding::Cp1252);
    EXPECT_EQ(Bytes(b), in1252);
    EXPECT_EQ(EncodingPane(), "Windows-1252");

    // Saved, the file holds the Windows-1252 bytes; converted back, UTF-8.
    ASSERT_TRUE(Frame()->RouteCommand(ID_FILE_SAVE));
    EXPECT_EQ(ReadFile(path), "// Gr\xFC\xDF" "e aus K\xF6ln: \x80\r\nclass Gruss {}\r\n");
    ASSERT_TRUE(Frame()->RouteCommand(ID_CONVERT_TO_UTF8));
    EXPECT_EQ(b.Encoding(), TextEncoding::Utf8);
    EXPECT_EQ(EncodingPane(), "UTF-8");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(EncodingConvertTest, ACharacterTheCodePageLacksIsNamedWithItsLine)
{
    const std::string bytes = "// \xC3\xA4\r\nString s = \"\xE4\xB8\xAD\";\r\n";
    const std::string path = File("Cjk.java", bytes);
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    PumpEvents(30);
    ASSERT_TRUE(Frame()->RouteCommand(ID_CONVERT_TO_CP1252));
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text,
              "Die Datei kann nicht in Windows-1252 umgewandelt werden: das Zeichen „\xE4\xB8\xAD“ (U+4E2D) in "
              "Zeile 2 gibt es in dieser Kodierung nicht.");
    EXPECT_EQ(dialogs.asked[0].caption, "KIB");
    EXPECT_EQ(doc->Buffer().Encoding(), TextEncoding::Utf8);
    EXPECT_EQ(Bytes(doc->Buffer()), "// \xC3\xA4|String s = \"\xE4\xB8\xAD\";|");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(doc->Buffer().CanUndoStep());
    EXPECT_EQ(EncodingPane(), "UTF-8");
}
