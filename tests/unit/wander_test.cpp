// The wandering keys as a player presses them: what the robot queues and tells the other
// copies, which menu opens, what a chest gives and whom Enter challenges.
#include "core/game.h"
#include "core/outbound.h"
#include "core/wander.h"
#include "support/robot_support.h"
#include "ui/dialog.h"
#include "ui/menu.h"

namespace {

std::vector<int> gSentTypes;

class WanderTest : public RobotTest {
  protected:
    void SetUp() override {
        RobotTest::SetUp();
        InitDialogs(WANDER_KEY_ENTER, WANDER_KEY_DOWN, WANDER_KEY_UP);
        InitMenus();
        gGame = NewGame();
        gPlayerRobot = Put(Make(0, true), 2, 4, 90); // the repair kit's chest in front
        gPlayerRobot->targetCell = {2, 5, 2};
        gLocalRobotUid = gPlayerRobot->uid;
        gSentTypes.clear();
        SetPacketSender([](const void* buffer, size_t) {
            gSentTypes.push_back(*static_cast<const uint8_t*>(buffer));
            return 0;
        });
        gHooks.showMessage = ShowMessage;
        gHooks.challenge = [](Robot* r, int32_t target) {
            RecordCall("challenge %d to %d", r->uid, target);
        };
    }
    void TearDown() override {
        SetPacketSender(nullptr);
        FreeGame(gGame);
        gGame = nullptr;
        RobotTest::TearDown();
    }
};

constexpr int SPECIAL = 1000; // added to a special key's code in the tables

TEST_F(WanderTest, KeysQueueMovesTellTheOthersOrGoToTheMenus) {
    const int left = SPECIAL + WANDER_KEY_LEFT, up = SPECIAL + WANDER_KEY_UP,
              f1 = SPECIAL + WANDER_KEY_F1, f9 = SPECIAL + WANDER_KEY_F9;
    struct Case {
        std::vector<int> keys;
        int32_t queued;
        size_t states;
        uint32_t menu;
        int miniStatus;
    } cases[] = {
        {{left}, 1, 1, ENoMenu, 0},
        {{left, left}, 2, 2, ENoMenu, 0}, // two turns merge into one of 90 degrees
        {{SPECIAL + WANDER_KEY_RIGHT}, -1, 1, ENoMenu, 0},
        {{up}, MOVE_FORWARD, 1, ENoMenu, 0},
        {{SPECIAL + WANDER_KEY_DOWN}, MOVE_BACKWARD, 1, ENoMenu, 0},
        {{up, ' '}, 0, 1, ENoMenu, 0},  // space drops what is queued
        {{f1, up}, 0, 0, EMainMenu, 0}, // the open menu takes the arrow
        {{f1, 'g', 'g', WANDER_KEY_ENTER}, 0, 0, EStatsMenu, 0},
        {{f9}, 0, 0, ENoMenu, 1},
        {{f9, f9}, 0, 0, ENoMenu, 0},
        {{'f', 'i', SPECIAL + 2}, 0, 0, ENoMenu, 0}, // keys with no use
    };
    for (const Case& c : cases) {
        InitMenus();
        ClearMoveQueue(gPlayerRobot);
        gHookCalls.clear();
        gGame->showMiniStatus = 0;
        for (int key : c.keys) {
            if (key >= SPECIAL)
                WanderSpecialKeys(key - SPECIAL, 0, 0);
            else
                WanderKeyboard(static_cast<unsigned char>(key), 0, 0);
        }
        EXPECT_EQ(std::tuple(PeekMove(gPlayerRobot), Calls("state").size(), TopMainMenu(),
                             gGame->showMiniStatus),
                  std::tuple(c.queued, c.states, c.menu, c.miniStatus))
            << c.keys.front() << " and " << c.keys.size() - 1 << " more";
    }
    int music = GetMusic(), effects = GetSoundEffects();
    WanderKeyboard('m', 0, 0);
    WanderKeyboard('x', 0, 0);
    EXPECT_EQ(std::tuple(GetMusic(), GetSoundEffects()), std::tuple(!music, !effects));
    WanderKeyboard('s', 0, 0);
    EXPECT_EQ(Calls("sonar"), std::vector<std::string>{"sonar 3000 radius 2.5 over 6 red 1.0"});
}

TEST_F(WanderTest, EnterOpensTheChestInFrontOnceForEveryCopy) {
    std::string said = Captured([] { WanderKeyboard(WANDER_KEY_ENTER, 0, 0); });
    EXPECT_EQ(said, "Opening chest\nReceived Repair Kit.\n");
    EXPECT_EQ(std::tuple(RobotItemQuantity(gPlayerRobot, 7000), GetChestByIndex(world_, 0)->opened,
                         GetLastSound(), TopMainMenu()),
              std::tuple(1, 1, std::string("sounds\\ff3save.wav"), EMessageMenu));
    EXPECT_EQ(gSentTypes, std::vector<int>{EChestOpenedPacket});
    Action closed;
    EXPECT_EQ(MenuHandleKey(gPlayerRobot, WANDER_KEY_ENTER, &closed), 1); // the message closes
    // Opened, and no robot in front: nothing happens.
    said = Captured([] { WanderKeyboard(WANDER_KEY_ENTER, 0, 0); });
    EXPECT_EQ(std::tuple(said, gSentTypes.size(), RobotItemQuantity(gPlayerRobot, 7000)),
              std::tuple(std::string(), 1u, 1));
}

TEST_F(WanderTest, EnterChallengesARobotInFrontUnlessItIsSafeAtHome) {
    const std::tuple<int, int, bool> cases[] = {{4, 4, true},
                                                {9, 8, false}}; // (9, 8): in its safe zone
    Robot* other = Make(1, false);
    for (const auto& [x, y, battle] : cases) {
        Put(other, x, y);
        Location front = {x, y, 2};
        SetCellContent(world_, &front, ERobot, other);
        Put(gPlayerRobot, x - 1, y, 0)->targetCell = front;
        gHookCalls.clear();
        gGame->modeId = EWanderingMode;
        std::string said = Captured([] { WanderKeyboard(WANDER_KEY_ENTER, 0, 0); });
        EXPECT_EQ(std::tuple(said == "initiating battle!\n", Calls("challenge").size(),
                             gGame->modeId == EBattleMode),
                  std::tuple(battle, battle ? 1u : 0u, battle))
            << x << " " << y;
        SetCellContent(world_, &front, EEmpty, nullptr);
    }
}

} // namespace
