// main: start-up in its fixed order, then the GLUT loop of a playing copy or the loop of the
// enemy robot server.
//
// The server (-d) is headless: it opens no window and calls no GL function, so the switches are
// read before the window would open and every step that needs GL is left out for it.
#include "core/game.h"
#include "core/inbound.h"
#include "core/mainloop.h"
#include "core/draw/window.h"
#include "render/draw/worlddraw.h"
#include "data/registry.h"
#include "foundation/utilities.h"
#include "net/network.h"
#include "robots/robot.h"
#include "sound/sound.h"
#include "world/energon.h"
#include "world/world.h"
#include "world/worldfile.h"

#include <GL/freeglut.h>

#include <chrono>
#include <cstdio>
#include <thread>

static int StartUp(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (WantsHelp(argc, argv)) {
        PrintUsage();
        return 0;
    }
    // The switches are read once, here; they are acted on at step 20.
    CommandLine switches;
    ParseSwitches(argc, argv, &switches);
    const bool headless = switches.mode == EServerMode;

    // 1. One seed for all the game's randomness.
    SeedRandom();
    if (!headless) {
        // 2. The window.
        OpenGameWindow(&argc, argv);
        // 3. GL utilities, and the lists of the energon stages and the chests (textured: the
        //    camera starts with textures on).
        InitWorldDrawing(1);
        // 4. Fixed GL state.
        InitGL();
        // 5. Callbacks.
        RegisterCallbacks();
    }
    // 6. The game object, without handlers until step 10.
    gGame = NewGame();
    // 7. The registry and every definition file; each record is printed as it loads.
    InitRegistry();
    // 8. Sound and music: both switched on, no track chosen. The server too; no device needed.
    InitSound();
    // 9. The battle record joins with the battle.
    // 10. The wandering mode.
    RegisterWanderingHandlers();
    InitGameMode(gGame);
    // 11. The camera.
    InitCamera();
    // 12-17. Dialogs, menus, animation manager and animations join with their modules (the GL
    //        ones only where a window exists; the energon and chest lists came at step 3).
    // 18. The world, also for the server; a line of the file that fails is reported and the
    //     game goes on with what was read before it.
    gWorld = LoadWorld("worlds\\bigworld.txt");
    // 19. The socket layer.
    NetStartup();

    // 20. The command line.
    int playerId = -1, classUid = DEFAULT_CLASS_UID, robotCount = 0;
    char name[PLAYER_NAME_SIZE];
    int branch = StartFromSwitches(&switches, &playerId, name, &classUid, &robotCount);
    // Each copy numbers the energon it makes from its own share of the ids.
    SetEnergonIdRange(gWorld, playerId);
    switch (branch) {
    case 0:
    case 1:
        // Packets of the game are queued for this thread from now on.
        InstallGameReceiver();
        std::printf("%s game as player %d, robot \"%s\" of class %d\n",
                    branch == 0 ? "Hosting a" : "Joining a", playerId, name, classUid);
        // The player's robot, beside its home, told to the other copies once; then the music,
        // track 1.
        if (CreatePlayer(name, playerId, classUid) == NULL)
            Quit();
        PlaceRobotInWorld(gPlayerRobot, gWorld->uid);
        BroadcastRobotState(gPlayerRobot);
        PrintRobot(gPlayerRobot);
        std::printf("%s stands at (%d, %d, %d) facing %d\n", gPlayerRobot->name,
                    gPlayerRobot->cell.x, gPlayerRobot->cell.y, gPlayerRobot->cell.z,
                    gPlayerRobot->facing);
        SetMusic(1);
        PlayMusicTrack(WANDERING_MUSIC_TRACK);
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        break;
    case 2:
        gLocalRobotUid = -1;
        InstallGameReceiver();
        std::printf("Enemy robot server for game %d with %d robots\n", currentChannel.load(),
                    robotCount);
        Quit();
    default:
        Quit();
    }
    // 21. The creator of a game seeds the world with energon, announcing every deposit.
    if (playerId == 0) {
        for (int i = 0; i < INITIAL_ENERGON; i++)
            GenerateEnergon(gWorld, true);
    }
    // 22. The first tick in 100 ms.
    StartTimer();
    // 23. The GLUT loop; it ends only through Quit.
    glutMainLoop();
    Quit();
}

int main(int argc, char** argv) {
    return StartUp(argc, argv);
}
