// The menus as a player meets them: where the boxes stand, which keys open and close what, what
// a choice yields and the sound it makes, and the texts of the stats, lists and statuses.
#include "support/robot_support.h"
#include "ui/dialog.h"
#include "ui/menu.h"

namespace {

// OPEN: F1's DoMainMenu; BATTLE: the battle's DoBattleMenu.
constexpr int ENTER = 13, ESC = 27, UP = 101, DOWN = 103, OPEN = -1, BATTLE = -2;
const std::string SELECT = "sounds\\FF7select.wav", MOVE = "sounds\\FF7select2.wav",
                  CANCEL = "sounds\\FF7cancel.wav";

class MenuTest : public RobotTest {
  protected:
    void SetUp() override {
        RobotTest::SetUp();
        InitDialogs(ENTER, DOWN, UP);
        SetDialogViewport(640, 480);
        InitMenus();
        robot_ = Make(0, true); // Johnny 5: armor 6000, weapons 5001 and 5000 in its inventory
        for (int skill = 8000; skill <= 8003; skill++)
            LearnSkill(robot_, skill);
        AddItemToInventory(robot_->inventory, 7000);
    }
    // Keys for the stack the first one opens (the main stack when it opens none); the last
    // key's answer.
    int Keys(const std::vector<int>& keys, Action* result) {
        int r = 0;
        for (int key : keys)
            r = key == OPEN         ? (DoMainMenu(), 0)
                : key == BATTLE     ? (DoBattleMenu(), 0)
                : keys[0] == BATTLE ? BattleHandleKey(robot_, key, result)
                                    : MenuHandleKey(robot_, key, result);
        return r;
    }
    Robot* robot_ = nullptr;
};

TEST_F(MenuTest, TheBoxesStandWhereTheLayoutPutsThemForAnyWindowSize) {
    // clang-format off
    const std::pair<int, std::vector<int>> sizes[] = {
        {640, {384, 80, 544, 176, 384, 80, 543, 159, 384, 60, 597, 300, 320, 68, 575, 201, 320, 202, 575, 253,
               320, 240, 575, 292, 448, 10, 630, 75, 470, 8, 630, 104, 10, 8, 170, 104}},
        {1024, {614, 128, 870, 281, 614, 128, 869, 255, 614, 96, 955, 480, 512, 109, 920, 322, 512, 323, 920, 406,
                512, 384, 920, 468, 722, 10, 1014, 111, 758, 8, 1014, 161, 10, 8, 266, 161}},
    };
    // clang-format on
    for (const auto& [w, expected] : sizes) {
        LayoutMenus(w, w * 3 / 4);
        const MenuLayout& l = *GetMenuLayout();
        std::vector<int> got;
        for (const MenuRect& r : {l.main, l.action, l.stats, l.list, l.description, l.message,
                                  l.miniStatus, l.battleOwn, l.battleOpponent})
            got.insert(got.end(), {r.x1, r.y1, r.x2, r.y2});
        EXPECT_EQ(got, expected) << w;
    }
    DoMainMenu(); // built at the last size; a reshape builds it again at the new one
    EXPECT_EQ(MainMenuDialogs(robot_)[0]->x2, 870);
    LayoutMenus(640, 480);
    EXPECT_EQ(MainMenuDialogs(robot_)[0]->x2, 544);
}

// Keys for the main stack (OPEN first) or the battle stack (BATTLE first opens its action menu:
// Fight, Skill, Item). The inventory lists armor 6000, weapon 5000, repair kit 7000 and weapon
// 5001; the skills are 8000 to 8003.
TEST_F(MenuTest, KeysOpenAndCloseMenusAndAUsableChoiceYieldsItsActionClosingOnlyBattleMenus) {
    // The keys; what the last one returned, the action and the top menu of the stack that
    // result, the last sound; the robot's energy.
    // clang-format off
    struct Case { std::vector<int> keys; int returned; Action result; uint32_t top; std::string sound; int energy = 100; } cases[] = {
        {{DOWN}, -1, {0, -1}, ENoMenu, ""},                     // only the base: keys go on
        {{OPEN, ESC}, 1, {0, -1}, ENoMenu, CANCEL},             // Escape closes
        {{OPEN, ENTER}, 1, {0, -1}, ESkillMenu, SELECT},        // the first entry
        {{OPEN, 'g', ENTER}, 1, {0, -1}, EItemMenu, SELECT},    // 'g' moves down like Down
        {{OPEN, DOWN, DOWN, 'e'}, 1, {0, -1}, EMainMenu, MOVE}, // 'e' moves up like Up
        {{OPEN, UP}, 1, {0, -1}, EMainMenu, MOVE},              // Up at the first entry
        {{OPEN, DOWN, DOWN, ENTER, ENTER}, 1, {0, -1}, EMainMenu, SELECT}, // Enter closes stats
        {{OPEN, 'a'}, -1, {0, -1}, EMainMenu, ""},                         // a key no menu uses
        {{OPEN, DOWN, ENTER, DOWN, DOWN, ENTER}, 1, {4, 7000}, EItemMenu, SELECT},
        {{OPEN, DOWN, ENTER, ENTER}, 1, {0, -1}, EItemMenu, MOVE}, // armor
        {{OPEN, ENTER, ENTER}, 1, {3, 8000}, ESkillMenu, SELECT},
        {{OPEN, ENTER, DOWN, ENTER}, 1, {0, -1}, ESkillMenu, MOVE}, // combat only
        {{OPEN, ENTER, ENTER}, 1, {0, -1}, ESkillMenu, MOVE, 29},   // costs 30
        {{BATTLE, ENTER}, 1, {2, -1}, ENoMenu, SELECT},             // Fight
        {{BATTLE, DOWN, DOWN, ENTER, DOWN, DOWN, ENTER}, 1, {4, 7000}, ENoMenu, SELECT},
        {{BATTLE, DOWN, ENTER, DOWN, ENTER}, 1, {3, 8001}, ENoMenu, SELECT},
        {{BATTLE, DOWN, ENTER, DOWN, ENTER}, 1, {0, -1}, ESkillMenu, MOVE, 14},         // costs 15
        {{BATTLE, DOWN, ENTER, DOWN, DOWN, DOWN, ENTER}, 1, {0, -1}, ESkillMenu, MOVE}, // wandering
    };
    // clang-format on
    for (const Case& c : cases) {
        InitMenus();
        ShutdownSound(); // no sound played yet
        InitSound();
        robot_->stats.energy = static_cast<int16_t>(c.energy);
        Action result;
        int returned = Keys(c.keys, &result);
        EXPECT_EQ(std::tuple(returned, result.type, result.argument, GetLastSound(),
                             c.keys[0] == BATTLE ? TopBattleMenu() : TopMainMenu()),
                  std::tuple(c.returned, c.result.type, c.result.argument, c.sound, c.top))
            << c.keys.size() << " keys at " << c.energy;
    }
    EXPECT_FALSE((ClearBattleMenus(), BattleMenuOpen())); // the battle is over
}

TEST_F(MenuTest, StatsListsAndStatusesSayWhatTheRobotHasAndCanUse) {
    SetRobotName(robot_, "Vantrell");
    robot_->stats = {1, 2, 3, 4, 5, 6, 7, 80, 90, 100, 200};
    using Lines = std::vector<std::string>;
    EXPECT_EQ(StatsLines(robot_),
              (Lines{"Vantrell", "only a test", "", "Exp: 7", "HP: 80/90", "EP: 100/200", "",
                     "Power: 4", "Dexterity: 5", "Speed: 6", "Stamina: 2", "Defense: 3"}));
    AddItemsToInventory(robot_->inventory, ENERGON_ITEM_UID, 12);
    EXPECT_EQ(std::tuple(MiniStatusLines(robot_), BattleStatusLines(robot_, false),
                         BattleStatusLines(robot_, true)),
              std::tuple(Lines{"HP: 80/90", "EP: 100/200", "Energon Ore: 12 "}, Lines{"Vantrell"},
                         Lines{"Vantrell", "HP: 80/90", "EP: 100/200"}));

    AddItemToInventory(robot_->inventory, 8001); // never carried, and not listed if it were
    std::set<std::string> items;                 // the uid, the text and a + when usable
    for (const MenuEntry& e : ItemEntries(robot_, EMenuWandering))
        items.insert(std::to_string(e.action.argument) + " " + e.text + (e.usable ? "+" : ""));
    EXPECT_EQ(items, (std::set<std::string>{"5000 1  Ice Volley  ", "5001 1  Big-Shot Volley",
                                            "6000 1  Alloy Plating", "7000 1  Repair Kit  +",
                                            "7001 12 Energon Ore +"}));
    robot_->stats.energy = 20;
    std::vector<MenuEntry> skills = SkillEntries(robot_, EMenuWandering);
    EXPECT_EQ(std::tuple(skills[0].text, skills[0].usable, skills[3].usable,
                         skills[0].description.find("Not enough energy")),
              std::tuple("Self-Repair  50 EP  ", false, true, 0u));
}

// A second message replaces the open one's text; a long one is cut to the buffer.
TEST_F(MenuTest, AMessageOpensOnceLaterOnesReplaceItsTextAndLongOnesAreCut) {
    std::string longText(500, 'x');
    Captured([&] {
        ShowMessage("Received Repair Kit");
        ShowMessage(longText.c_str());
    });
    EXPECT_EQ(std::tuple(MainMenuDepth(), std::string(MainMenuDialogs(robot_)[0]->items[0]->text)),
              std::tuple(2, longText.substr(0, 127)));
    Action result;
    EXPECT_EQ(MenuHandleKey(robot_, ENTER, &result), 1);
    EXPECT_EQ(TopMainMenu(), ENoMenu);
}

} // namespace
