#include "text/Transcode.h"

#include <gtest/gtest.h>

TEST(Transcode, BothWaysAndRefusals)
{
    auto r = transcode::Convert("Gr\xFC\xDF" "e \x80\x81", TextEncoding::Cp1252, TextEncoding::Utf8);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\xC2\x81");
    auto back = transcode::Convert(r.bytes, TextEncoding::Utf8, TextEncoding::Cp1252);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.bytes, "Gr\xFC\xDF" "e \x80\x81");
    auto cjk = transcode::Convert("ab \xE4\xB8\xAD", TextEncoding::Utf8, TextEncoding::Cp1252);
    EXPECT_FALSE(cjk.ok);
    EXPECT_EQ(cjk.badOffset, 3u);
    EXPECT_EQ(cjk.badChar, U'\u4E2D');
    EXPECT_EQ(transcode::Convert("\xFF", TextEncoding::Utf8, TextEncoding::Cp1252).bytes, "\xFF");
}

TEST(Transcode, CompletePrefixDropsACutSequenceOnly)
{
    EXPECT_EQ(transcode::CompleteUtf8Prefix("ab\xE2\x82"), 2u);
    EXPECT_EQ(transcode::CompleteUtf8Prefix("ab\xE2\x82\xAC"), 5u);
    EXPECT_EQ(transcode::CompleteUtf8Prefix("ab\xC3"), 2u);
    EXPECT_EQ(transcode::CompleteUtf8Prefix("ab"), 2u);
    EXPECT_EQ(transcode::CompleteUtf8Prefix(""), 0u);
    EXPECT_EQ(transcode::CompleteUtf8Prefix("\xF0\x9F\x98"), 0u);
}
