// Every datagram reader: the decoders, the lobby's receiver, the inbox and the game's handlers
// with the shipped data set and world loaded, as a copy has them in play. Whatever a layout's
// decoder takes, written back, reads back to the same bytes, and each byte written is the one
// received or a zero (a reserved byte, the rest of a name).
#include "core/battle.h"
#include "core/game.h"
#include "core/inbound.h"
#include "core/mainloop.h"
#include "data/registry.h"
#include "net/lobby.h"
#include "net/network.h"
#include "net/packets.h"
#include "render/animationmanager.h"
#include "world/energon.h"
#include "world/worldfile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool SetUp() {
    // The game's diagnostics would drown the fuzzer's own output.
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
        return false;
    InitRegistry();
    // The game object, camera, effects and battle that the battle's packets reach.
    gGame = NewGame();
    InitGameMode(gGame);
    InitCamera();
    InitAnimationManager();
    gBattle = NewBattle();
    InstallBattle(nullptr);
    gWorld = LoadWorld("worlds\\bigworld.txt");
    SetEnergonIdRange(gWorld, 0);
    gLocalRobotUid = 3000;
    return gWorld != nullptr;
}

void CheckLayouts(const uint8_t* data, size_t size) {
    uint8_t once[MAX_PACKET_SIZE];
    uint8_t twice[MAX_PACKET_SIZE];
    size_t n = ReencodePacket(data, size, once);
    if (n == 0)
        return;
    if (n != PacketSize(data[0]) || n > size || ReencodePacket(once, n, twice) != n ||
        std::memcmp(once, twice, n) != 0)
        std::abort();
    for (size_t i = 0; i < n; i++) {
        if (once[i] != data[i] && once[i] != 0)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckLayouts(data, size);
    static bool ready = SetUp();
    if (!ready)
        return 0;
    static LobbyTable table;
    LobbyReceive(data, size, &table);
    GameInbox().Offer(data, size);
    PumpPackets();
    HandlePacket(data, size);
    return 0;
}
