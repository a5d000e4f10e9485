// The options dialog's rules without its windows: number fields, lists whose
// entries share controls, the restore defaults and which settings a
// confirmed dialog hands over.
#include "options/CurrentEntryList.h"
#include "options/EditedSettings.h"
#include "options/IntegerField.h"
#include "options/OptionDefaults.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

TEST(IntegerField, NumbersBlanksSignsAndBounds)
{
    int v = -7;
    EXPECT_EQ(CIntegerField::Parse("4", 1, 20, v), CIntegerField::OK);
    EXPECT_EQ(v, 4);
    EXPECT_EQ(CIntegerField::Parse("  20 ", 1, 20, v), CIntegerField::OK);
    EXPECT_EQ(v, 20);
    EXPECT_EQ(CIntegerField::Parse("+1", 1, 20, v), CIntegerField::OK);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(CIntegerField::Parse("0", 0, 200, v), CIntegerField::OK);
    EXPECT_EQ(v, 0);
    v = 9;
    EXPECT_EQ(CIntegerField::Parse("0", 1, 20, v), CIntegerField::OUT_OF_RANGE);
    EXPECT_EQ(CIntegerField::Parse("21", 1, 20, v), CIntegerField::OUT_OF_RANGE);
    EXPECT_EQ(CIntegerField::Parse("-3", 1, 20, v), CIntegerField::OUT_OF_RANGE);
    EXPECT_EQ(CIntegerField::Parse("99999999999999999999", 1, 20, v), CIntegerField::OUT_OF_RANGE);
    EXPECT_EQ(CIntegerField::Parse("", 1, 20, v), CIntegerField::NOT_A_NUMBER);
    EXPECT_EQ(CIntegerField::Parse("  ", 1, 20, v), CIntegerField::NOT_A_NUMBER);
    EXPECT_EQ(CIntegerField::Parse("-", 1, 20, v), CIntegerField::NOT_A_NUMBER);
    EXPECT_EQ(CIntegerField::Parse("4a", 1, 20, v), CIntegerField::NOT_A_NUMBER);
    EXPECT_EQ(CIntegerField::Parse("4 4", 1, 20, v), CIntegerField::NOT_A_NUMBER);
    EXPECT_EQ(CIntegerField::Parse("1.5", 1, 20, v), CIntegerField::NOT_A_NUMBER);
    EXPECT_EQ(v, 9); // refused values leave it alone
}

TEST(CurrentEntryList, SelectionStoresWhatIsShownIntoTheEntryLeft)
{
    CCurrentEntryList<int> list({10, 20, 30});
    EXPECT_EQ(list.Current(), 0);
    // Entry 0 shows 10; the user changes it to 11, then goes to entry 2.
    EXPECT_EQ(list.Select(2, 11), 30);
    EXPECT_EQ(list.Value(0), 11);
    EXPECT_EQ(list.Current(), 2);
    // Back: the change is there.
    EXPECT_EQ(list.Select(0, 30), 11);
    // OK stores the shown values of the current entry.
    list.Commit(12);
    EXPECT_EQ(list.Value(0), 12);
    // An index out of range keeps the current entry.
    EXPECT_EQ(list.Select(7, 12), 12);
    EXPECT_EQ(list.Current(), 0);
}

TEST(CurrentEntryList, RestoreKeepsWhatTheControlsShowForTheCurrentEntry)
{
    // The syntax page with "Operatoren" selected and showing colours of its
    // own: restore, then select "Schlüsselwörter".
    const auto defaults = COptionDefaults::SyntaxColours();
    std::vector<CHighlightStyle> stored = defaults;
    const int keyword = 0, operators = 7;
    stored[keyword] = {1, 2, 0};
    CCurrentEntryList<CHighlightStyle> list(stored);
    list.Select(operators, list.Value(0));
    const CHighlightStyle shownOperator{0x123456, 0x654321, STYLE_BOLD};
    list.Restore(defaults);
    const CHighlightStyle keywordShown = list.Select(keyword, shownOperator);
    EXPECT_EQ(list.Value(operators), shownOperator);   // the colours shown before the restore
    EXPECT_EQ(keywordShown, defaults[keyword]);         // Schlüsselwörter shows its default
    EXPECT_EQ(keywordShown.foreground, 16711680u);
}

TEST(OptionDefaults, WhatTheRestoreButtonsPutBack)
{
    const auto window = COptionDefaults::WindowColours();
    ASSERT_EQ(window.size(), 3u);
    EXPECT_EQ(window[0], (CHighlightStyle{0, 16777215, 0}));
    EXPECT_EQ(window[1], (CHighlightStyle{16777215, 12546160, 0}));
    EXPECT_EQ(window[2], (CHighlightStyle{12546160, 15395562, 0}));

    const auto syntax = COptionDefaults::SyntaxColours();
    const auto& order = COptionDefaults::SyntaxOrder();
    ASSERT_EQ(syntax.size(), order.size());
    // Equal to the settings' defaults except the operators' dark blue.
    const CSettings defaults;
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] == HL_OPERATOR) {
            EXPECT_EQ(syntax[i].foreground, 9109504u);
            EXPECT_EQ(defaults.m_highlight[HL_OPERATOR].foreground, 0u);
            EXPECT_EQ(syntax[i].background, defaults.m_highlight[HL_OPERATOR].background);
        } else {
            EXPECT_EQ(syntax[i], defaults.m_highlight[static_cast<size_t>(order[i])]) << i;
        }
    }
    EXPECT_EQ(order.front(), HL_KEYWORD);
    EXPECT_EQ(order[1], HL_FUNCTION);
    EXPECT_EQ(order.back(), HL_BRACEMATCH);

    EXPECT_EQ(COptionDefaults::TextBlockContent(0), "if (\xA7)\r\n{\r\n}");
    EXPECT_EQ(COptionDefaults::TextBlockContent(4), "private ");
    EXPECT_EQ(COptionDefaults::TextBlockContent(5), "protected ");
    EXPECT_EQ(COptionDefaults::TextBlockContent(6), "public ");
    EXPECT_EQ(COptionDefaults::TextBlockContent(7), "void ");
    EXPECT_EQ(COptionDefaults::TextBlockContent(8), "static");
    EXPECT_EQ(COptionDefaults::TextBlockContent(11), "public class \xA7\r\n{\r\n}");
}

TEST(EditedSettings, EverythingButIndentToolsAndStartFiles)
{
    CSettings frame;
    frame.m_autoIndent = 0;
    frame.m_tools = {CToolEntry{"ls", "-l", "/bin/ls", 1, 0}};
    frame.m_startFiles = {"/a/A.java"};
    frame.m_curStartFile = 0;
    CSettings edited; // as the dialog left its copy
    edited.m_tabWidth = 9;
    edited.m_compilerPath = "/usr/bin/javac";
    edited.m_textBlocks[3].name = "neu";
    edited.m_autoIndent = 1;
    edited.m_tools.clear();
    CopyEditedSettings(edited, frame);
    EXPECT_EQ(frame.m_tabWidth, 9);
    EXPECT_EQ(frame.m_compilerPath, "/usr/bin/javac");
    EXPECT_EQ(frame.m_textBlocks[3].name, "neu");
    EXPECT_EQ(frame.m_autoIndent, 0);
    ASSERT_EQ(frame.m_tools.size(), 1u);
    EXPECT_EQ(frame.m_tools[0].name, "ls");
    EXPECT_EQ(frame.m_startFiles, std::vector<std::string>{"/a/A.java"});
    EXPECT_EQ(frame.m_curStartFile, 0);
}
