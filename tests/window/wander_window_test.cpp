// The wandering mode in the real window, driven by real key events (xdotool) on bigworld:
// the arrows walk and turn the robot, F1 and Escape open and close the main menu, Enter opens
// the chest in front and its item shows in the Item menu, the sonar reveals a hidden chest, F9
// shows the mini status and Enter challenges a robot in front; every step waits on the game's
// timer tick, which must keep re-arming itself. With VANTRELL_MENU_SHOTS=DIR the menus are also
// saved as pictures (DIR/mainmenu.png, itemlist.png, ministatus.png).
#include "core/battle.h"
#include "core/outbound.h"
#include "core/wander.h"
#include "support/window_support.h"
#include "ui/dialog.h"

namespace {

std::vector<int> gSent;

// Real key events for the window, then the game runs until the robot has none left to do
// and the condition holds.
template <typename Condition> bool Press(const std::string& keys, Condition done) {
    const std::string xdotool =
        "xdotool search --name '^Vantrell IV$' key --window %1 --delay 120 ";
    return std::system((xdotool + keys).c_str()) == 0 && WaitFor([&] {
               glutMainLoopEvent();
               return gPlayerRobot->currentMove == 0 && PeekMove(gPlayerRobot) == 0 && done();
           });
}
std::tuple<int, int, int> Where() {
    return {gPlayerRobot->cell.x, gPlayerRobot->cell.y, gPlayerRobot->facing};
}
// The frame as the player sees it, saved under name when VANTRELL_MENU_SHOTS names a folder;
// whether the bottom left corner of the box's frame is white in it.
bool FramedIn(const char* name, const MenuRect& box) {
    DrawWanderFrame();
    std::vector<int> corner = Pixel(box.x1 + 1, box.y1 + 1);
    glutSwapBuffers();
    if (const char* dir = std::getenv("VANTRELL_MENU_SHOTS"))
        std::system(("import -window \"$(xdotool search --name '^Vantrell IV$')\" " +
                     std::string(dir) + "/" + name + ".png")
                        .c_str());
    return corner[0] > 200 && corner[1] > 200 && corner[2] > 200;
}

TEST(WanderWindow, ArrowsWalkAndTurnMenusOpenChestsGiveAndTheSonarReveals) {
    OpenTestWindow();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    Captured([] {
        InitWorldDrawing(1);
        InitAnimations();
        InitRegistry();
        InitSound();
        InitAnimationManager();
        gAnimationHooks.setRevealSphere = SetRevealSphere; // what the sonar shows
        gWorld = LoadWorld("worlds\\bigworld.txt");
        InstallGameHooks();
        CreatePlayer("Vantrell", 0, DEFAULT_CLASS_UID);
        PlaceRobotInWorld(gPlayerRobot, gWorld->uid);
    });
    SetPacketSender([](const void* buffer, size_t) {
        gSent.push_back(*static_cast<const uint8_t*>(buffer));
        return 0;
    });
    gGame = NewGame();
    gBattle = NewBattle();
    RegisterWanderingHandlers();
    InstallBattle(BattleDisplay); // the challenge at the end starts a battle
    InitGameMode(gGame);
    InitDialogs(WANDER_KEY_ENTER, WANDER_KEY_DOWN, WANDER_KEY_UP);
    InitMenus();
    gMenuRedisplay = glutPostRedisplay;
    Reshape(640, 480);
    StartTimer();

    EXPECT_TRUE(Press("Up Up Left Left", [] { return Where() == std::tuple{7, 4, 90}; }));
    EXPECT_TRUE(Press("Right Down", [] { return Where() == std::tuple{6, 3, 45}; }));
    EXPECT_TRUE(Press("Up Up Up Right", [] { return Where() == std::tuple{9, 6, 0}; }));

    EXPECT_TRUE(Press("F1", [] { return TopMainMenu() == EMainMenu; }));
    EXPECT_TRUE(FramedIn("mainmenu", GetMenuLayout()->main));
    EXPECT_TRUE(Press("Escape", [] { return TopMainMenu() == ENoMenu; }));

    // The repair kit's chest at (10, 6): a fifth kit, a message and the chest's packet.
    EXPECT_TRUE(Press("Return", [] { return TopMainMenu() == EMessageMenu; }));
    EXPECT_EQ(std::tuple(std::string(MenuMessageText()), std::count(gSent.begin(), gSent.end(), 8)),
              std::tuple("Received Repair Kit.", 1)); // one EChestOpenedPacket
    EXPECT_TRUE(
        Press("Return F1 Down Return Down Down", [] { return TopMainMenu() == EItemMenu; }));
    EXPECT_EQ(std::string(MainMenuDialogs(gPlayerRobot)[0]->items[3]->text), "5  Repair Kit  ");
    EXPECT_TRUE(FramedIn("itemlist", GetMenuLayout()->list));
    // Self-Repair from the Skill list (the main menu still points at Item): its gesture goes out
    // to the other copies.
    EXPECT_TRUE(Press("Escape Escape F1 Up Return Return", [] {
        return TopMainMenu() == ESkillMenu && std::count(gSent.begin(), gSent.end(), 13) == 1;
    }));

    // Two cells east of the hidden chest at (34, 9); the pulse reaches it.
    gPlayerRobot->targetCell = {36, 9, 2};
    FinishTeleport(gPlayerRobot, gWorld);
    Vector3 hidden = {34, 9, 2};
    EXPECT_TRUE(Press("s", [&] { return InRevealSphere(&hidden, 2); }));

    EXPECT_TRUE(Press("F9", [] { return gGame->showMiniStatus == 1; }));
    EXPECT_TRUE(FramedIn("ministatus", GetMenuLayout()->miniStatus));

    // Another player's robot in front, out of its safe zone: Enter challenges it.
    Robot* other = NewRobot(LookupRobotClass(gRegistry, DEFAULT_CLASS_UID), 1, 0);
    Captured([&] { PlaceRobotInWorld(other, gWorld->uid); });
    other->targetCell = {37, 9, 2};
    FinishTeleport(other, gWorld);
    EXPECT_TRUE(Press("Escape Escape Return", [] { return gGame->modeId == EBattleMode; }));
    EXPECT_EQ(std::count(gSent.begin(), gSent.end(), 11), 1); // EBattleStartPacket

    // The window goes back to the other tests as they found it: no game, world or lamp of ours.
    glPopAttrib();
    gGame = nullptr;
    gWorld = nullptr;
    gAnimationHooks = SilentAnimationHooks();
    ResetCamera();
    Reshape(640, 480);
}

} // namespace
