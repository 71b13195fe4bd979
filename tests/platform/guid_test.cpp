#include "platform/guid.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

TEST(Guid, ParsesTheRegistryFormAndWritesItBack)
{
    const std::optional<TGuid> guid = ParseGuid("{00112233-4455-6677-8899-aAbBcCdDeEfF}");
    ASSERT_TRUE(guid);
    EXPECT_EQ(guid->D1, 0x00112233u);
    EXPECT_EQ(guid->D2, 0x4455u);
    EXPECT_EQ(guid->D3, 0x6677u);
    EXPECT_EQ(guid->D4[0], 0x88u);
    EXPECT_EQ(guid->D4[1], 0x99u);
    EXPECT_EQ(guid->D4[2], 0xAAu);
    EXPECT_EQ(guid->D4[7], 0xFFu);
    EXPECT_EQ(ParseGuid(GuidToString(*guid)), guid);
    static_assert(MakeGuid("{00112233-4455-6677-8899-AABBCCDDEEFF}") == *ParseGuid("{00112233-4455-6677-8899-AABBCCDDEEFF}"));
}

TEST(Guid, RefusesEveryOtherText)
{
    for (const char* text : {"", "00112233-4455-6677-8899-AABBCCDDEEFF", "{00112233-4455-6677-8899-AABBCCDDEEF}",
                             "{00112233-4455-6677-8899-AABBCCDDEEFFF}", "{00112233-4455-6677-8899_AABBCCDDEEFF}",
                             "{0011223G-4455-6677-8899-AABBCCDDEEFF}", "{00112233-4455-6677-88 9-AABBCCDDEEFF}",
                             "[00112233-4455-6677-8899-AABBCCDDEEFF]"})
        EXPECT_FALSE(ParseGuid(text)) << text;
}

}  // namespace
}  // namespace orvella
