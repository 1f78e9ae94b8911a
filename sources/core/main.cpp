// main: start-up in its phases, then the GLUT loop of a playing copy or the loop of the enemy
// robot server.
//
// The phases keep the game's fixed start-up order: the seed, the window (a playing copy only),
// what every copy needs (common), the command line, then the player's or the server's own
// phase. The server (-d) is headless: it opens no window and calls no GL function, so the
// switches are read before the window would open and every step that needs GL is left out for it.
#include "core/battle.h"
#include "core/enemyserver.h"
#include "core/game.h"
#include "core/inbound.h"
#include "core/mainloop.h"
#include "core/outbound.h"
#include "core/draw/window.h"
#include "render/animations.h"
#include "render/draw/animationsdraw.h"
#include "render/draw/glutils.h"
#include "render/draw/worlddraw.h"
#include "data/registry.h"
#include "foundation/utilities.h"
#include "net/network.h"
#include "robots/robot.h"
#include "sound/sound.h"
#include "world/energon.h"
#include "world/world.h"
#include "world/worldfile.h"
#include "ui/dialog.h"
#include "ui/menu.h"
#include "core/battle.h"
#include "core/wander.h"

#include <GL/freeglut.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

// The window "Vantrell IV", the fixed GL state and the callbacks. GL utilities (GL lock, texture
// cache) join here with the renderer.
static void StartWindow(int* argc, char** argv) {
    OpenGameWindow(argc, argv);
    // GL utilities, and the lists of the energon stages and the chests (textured: the camera
    // starts with textures on).
    InitWorldDrawing(1);
    InitGL();
    gBattleLock = {LockGL, UnlockGL};
    // The effects' draw routines; their lists are recorded on the first frame that needs them.
    InitAnimations();
    RegisterCallbacks();
    gMenuRedisplay = glutPostRedisplay;
}

// What the player and the server both need, in order: the game object (without handlers until
// the wandering mode is installed), the registry and every definition file (each record printed
// as it loads), sound and music (both on, no track chosen, no device needed; the server, which
// nobody hears, opens no audio at all and its sound calls do nothing), the wandering
// mode, the camera, the world (a line of the file that fails is reported and the game goes on
// with what was read before it), the battle record, the socket layer, the game's hooks and the
// battle's. The energon lists, dialogs, menus, chest lists, animation manager and animations join
// here with their modules (the GL ones only where a window exists).
static void StartCommon(const CommandLine& switches) {
    gGame = NewGame();
    InitRegistry();
    if (switches.mode != EServerMode)
        InitSound();
    gBattle = NewBattle();
    RegisterWanderingHandlers();
    InitGameMode(gGame);
    InitCamera();
    // The dialogs' keys: Enter selects, the Down and Up arrows move.
    InitDialogs(WANDER_KEY_ENTER, WANDER_KEY_DOWN, WANDER_KEY_UP);
    InitMenus();
    InitAnimationManager();
    gAnimationHooks = {SetRevealSphere, ClearRevealSphere, GetEyeOffset, GetLookOffset,
                       SetEyeOffset, SetLookOffset, SetFirstPerson, GetTexturesOn,
                       // The battle's results, filled by InstallBattle below.
                       SilentAnimationHooks().fight, SilentAnimationHooks().useSkill};
    gWorld = LoadWorld("worlds\\bigworld.txt");
    NetStartup();
    InstallGameHooks();
    // The battle's handlers and hooks; the enemy server draws nothing.
    InstallBattle(switches.mode != EServerMode ? BattleDisplay : nullptr);
}

// The player's robot beside its home, told to the other copies once; the music, track 1; the
// creator of the game seeds the world with energon, announcing every deposit; then the owner
// step runs on a GLUT timer inside the GLUT loop, which ends only through Quit.
[[noreturn]] static void RunPlayer(CommandLineMode mode, int playerId, const char* name,
                                   int classUid) {
    // Packets of the game are queued for this thread from now on.
    InstallGameReceiver();
    std::printf("%s game as player %d, robot \"%s\" of class %d, on channel %d\n",
                mode == ECreateGame ? "Hosting a" : "Joining a", playerId, name, classUid,
                currentChannel.load());
    if (CreatePlayer(name, playerId, classUid) == NULL)
        Quit();
    PlaceRobotInWorld(gPlayerRobot, gWorld->uid);
    BroadcastRobotState(gPlayerRobot);
    PrintRobot(gPlayerRobot);
    std::printf("%s stands at (%d, %d, %d) facing %d\n", gPlayerRobot->name, gPlayerRobot->cell.x,
                gPlayerRobot->cell.y, gPlayerRobot->cell.z, gPlayerRobot->facing);
    SetMusic(1);
    PlayMusicTrack(WANDERING_MUSIC_TRACK);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    if (playerId == 0) {
        for (int i = 0; i < INITIAL_ENERGON; i++)
            GenerateEnergon(gWorld, true);
    }
    StartTimer();
    glutMainLoop();
    Quit();
}

// The enemy robot server: no player's robot, the same receiver, and its own loop over the owner
// step until a signal stops it; its robots have left the game by then.
[[noreturn]] static void RunServer(int robotCount) {
    gLocalRobotUid = ENEMY_SERVER_UID;
    InstallGameReceiver();
    int status = RunEnemyServer(robotCount);
    if (status == 0)
        Quit();
    std::exit(status);
}

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (WantsHelp(argc, argv)) {
        PrintUsage();
        return 0;
    }
    // The switches are read once, here; they are acted on after the common phase.
    CommandLine switches;
    ParseSwitches(argc, argv, &switches);
    SeedRandom();
    if (switches.mode != EServerMode)
        StartWindow(&argc, argv);
    StartCommon(switches);

    int playerId = -1, classUid = DEFAULT_CLASS_UID, robotCount = 0;
    char name[PLAYER_NAME_SIZE];
    CommandLineMode mode = StartFromSwitches(&switches, &playerId, name, &classUid, &robotCount);
    // Each copy numbers the energon it makes from its own share of the ids.
    SetEnergonIdRange(gWorld, playerId);
    switch (mode) {
    case ECreateGame:
    case EJoinGame:
        RunPlayer(mode, playerId, name, classUid);
    case EServerMode:
        RunServer(robotCount);
    case EGiveUp:
        break;
    }
    Quit();
}
