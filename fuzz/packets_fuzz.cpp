// Every datagram reader: the decoders, the lobby's receiver, the inbox and the game's handlers
// with the shipped data set and world loaded, as a copy has them in play.
#include "core/inbound.h"
#include "core/mainloop.h"
#include "data/registry.h"
#include "net/lobby.h"
#include "net/network.h"
#include "net/packets.h"
#include "world/energon.h"
#include "world/worldfile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

bool SetUp() {
    // The game's diagnostics would drown the fuzzer's own output.
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
        return false;
    InitRegistry();
    gWorld = LoadWorld("worlds\\bigworld.txt");
    SetEnergonIdRange(gWorld, 0);
    gLocalRobotUid = 3000;
    return gWorld != nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
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
