// Recent-item histories: limits, order, numbering and the key rules.

#include "frame/history_manager.h"
#include "frame_fixture.h"

namespace orvella::test {
namespace {

constexpr char kSubkey[] = "Software\\Tessmark\\Orvella\\1.0\\Settings\\OpenFileHistory";

class History : public FrameTest {
protected:
    History() { history_.RegistryKey = "$(OpenFileHistory)"; }
    THistoryManager history_;
};

TEST_F(History, ElevenAdditionsKeepTheTenNewestNewestFirst)
{
    for (int i = 1; i <= 11; ++i)
        history_.Add("file" + std::to_string(i) + ".ovd");
    const std::vector<std::string> items = history_.Items();
    ASSERT_EQ(items.size(), 10u);
    EXPECT_EQ(items.front(), "file11.ovd");
    EXPECT_EQ(items.back(), "file2.ovd");
    // Stored anew as Item0 onward, with nothing left over.
    EXPECT_EQ(store_->ValueNames(kSubkey).size(), 10u);
    EXPECT_EQ(store_->ReadString(kSubkey, "Item0"), "file11.ovd");
    EXPECT_EQ(store_->ReadString(kSubkey, "Item9"), "file2.ovd");
}

TEST_F(History, ItemsReadInTheOrderOfTheirNumbersNotAsText)
{
    // Written out of order, as a hand-edited or older file may hold them.
    for (int i : {10, 2, 1, 0, 11, 9, 3, 4, 5, 6, 7, 8})
        store_->WriteString(kSubkey, "Item" + std::to_string(i), "f" + std::to_string(i));
    store_->WriteString(kSubkey, "Note", "not an item");
    history_.Limit = 11;
    const std::vector<std::string> items = history_.Items();
    ASSERT_EQ(items.size(), 11u);
    EXPECT_EQ(items[2], "f2");
    EXPECT_EQ(items[9], "f9");
    EXPECT_EQ(items[10], "f10");
}

TEST_F(History, AnEqualEntryIgnoringCaseMovesToTheFront)
{
    history_.Add("/home/a/Label.ovd");
    history_.Add("/home/a/Other.ovd");
    history_.Add("/HOME/A/label.OVD");
    EXPECT_EQ(history_.Items(), (std::vector<std::string>{"/HOME/A/label.OVD", "/home/a/Other.ovd"}));
    history_.Remove("/home/a/other.ovd");
    EXPECT_EQ(history_.Items(), (std::vector<std::string>{"/HOME/A/label.OVD"}));
    int changes = 0;
    history_.OnChange = [&] { ++changes; };
    history_.Clear();
    EXPECT_TRUE(history_.Items().empty());
    EXPECT_EQ(changes, 1);
}

TEST_F(History, AZeroOrNegativeLimitKeepsNothing)
{
    history_.Limit = -1;
    history_.Add("x");
    EXPECT_TRUE(history_.Items().empty());
}

TEST_F(History, AKeyWithoutAFolderPartIsRefused)
{
    for (const char* key : {"OpenFileHistory", "", "\\Items", "Key\\"}) {
        history_.RegistryKey = key;
        try {
            history_.Add("x");
            ADD_FAILURE() << key;
        } catch (const EHistoryManager& error) {
            EXPECT_STREQ(error.what(), "History用のキーがセットされていません");
        }
    }
}

}  // namespace
}  // namespace orvella::test
