#include "editor/JavaColoring.h"
#include "editor/TextColors.h"

#include <gtest/gtest.h>

TEST(TextColors, DefaultsAreTheSettingsDefaults)
{
    const CSettings defaults;
    const CTextColors colors;
    EXPECT_EQ(colors.TextColor(CI_WND), defaults.m_windowForeground);
    EXPECT_EQ(colors.BackColor(CI_WND), defaults.m_windowBackground);
    EXPECT_EQ(colors.BackColor(CI_SELECTION), defaults.m_selectionBackground);
    const CHighlightStyle& keyword = defaults.m_highlight[HL_KEYWORD];
    EXPECT_EQ(colors.TextColor(CI_KEYWORD), keyword.foreground);
    EXPECT_EQ(colors.IsBold(CI_KEYWORD), (keyword.style & STYLE_BOLD) != 0);
}

TEST(TextColors, FixedAndSharedClasses)
{
    CTextColors colors;
    EXPECT_EQ(colors.TextColor(CI_DIRECTIVE), CTextColors::kDirectiveColor);
    EXPECT_EQ(colors.BackColor(CI_DIRECTIVE), colors.BackColor(CI_WND));
    EXPECT_EQ(colors.TextColor(CI_COLUMNGUIDE), CTextColors::kColumnGuideColor);
    EXPECT_FALSE(colors.SetTextColor(CI_DIRECTIVE, 0x123456)) << "fixed";
    EXPECT_EQ(colors.TextColor(CI_DIRECTIVE), CTextColors::kDirectiveColor);
    // White space inside code is drawn in the window's colours.
    EXPECT_TRUE(colors.SetBackColor(CI_WHITESPACE, 0x010203));
    EXPECT_EQ(colors.BackColor(CI_WND), 0x010203u);
    // Unknown classes read as function names.
    EXPECT_EQ(colors.TextColor(77), colors.TextColor(CI_FUNCTION));
}

TEST(TextColors, StylesOnlyForHighlightedClasses)
{
    CTextColors colors;
    EXPECT_TRUE(colors.SetStyle(CI_STRING, STYLE_ITALIC | 4));
    EXPECT_TRUE(colors.IsItalic(CI_STRING));
    EXPECT_FALSE(colors.IsBold(CI_STRING));
    EXPECT_EQ(colors.Style(CI_STRING), STYLE_ITALIC | 4);
    EXPECT_FALSE(colors.SetStyle(CI_STRING, STYLE_ITALIC | 4)) << "no change";
    EXPECT_EQ(colors.SetStyle(CI_STRING, 0xFF), true);
    EXPECT_EQ(colors.Style(CI_STRING), 7) << "three bits kept";
    EXPECT_FALSE(colors.SetStyle(CI_WND, STYLE_BOLD));
    EXPECT_FALSE(colors.IsBold(CI_WND));
    EXPECT_EQ(colors.Style(CI_MARGIN), 0);
    EXPECT_TRUE(colors.SetStyle(CI_BRACEMATCH, STYLE_BOLD));
    EXPECT_TRUE(colors.IsBold(CI_BRACEMATCH));
    EXPECT_TRUE(colors.SetTextColor(CI_NUMBER, 0xABCDEF));
    EXPECT_FALSE(colors.SetTextColor(CI_NUMBER, 0xABCDEF));
}
