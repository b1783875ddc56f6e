#include <gtest/gtest.h>

#include <algorithm>

#include "content/Bosses.h"
#include "render/Hud.h"

namespace {

const HudLabel* findLabel(const std::vector<HudLabel>& labels, const std::string& text) {
    auto it = std::find_if(labels.begin(), labels.end(), [&](const HudLabel& l) { return l.text == text; });
    return it == labels.end() ? nullptr : &*it;
}

bool anyLabelAt(const std::vector<HudLabel>& labels, sf::Vector2f pos) {
    return std::any_of(labels.begin(), labels.end(), [&](const HudLabel& l) { return l.pos == pos; });
}

const sf::Color kGold(255, 220, 60), kAlert(255, 70, 70);

}  // namespace

TEST(Hud, NegativeScoreShowsAMinusSign) {
    HudInfo hud;
    hud.score = -250;
    const auto labels = hudLabels(hud);
    const HudLabel* value = findLabel(labels, "-250");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->pos, sf::Vector2f(110, 14));
}

TEST(Hud, TimeFlashesOnlyAfterNineMinutes) {
    struct Case {
        float actTime, t;
        sf::Color label;
    };
    const Case cases[] = {
        {540.0f, 0.1f, kGold},      // exactly 540 s: no alert
        {540.02f, 0.1f, kAlert},    // the next frame, on an even quarter second
        {540.02f, 0.3f, kGold},     // odd quarter second of the flash
        {600.0f, 1.0f, kAlert},
        {12.0f, 0.1f, kGold},
    };
    for (const Case& k : cases) {
        HudInfo hud;
        hud.actTime = k.actTime;
        hud.time = k.t;
        hud.gems = 5;
        const HudLabel* label = findLabel(hudLabels(hud), "TIME");
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->color, k.label) << k.actTime << " at " << k.t;
    }
}

TEST(Hud, NoGemsFlashesTheGemRow) {
    HudInfo hud;
    hud.time = 0.1f;
    hud.gems = 0;
    EXPECT_EQ(findLabel(hudLabels(hud), "GEMS")->color, kAlert);
    hud.gems = 1;
    EXPECT_EQ(findLabel(hudLabels(hud), "GEMS")->color, kGold);
}

TEST(Hud, IntroLineOnlyOnActOnesCardDuringItsFirstSeconds) {
    const std::string intro = "The meadows are fading... something is unspeaking the land!";
    struct Case {
        int act;
        float card;
        bool shown;
    };
    const Case cases[] = {
        {1, 2.6f, true}, {1, 1.21f, true}, {1, 1.2f, false}, {1, 0.5f, false}, {1, 0.0f, false},
        {2, 2.5f, false},
    };
    for (const Case& k : cases) {
        HudInfo hud;
        hud.zone = 0;
        hud.act = k.act;
        hud.titleCardTime = k.card;
        const auto labels = hudLabels(hud);
        EXPECT_EQ(findLabel(labels, intro) != nullptr, k.shown) << "act " << k.act << " card " << k.card;
        EXPECT_EQ(findLabel(labels, "ACT " + std::to_string(k.act)) != nullptr, k.card > 0);
    }
}

TEST(Hud, TitleCardSlidesInAndOut) {
    EXPECT_FLOAT_EQ(titleCardEase(2.6f), 0.0f);
    EXPECT_FLOAT_EQ(titleCardEase(1.5f), 1.0f);
    EXPECT_NEAR(titleCardEase(0.2f), 0.5f, 1e-5f);
    // A lobby's 2 s card slides in too.
    EXPECT_FLOAT_EQ(titleCardEase(2.0f, 2.0f), 0.0f);
    EXPECT_NEAR(titleCardEase(1.85f, 2.0f), 0.5f, 1e-5f);
    HudInfo hud;
    hud.titleCardTime = 2.6f;
    EXPECT_EQ(findLabel(hudLabels(hud), "Echo Meadows")->pos, sf::Vector2f(30 - 500, 200));
}

TEST(Hud, TransformHintAndDeathMessage) {
    HudInfo hud;
    hud.secretStones = 0x7F;
    hud.gems = 49;
    EXPECT_NE(findLabel(hudLabels(hud), "Get 50 gems to transform"), nullptr);
    hud.gems = 50;
    EXPECT_NE(findLabel(hudLabels(hud), "Jump + F: transform!"), nullptr);
    hud.transformed = true;
    EXPECT_EQ(findLabel(hudLabels(hud), "Jump + F: transform!"), nullptr);
    hud.secretStones = 0x3F;
    hud.transformed = false;
    EXPECT_FALSE(anyLabelAt(hudLabels(hud), {940, 52}));

    hud.dead = true;
    hud.hearts = 0;
    EXPECT_NE(findLabel(hudLabels(hud), "Out of hearts!"), nullptr);
    hud.hearts = 2;
    EXPECT_NE(findLabel(hudLabels(hud), "Oops!"), nullptr);
}

TEST(Hud, StatusLines) {
    HudInfo hud;
    hud.multiplayer = HudInfo::Together;
    hud.players = 4;
    hud.waitingForNextAct = true;
    EXPECT_NE(findLabel(hudLabels(hud), "TOGETHER  4 players  -  waiting for the next act..."), nullptr);
    hud.multiplayer = HudInfo::Race;
    EXPECT_NE(findLabel(hudLabels(hud), "RACE  4 players"), nullptr);
    hud.multiplayer = HudInfo::Solo;
    hud.makerTest = true;
    EXPECT_NE(findLabel(hudLabels(hud), "Testing your course - reach the goal!"), nullptr);
}

TEST(Hud, AbilityMeterFill) {
    EXPECT_FLOAT_EQ(abilityMeterFill(2, 0.0f, 0.1f), 0.5f);   // Tr: flap cooldown / 0.2
    EXPECT_FLOAT_EQ(abilityMeterFill(3, 5.0f, 0.0f), 1.0f);   // Ktr ignores the ability cooldown
    EXPECT_FLOAT_EQ(abilityMeterFill(6, 0.45f, 0.0f), 0.5f);  // Pr: / 0.9
    EXPECT_FLOAT_EQ(abilityMeterFill(7, 4.4f, 0.0f), 0.0f);   // Lt: / 2.2, clamped
    EXPECT_FLOAT_EQ(abilityMeterFill(8, 0.55f, 0.0f), 0.5f);  // aLt: / 1.1
    EXPECT_FLOAT_EQ(abilityMeterFill(0, 3.0f, 3.0f), 1.0f);   // the others: always full
}

TEST(Results, FinalBossHeadlineAndNoZoneLine) {
    ResultsInfo res;
    res.r = 2.0f;
    res.bossId = 9;
    res.zone = 5;
    res.act = 2;
    auto labels = resultsLabels(res);
    EXPECT_NE(findLabel(labels, "OVIM IS UNSAID!"), nullptr);
    EXPECT_EQ(findLabel(labels, "The Unspoken  Act 2"), nullptr);

    res.bossId = 0;
    res.zone = 0;
    res.act = 1;
    res.hero = 4;
    labels = resultsLabels(res);
    EXPECT_NE(findLabel(labels, "Bolim got through"), nullptr);
    EXPECT_NE(findLabel(labels, "Echo Meadows  Act 1"), nullptr);
}

TEST(Results, CountUpRunsFromZeroToTheFullBonus) {
    ResultsInfo res;
    res.timeBonus = 5000;
    res.gemBonus = 3700;
    res.score = 1000;
    res.r = 0.6f;
    auto labels = resultsLabels(res);
    EXPECT_NE(findLabel(labels, "TIME BONUS   0"), nullptr);
    EXPECT_NE(findLabel(labels, "SCORE        1000"), nullptr);
    EXPECT_EQ(findLabel(labels, "Press Enter"), nullptr);
    res.r = 2.5f;
    labels = resultsLabels(res);
    EXPECT_NE(findLabel(labels, "TIME BONUS   5000"), nullptr);
    EXPECT_NE(findLabel(labels, "GEM BONUS    3700"), nullptr);
    EXPECT_NE(findLabel(labels, "SCORE        9700"), nullptr);
    EXPECT_NE(findLabel(labels, "Press Enter"), nullptr);
}

TEST(Hud, BossBarOnlyWhileTheFightIsOnAndTheBossStands) {
    BossState boss;
    boss.kind = 3;
    boss.hp = 2;
    boss.maxHp = 6;
    HudInfo hud;
    hudFromBoss(hud, boss, true);
    EXPECT_TRUE(hud.bossBar);
    EXPECT_EQ(hud.bossName, "Geode Golem");
    EXPECT_NE(findLabel(hudLabels(hud), "Geode Golem"), nullptr);
    boss.defeated = true;
    hudFromBoss(hud, boss, true);
    EXPECT_FALSE(hud.bossBar);
    EXPECT_EQ(findLabel(hudLabels(hud), "Geode Golem"), nullptr);
    boss.defeated = false;
    hudFromBoss(hud, boss, false);
    EXPECT_FALSE(hud.bossBar);
}
