// The resolution lists, their user-defined entries and the list each model gets.
#include "ResolutionCatalogue.h"
#include "RZ8Models.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <ostream>

namespace {

QStringList texts(const std::vector<SliderResInfo>& list) {
    QStringList out;
    for (const SliderResInfo& e : list)
        out << e.strResolution;
    return out;
}

class ResolutionCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override {
        cat.m_strUserRes = {UserResText(1920, 1080), UserResText(7680, 1080),
                            UserResText(3840, 1080), UserResText(1920, 1080)};
        cat.BuildSliderResInfo();
    }
    CResolutionCatalogue cat;
};

TEST_F(ResolutionCatalogueTest, EveryListHoldsTenPositionsInOrder) {
    cat.BuildSliderResInfo(); // a second build replaces, never appends
    for (const auto& list : cat.m_vecSliderResInfo) {
        ASSERT_EQ(list.size(), 10u);
        for (size_t pos = 0; pos < list.size(); ++pos)
            EXPECT_EQ(list[pos].nSliderPos, pos);
    }
}

TEST_F(ResolutionCatalogueTest, ListsAreOneToFourScreenWidths) {
    // Every fixed entry of list k is (width x height) of list 3 with the width scaled.
    const int widthFactor[kResolutionListCount] = {3, 4, 2, 1, 4};
    const QStringList single = texts(cat.m_vecSliderResInfo[3]);
    for (int list : {0, 1, 2, 3}) {
        const QStringList t = texts(cat.m_vecSliderResInfo[list]);
        for (int pos = 0; pos < 9; ++pos) {
            const QStringList wh = single[pos].split(QStringLiteral(" x "));
            ASSERT_EQ(wh.size(), 2);
            int width = wh[0].toInt() * widthFactor[list];
            if (list == 0 && pos == 1) width = 4098; // what the triple-width firmware uses
            EXPECT_EQ(t[pos], QStringLiteral("%1 x %2").arg(width).arg(wh[1]))
                << "list " << list << " pos " << pos;
        }
    }
    EXPECT_EQ(single.mid(0, 9),
              (QStringList{"1280 x 1024", "1366 x 768", "1440 x 900", "1440 x 1050", "1600 x 900",
                           "1600 x 1200", "1680 x 1050", "1920 x 1080", "1920 x 1200"}));
}

TEST_F(ResolutionCatalogueTest, ListFourEndsWithUltraHighDefinition) {
    const QStringList four = texts(cat.m_vecSliderResInfo[4]);
    const QStringList one = texts(cat.m_vecSliderResInfo[1]);
    EXPECT_EQ(four.mid(0, 6), one.mid(0, 6));
    EXPECT_EQ(four.mid(6, 3), (QStringList{"7680 x 1080", "7680 x 1200", "7680 x 2160"}));
    EXPECT_FALSE(four.contains(QStringLiteral("6720 x 1050")));
    EXPECT_EQ(one[6], QStringLiteral("6720 x 1050"));
}

TEST_F(ResolutionCatalogueTest, UserTextsFillPositionNine) {
    EXPECT_EQ(cat.ResolutionText(0, 9), QStringLiteral("1920 * 1080"));
    EXPECT_EQ(cat.ResolutionText(1, 9), QStringLiteral("7680 * 1080"));
    EXPECT_EQ(cat.ResolutionText(2, 9), QStringLiteral("3840 * 1080"));
    EXPECT_EQ(cat.ResolutionText(3, 9), QStringLiteral("1920 * 1080"));
    EXPECT_EQ(cat.ResolutionText(4, 9), QStringLiteral("7680 * 1080")); // shares text 1

    // A later Set changes text 0 only.
    cat.m_strUserRes[0] = UserResText(2000, 1000);
    cat.BuildSliderResInfo();
    EXPECT_EQ(cat.ResolutionText(0, 9), QStringLiteral("2000 * 1000"));
    EXPECT_EQ(cat.ResolutionText(1, 9), QStringLiteral("7680 * 1080"));
    EXPECT_EQ(cat.ResolutionText(3, 9), QStringLiteral("1920 * 1080"));
}

TEST(ResolutionCatalogueStartup, ZeroPaddedTextZeroAndEmptyOthers) {
    CResolutionCatalogue cat;
    cat.m_strUserRes[0] = UserResStartupText(0, 0);
    cat.BuildSliderResInfo();
    EXPECT_EQ(cat.ResolutionText(0, 9), QStringLiteral("0000 * 0000"));
    EXPECT_TRUE(cat.ResolutionText(1, 9).isEmpty());
    EXPECT_TRUE(cat.ResolutionText(2, 9).isEmpty());
    EXPECT_TRUE(cat.ResolutionText(3, 9).isEmpty());
    EXPECT_EQ(UserResStartupText(640, 48), QStringLiteral("0640 * 0048"));
}

TEST(ResolutionCatalogueLookup, OutsideTheListsIsEmpty) {
    CResolutionCatalogue cat;
    EXPECT_TRUE(cat.ResolutionText(0, 0).isEmpty()); // not built yet
    cat.BuildSliderResInfo();
    EXPECT_TRUE(cat.ResolutionText(0, 10).isEmpty());
    EXPECT_TRUE(cat.ResolutionText(0, -1).isEmpty());
    EXPECT_TRUE(cat.ResolutionText(5, 0).isEmpty());
    EXPECT_TRUE(cat.ResolutionText(-1, 0).isEmpty());
}

// Model letter -> box mode -> list, and the text at slider position 8 it leads to.
struct ChoiceCase {
    const char* name;
    char letter;
    int list;
    const char* pos8;
};

// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const ChoiceCase& c, std::ostream* os) {
    *os << c.name;
}

class ListChoiceTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ListChoiceTest, ByModelLetter) {
    const ChoiceCase& c = GetParam();
    CResolutionCatalogue cat;
    cat.BuildSliderResInfo();
    const int list = SliderListForBoxMode(BoxModeFromModelLetter(c.letter));
    EXPECT_EQ(list, c.list);
    EXPECT_EQ(cat.ResolutionText(list, 8), QString::fromLatin1(c.pos8));
}

INSTANTIATE_TEST_SUITE_P(
    Letters, ListChoiceTest,
    ::testing::Values(
        ChoiceCase{"UpperC", 'C', 0, "5760 x 1200"}, ChoiceCase{"LowerC", 'c', 0, "5760 x 1200"},
        ChoiceCase{"UpperD", 'D', 1, "7680 x 1200"}, ChoiceCase{"LowerD", 'd', 1, "7680 x 1200"},
        ChoiceCase{"LowerI", 'i', 1, "7680 x 1200"}, ChoiceCase{"UpperE", 'E', 2, "3840 x 1200"},
        ChoiceCase{"LowerE", 'e', 2, "3840 x 1200"}, ChoiceCase{"UpperK", 'K', 3, "1920 x 1200"},
        ChoiceCase{"UpperH", 'H', 4, "7680 x 2160"}, ChoiceCase{"LowerH", 'h', 0, "5760 x 1200"},
        ChoiceCase{"LowerK", 'k', 0, "5760 x 1200"}, ChoiceCase{"UpperI", 'I', 0, "5760 x 1200"},
        ChoiceCase{"NoLetter", '\0', 0, "5760 x 1200"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
