// The inbox between the network threads and the owner thread: what is queued, what is dropped
// and how the drops are told, with several threads offering at once.
#include "net/network.h"
#include "net/packets.h"
#include "support/test_support.h"

namespace {

// A datagram of that type and length, marked at byte 4.
std::vector<uint8_t> Packet(uint8_t type, size_t length, uint8_t mark = 0) {
    std::vector<uint8_t> p(length, 0);
    std::tie(p[0], p[4]) = std::tie(type, mark);
    return p;
}

TEST(PacketInbox, QueuesWholeGameLayoutsUpToItsCapacityAndTellsTheDropsInOneLineASecond) {
    PacketInbox inbox(3);
    // clang-format off
    const std::pair<std::vector<uint8_t>, bool> cases[] = {
        {Packet(ERobotStatePacket, ROBOT_STATE_PACKET_SIZE, 1), true},
        {Packet(ERobotStatePacket, ROBOT_STATE_PACKET_SIZE - 1), false}, // short
        {Packet(EPrizePacket, 200, 2), true}, // longer: kept whole, read as its layout
        {Packet(EGameOpen, 100), false},      // lobby records and unknown types are only counted
        {Packet(EGameStarted, 100), false}, {Packet(2, 100), false}, {Packet(255, 100), false},
        {Packet(EBattleOverPacket, BATTLE_OVER_PACKET_SIZE, 3), true},
        {Packet(EBattleOverPacket, BATTLE_OVER_PACKET_SIZE), false}, // full
    };
    // clang-format on
    for (const auto& [packet, queued] : cases)
        EXPECT_EQ(inbox.Offer(packet.data(), packet.size()), queued) << packet.size();
    EXPECT_FALSE(inbox.Offer(nullptr, 0) || inbox.Offer(cases[5].first.data(), 0)); // empty: short
    std::deque<QueuedPacket> out;
    auto t = std::chrono::steady_clock::now();
    auto drainAt = [&](auto later) { return Captured([&] { inbox.Drain(out, t + later); }); };
    std::string first = drainAt(std::chrono::seconds(0));
    inbox.Offer(cases[1].first.data(), cases[1].first.size());
    std::string sameSecond = drainAt(std::chrono::milliseconds(999)),
                nextSecond = drainAt(std::chrono::seconds(1));
    EXPECT_EQ(std::tuple(out.size(), out[0].bytes[4], out[1].bytes[4], out[1].length,
                         out[2].bytes[4], inbox.DroppedUnknown()),
              std::tuple(3u, 1, 2, 200u, 3, 4));
    EXPECT_EQ(first + sameSecond + nextSecond,
              "Dropped 4 packets since the last report: 3 shorter than their layout, 1 with the "
              "inbox full (3)\nDropped 1 packets since the last report: 1 shorter than their "
              "layout, 0 with the inbox full (3)\n");
    EXPECT_EQ(sameSecond, "");
}

TEST(PacketInbox, ManyThreadsOfferWhileTheOwnerDrainsAndEachSendersOrderHolds) {
    constexpr int kThreads = 4, kEach = 500;
    PacketInbox inbox(kThreads * kEach);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; t++)
        threads.emplace_back([&inbox, t] {
            std::vector<uint8_t> p = Packet(EBattleOverPacket, BATTLE_OVER_PACKET_SIZE, t);
            for (int i = 0; i < kEach; i++, p[12]++)
                inbox.Offer(p.data(), p.size());
        });
    std::deque<QueuedPacket> got;
    while (got.size() < static_cast<size_t>(kThreads * kEach))
        inbox.Drain(got);
    for (auto& th : threads)
        th.join();
    int next[kThreads] = {};
    for (const QueuedPacket& p : got)
        EXPECT_EQ(p.bytes[12], static_cast<uint8_t>(next[p.bytes[4]]++));
}

} // namespace
