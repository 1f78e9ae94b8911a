// gamehooks: the table and its silent entries.
#include "world/gamehooks.h"

GameHooks SilentHooks() {
    GameHooks h;
    h.announceEnergon = [](const Energon*) {};
    h.sendState = [](Robot*) {};
    h.teleport = [](Robot*, World*) {};
    h.raiseWall = [](Robot*, World*, const Location*, int, int) {};
    h.smoke = [](Robot*, World*, int) {};
    h.sonar = [](Robot*, const Color*, const Color*, double, int) {};
    h.showMessage = [](const char*) {};
    h.cameraFollows = [](const Robot*, bool) {};
    h.challenge = [](Robot*, int32_t) {};
    h.accept = [](Robot*, int32_t) {};
    h.action = [](Robot*, const Stats*, const Stats*, int32_t, uint8_t, uint8_t) {};
    h.animation = [](Robot*, const Robot*, uint32_t, uint32_t) {};
    h.battleOver = [](const Robot*, int32_t) {};
    h.prize = [](int32_t, uint32_t, uint32_t) {};
    h.battleItem = [](Robot*, const Stats*) {};
    h.leaveBattle = [](Robot*) {};
    return h;
}

GameHooks gHooks = SilentHooks();
