// A peer that speaks the game's datagrams, for the network tests: it listens on a channel and
// prints what it hears, or sends robot-state and leave packets as another copy would.
//   peer_driver listen CHANNEL SECONDS
//   peer_driver state CHANNEL UID SEQUENCE X Y Z FACING CLASS
//   peer_driver left CHANNEL UID
//   peer_driver start CHANNEL SUBTYPE CHALLENGER CHALLENGED     (a challenge 0 or an accept 1)
//   peer_driver over CHANNEL LOSER WINNER
#include "net/network.h"
#include "net/packets.h"
#include "foundation/utilities.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

void Print(const uint8_t* buffer, size_t length, void*) {
    if (length == 0)
        return;
    RobotStatePacket s;
    EnergonPacket e;
    RobotLeftPacket l;
    BattleStartPacket b;
    AnimationPacket a;
    if (DecodeRobotState(buffer, length, &s))
        std::printf("state uid %u seq %u at %.2f %.2f %.2f facing %d class %u move %d\n", s.uid,
                    s.sequence, s.x, s.y, s.z, s.facing, s.classUid, s.move);
    else if (DecodeBattleStart(buffer, length, &b))
        std::printf("battle start %u from %u to %u\n", b.subType, b.challengerUid, b.challengedUid);
    else if (DecodeAnimation(buffer, length, &a))
        std::printf("animation %u from %u to %u value %u at %ld\n", a.type, a.robotUid, a.targetUid,
                    a.value, static_cast<long>(GetTimeStamp().time));
    else if (DecodeEnergon(buffer, length, &e))
        std::printf("energon id %u at %u %u %u crystals %u\n", e.id, e.x, e.y, e.z, e.crystals);
    else if (DecodeRobotLeft(buffer, length, &l))
        std::printf("left uid %u\n", l.uid);
    else
        std::printf("packet type %u of %zu bytes\n", buffer[0], length);
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc < 4) {
        std::fprintf(stderr, "usage: peer_driver listen|state|left CHANNEL ...\n");
        return 2;
    }
    int channel = std::atoi(argv[2]);
    NetStartup();
    if (netInit(channel) != 0)
        return 1;
    currentChannel = channel;
    if (std::strcmp(argv[1], "listen") == 0) {
        NetSetReceiver(Print, nullptr, channel);
        std::this_thread::sleep_for(std::chrono::milliseconds(1000 * std::atoi(argv[3])));
        NetSetReceiver(nullptr, nullptr, channel);
        return 0;
    }
    uint8_t buffer[MAX_PACKET_SIZE];
    size_t n = 0;
    if (std::strcmp(argv[1], "state") == 0 && argc >= 10) {
        RobotStatePacket s = {};
        s.channel = static_cast<uint8_t>(channel);
        s.uid = static_cast<uint32_t>(std::atoi(argv[3]));
        s.sequence = static_cast<uint32_t>(std::atoi(argv[4]));
        s.x = std::atof(argv[5]);
        s.y = std::atof(argv[6]);
        s.z = std::atof(argv[7]);
        s.facing = static_cast<int16_t>(std::atoi(argv[8]));
        s.speed = 0.5;
        s.classUid = static_cast<uint32_t>(std::atoi(argv[9]));
        n = EncodeRobotState(&s, buffer);
    } else if (std::strcmp(argv[1], "left") == 0) {
        RobotLeftPacket l = {static_cast<uint8_t>(channel),
                             static_cast<uint32_t>(std::atoi(argv[3]))};
        n = EncodeRobotLeft(&l, buffer);
    } else if (std::strcmp(argv[1], "start") == 0 && argc >= 6) {
        BattleStartPacket b = {static_cast<uint8_t>(channel),
                               static_cast<uint8_t>(std::atoi(argv[3])),
                               static_cast<uint32_t>(std::atoi(argv[4])),
                               0,
                               static_cast<uint32_t>(std::atoi(argv[5])),
                               "Peer",
                               {}};
        b.stats.hitPoints = b.stats.totalHP = 30000; // lasts a few shots
        n = EncodeBattleStart(&b, buffer);
    } else if (std::strcmp(argv[1], "over") == 0 && argc >= 5) {
        BattleOverPacket o = {static_cast<uint8_t>(channel),
                              static_cast<uint32_t>(std::atoi(argv[3])),
                              static_cast<uint32_t>(std::atoi(argv[4]))};
        n = EncodeBattleOver(&o, buffer);
    } else {
        std::fprintf(stderr, "peer_driver: unknown command %s\n", argv[1]);
        return 2;
    }
    return NetSend(buffer, n) == 0 ? 0 : 1;
}
