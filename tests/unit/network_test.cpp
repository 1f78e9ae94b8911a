// The inbox between the network threads and the owner thread: what is queued and what is
// dropped, and that several threads can offer at once.
#include "net/network.h"
#include "net/packets.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

TEST(PacketInbox, QueuesWholeLayoutsAndDropsShortOrUnknownOnes) {
    PacketInbox inbox;
    std::vector<uint8_t> state(ROBOT_STATE_PACKET_SIZE, 0);
    state[0] = ERobotStatePacket;
    state[4] = 7;
    EXPECT_TRUE(inbox.Offer(state.data(), state.size()));
    EXPECT_FALSE(inbox.Offer(state.data(), 63));
    EXPECT_EQ(inbox.DroppedShort(), 1);
    std::vector<uint8_t> other(100, 0);
    for (uint8_t type : {0, 1, 2, 7, 16, 255}) {
        other[0] = type;
        EXPECT_FALSE(inbox.Offer(other.data(), other.size()));
    }
    EXPECT_EQ(inbox.DroppedUnknown(), 6);
    EXPECT_FALSE(inbox.Offer(nullptr, 0));
    // A longer datagram is kept whole; the handler reads only its layout.
    std::vector<uint8_t> longer(200, 1);
    longer[0] = EPrizePacket;
    EXPECT_TRUE(inbox.Offer(longer.data(), longer.size()));
    std::deque<QueuedPacket> out2;
    EXPECT_EQ(inbox.Drain(out2), 2u);
    ASSERT_EQ(out2.size(), 2u);
    EXPECT_EQ(out2[0].bytes[4], 7);
    EXPECT_EQ(out2[1].length, 200u);
    EXPECT_EQ(inbox.Pending(), 0u);
}

TEST(PacketInbox, AFloodStopsAtTheLimitAndIsToldInOneLineASecond) {
    PacketInbox inbox;
    std::vector<uint8_t> p(BATTLE_OVER_PACKET_SIZE, 0);
    p[0] = EBattleOverPacket;
    auto flood = [&](size_t whole, size_t cut) {
        for (size_t i = 0; i < whole; i++)
            inbox.Offer(p.data(), p.size());
        for (size_t i = 0; i < cut; i++)
            inbox.Offer(p.data(), p.size() - 1);
    };
    flood(INBOX_CAPACITY + 5, 7);
    EXPECT_EQ(inbox.Pending(), INBOX_CAPACITY);
    std::deque<QueuedPacket> got;
    auto t = std::chrono::steady_clock::now();
    std::string first = Captured([&] { inbox.Drain(got, t); });
    flood(1, 2);
    std::string sameSecond =
        Captured([&] { inbox.Drain(got, t + std::chrono::milliseconds(999)); });
    std::string nextSecond = Captured([&] { inbox.Drain(got, t + std::chrono::seconds(1)); });
    EXPECT_EQ(got.size(), INBOX_CAPACITY + 1);
    EXPECT_EQ(Occurrences(first, "\n"), 1);
    EXPECT_NE(first.find("Dropped 12 packets"), std::string::npos);
    EXPECT_NE(first.find("5 with the inbox full"), std::string::npos);
    EXPECT_EQ(sameSecond, "");
    EXPECT_NE(nextSecond.find("Dropped 2 packets"), std::string::npos);
}

TEST(PacketInbox, ManyThreadsOfferWhileTheOwnerDrains) {
    constexpr int kThreads = 4, kEach = 500;
    PacketInbox inbox(kThreads * kEach);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; t++) {
        threads.emplace_back([&inbox, t] {
            std::vector<uint8_t> p(BATTLE_OVER_PACKET_SIZE, 0);
            p[0] = EBattleOverPacket;
            p[4] = static_cast<uint8_t>(t);
            for (int i = 0; i < kEach; i++) {
                p[12] = static_cast<uint8_t>(i);
                inbox.Offer(p.data(), p.size());
            }
        });
    }
    std::deque<QueuedPacket> got;
    while (got.size() < static_cast<size_t>(kThreads * kEach))
        inbox.Drain(got);
    for (auto& th : threads)
        th.join();
    // Each sender's packets arrive in the order it sent them.
    int last[kThreads] = {-1, -1, -1, -1};
    for (const QueuedPacket& p : got) {
        int t = p.bytes[4];
        EXPECT_EQ(p.bytes[12], static_cast<uint8_t>(last[t] + 1));
        last[t]++;
    }
}

} // namespace
