// Golden bytes for every datagram layout: offsets, widths, little-endian, names cut to their
// fields, short and foreign buffers refused.
#include "net/packets.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

template <typename T> Bytes Encoded(size_t (*encode)(const T*, uint8_t*), const T* p) {
    uint8_t buffer[MAX_PACKET_SIZE + 8];
    std::memset(buffer, 0xAB, sizeof buffer);
    size_t n = encode(p, buffer);
    // Nothing written past the layout.
    for (size_t i = n; i < sizeof buffer; i++)
        EXPECT_EQ(buffer[i], 0xAB) << i;
    return Bytes(buffer, buffer + n);
}

// Decoding the bytes and encoding the result gives the same bytes: every field is read back
// from where it was written.
template <typename T>
T RoundTrip(bool (*decode)(const uint8_t*, size_t, T*), size_t (*encode)(const T*, uint8_t*),
            const Bytes& b) {
    T d{};
    EXPECT_TRUE(decode(b.data(), b.size(), &d));
    EXPECT_EQ(Encoded(encode, &d), b);
    return d;
}

uint32_t U32At(const Bytes& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

Stats SampleStats() {
    Stats s = {};
    s.evade = 1;
    s.stamina = -2;
    s.defense = 3;
    s.power = 4;
    s.dexterity = 5;
    s.speed = 6;
    s.experience = 0x01020304;
    s.hitPoints = -5;
    s.totalHP = 300;
    s.energy = 0x1234;
    s.totalEnergy = 0x7FFF;
    return s;
}

const Bytes kStatsBytes = {1,    0xFE, 3,    4,    5,    6,    0,    0,    0x04, 0x03,
                           0x02, 0x01, 0xFB, 0xFF, 0x2C, 0x01, 0x34, 0x12, 0xFF, 0x7F};

TEST(Packets, SizesOfEveryType) {
    const int sizes[16] = {98, 98, 0, 32, 0, 0, 64, 0, 24, 24, 0, 52, 60, 40, 16, 20};
    for (int t = 0; t < 16; t++)
        EXPECT_EQ(PacketSize(t), static_cast<size_t>(sizes[t])) << t;
    EXPECT_EQ(PacketSize(16), 0u);
    EXPECT_EQ(PacketSize(255), 0u);
}

TEST(Packets, StatsBlockIsTwentyBytesWithTwoSpareBytes) {
    Stats s = SampleStats();
    uint8_t out[STATS_WIRE_SIZE];
    EncodeStats(&s, out);
    EXPECT_EQ(Bytes(out, out + 20), kStatsBytes);
    Stats back{};
    DecodeStats(out, &back);
    EXPECT_EQ(std::memcmp(&back, &s, sizeof s), 0);
}

TEST(Packets, GameRecordLayout) {
    GameRecord r = {};
    r.state = EGameOpen;
    r.slot = 2;
    CopyNameField(r.gameName, sizeof r.gameName, "A game name that is far too long to fit");
    CopyNameField(r.playerNames[0], PLAYER_NAME_FIELD, "Host");
    CopyNameField(r.playerNames[1], PLAYER_NAME_FIELD, "Joiner");
    r.numPlayers = 2;
    r.announce = 1;
    Bytes b = Encoded(EncodeGameRecord, &r);
    ASSERT_EQ(b.size(), 98u);
    EXPECT_EQ(b[0], 0);
    EXPECT_EQ(b[1], 2);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&b[2])), "A game name that is far too l");
    EXPECT_EQ(b[31], 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&b[32])), "Host");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&b[48])), "Joiner");
    EXPECT_EQ(b[64], 0);
    EXPECT_EQ(b[96], 2);
    EXPECT_EQ(b[97], 1);

    // A record whose fields lack their NULs decodes to terminated names.
    Bytes raw(98, 'x');
    raw[0] = EGameStarted;
    raw[1] = 3;
    GameRecord d;
    ASSERT_TRUE(DecodeGameRecord(raw.data(), raw.size(), &d));
    EXPECT_EQ(d.state, EGameStarted);
    EXPECT_EQ(std::string(d.gameName), std::string(29, 'x'));
    EXPECT_EQ(std::string(d.playerNames[3]), std::string(15, 'x'));
    EXPECT_FALSE(DecodeGameRecord(raw.data(), 97, &d));
    raw[0] = 3;
    EXPECT_FALSE(DecodeGameRecord(raw.data(), raw.size(), &d));
}

TEST(Packets, EnergonLayout) {
    EnergonPacket p = {1, 0xBEEF, 12, 34, 2, 7};
    Bytes b = Encoded(EncodeEnergon, &p);
    Bytes want = {3,  1, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0xEF, 0xBE, 0, 0,
                  12, 0, 0, 0, 34, 0, 0, 0, 2, 0, 0, 0, 7,    0,    0, 0};
    EXPECT_EQ(b, want);
    EnergonPacket d = RoundTrip(DecodeEnergon, EncodeEnergon, b);
    EXPECT_FALSE(DecodeEnergon(b.data(), 31, &d));
}

TEST(Packets, RobotStateLayout) {
    RobotStatePacket p = {};
    p.channel = 3;
    p.uid = 3001;
    p.sequence = 0x0A0B0C0D;
    p.x = 2.5;
    p.y = -1.0;
    p.z = 1.0;
    p.facing = 315;
    p.flags = STATE_FLAG_JUST_TELEPORTED | STATE_FLAG_SKILL;
    p.speed = -0.5;
    p.move = 0x8001;
    p.classUid = 4002;
    Bytes b = Encoded(EncodeRobotState, &p);
    ASSERT_EQ(b.size(), 64u);
    EXPECT_EQ(b[0], 6);
    EXPECT_EQ(b[1], 3);
    EXPECT_EQ(U32At(b, 4), 3001u);
    EXPECT_EQ(Bytes(b.begin() + 8, b.begin() + 12), (Bytes{0x0D, 0x0C, 0x0B, 0x0A}));
    // 2.5 = 0x4004000000000000, -1.0 = 0xBFF0000000000000, -0.5 = 0xBFE0000000000000
    EXPECT_EQ(Bytes(b.begin() + 16, b.begin() + 24), (Bytes{0, 0, 0, 0, 0, 0, 0x04, 0x40}));
    EXPECT_EQ(Bytes(b.begin() + 24, b.begin() + 32), (Bytes{0, 0, 0, 0, 0, 0, 0xF0, 0xBF}));
    EXPECT_EQ(Bytes(b.begin() + 40, b.begin() + 44), (Bytes{0x3B, 0x01, 0x03, 0x00}));
    EXPECT_EQ(Bytes(b.begin() + 48, b.begin() + 56), (Bytes{0, 0, 0, 0, 0, 0, 0xE0, 0xBF}));
    EXPECT_EQ(U32At(b, 56), 0x8001u);
    EXPECT_EQ(U32At(b, 60), 4002u);
    RobotStatePacket d = RoundTrip(DecodeRobotState, EncodeRobotState, b);
    EXPECT_FALSE(DecodeRobotState(b.data(), 63, &d));
    b[0] = 7;
    EXPECT_FALSE(DecodeRobotState(b.data(), 64, &d));
}

TEST(Packets, ChestOpenedAndRobotLeftLayouts) {
    ChestOpenedPacket c = {1, 5, 10, 11, 2};
    Bytes b = Encoded(EncodeChestOpened, &c);
    Bytes want = {8, 1, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0, 11, 0, 0, 0, 2, 0, 0, 0};
    EXPECT_EQ(b, want);
    RoundTrip(DecodeChestOpened, EncodeChestOpened, b);

    RobotLeftPacket l = {2, 3003};
    b = Encoded(EncodeRobotLeft, &l);
    ASSERT_EQ(b.size(), 24u);
    EXPECT_EQ(b[0], 9);
    EXPECT_EQ(b[1], 2);
    EXPECT_EQ(U32At(b, 4), 3003u);
    RobotLeftPacket ld = RoundTrip(DecodeRobotLeft, EncodeRobotLeft, b);
    EXPECT_FALSE(DecodeRobotLeft(b.data(), 23, &ld));
}

TEST(Packets, BattleStartCarriesTheSendersNameCutToFifteen) {
    BattleStartPacket p = {};
    p.channel = 0;
    p.subType = EBattleAccept;
    p.challengerUid = 3000;
    p.sequence = 9;
    p.challengedUid = 3004;
    CopyNameField(p.name, sizeof p.name, "Sixteen chars xx and more");
    p.stats = SampleStats();
    Bytes b = Encoded(EncodeBattleStart, &p);
    ASSERT_EQ(b.size(), 52u);
    EXPECT_EQ(b[0], 11);
    EXPECT_EQ(b[2], 1);
    EXPECT_EQ(U32At(b, 4), 3000u);
    EXPECT_EQ(U32At(b, 8), 9u);
    EXPECT_EQ(U32At(b, 12), 3004u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&b[16])), "Sixteen chars x");
    EXPECT_EQ(b[31], 0);
    EXPECT_EQ(Bytes(b.begin() + 32, b.end()), kStatsBytes);
    EXPECT_STREQ(RoundTrip(DecodeBattleStart, EncodeBattleStart, b).name, "Sixteen chars x");
}

TEST(Packets, ActionLayout) {
    ActionPacket p = {};
    p.channel = 1;
    p.actorUid = 3001;
    p.sequence = 4;
    p.actorChange.energy = -10;
    p.targetChange = SampleStats();
    p.targetUid = 3005;
    Bytes b = Encoded(EncodeAction, &p);
    ASSERT_EQ(b.size(), 60u);
    EXPECT_EQ(b[0], 12);
    EXPECT_EQ(U32At(b, 4), 3001u);
    EXPECT_EQ(U32At(b, 8), 4u);
    EXPECT_EQ(b[12 + 16], 0xF6); // energy -10, low byte
    EXPECT_EQ(b[12 + 17], 0xFF);
    EXPECT_EQ(Bytes(b.begin() + 32, b.begin() + 52), kStatsBytes);
    EXPECT_EQ(U32At(b, 52), 3005u);
    EXPECT_EQ(b[56], 0);
    EXPECT_EQ(b[57], 0);
    RoundTrip(DecodeAction, EncodeAction, b);
}

TEST(Packets, AnimationLayoutsForEffectsAndWallShots) {
    AnimationPacket p = {};
    p.channel = 0;
    p.robotUid = 3000;
    p.sequence = 2;
    p.type = EWeaponAnimation;
    p.targetUid = 3004;
    p.value = NO_UID;
    Bytes b = Encoded(EncodeAnimation, &p);
    ASSERT_EQ(b.size(), 40u);
    EXPECT_EQ(b[0], 13);
    EXPECT_EQ(U32At(b, 12), 1u);
    EXPECT_EQ(U32At(b, 16), 3004u);
    EXPECT_EQ(U32At(b, 20), 0xFFFFFFFFu);

    AnimationPacket w = {};
    w.robotUid = 3002;
    w.type = EWallAnimation;
    w.value = NO_UID;
    w.x = 7;
    w.y = 8;
    w.z = 1;
    w.facing = 225;
    b = Encoded(EncodeAnimation, &w);
    EXPECT_EQ(U32At(b, 12), 5u);
    EXPECT_EQ(U32At(b, 24), 7u);
    EXPECT_EQ(U32At(b, 28), 8u);
    EXPECT_EQ(U32At(b, 32), 1u);
    EXPECT_EQ(U32At(b, 36), 225u);
    AnimationPacket d = RoundTrip(DecodeAnimation, EncodeAnimation, b);
    EXPECT_FALSE(DecodeAnimation(b.data(), 39, &d));
}

TEST(Packets, BattleOverAndPrizeLayouts) {
    BattleOverPacket o = {2, 3004, 3001};
    Bytes b = Encoded(EncodeBattleOver, &o);
    Bytes want = {14, 2, 0, 0, 0xBC, 0x0B, 0, 0, 0, 0, 0, 0, 0xB9, 0x0B, 0, 0};
    EXPECT_EQ(b, want);
    RoundTrip(DecodeBattleOver, EncodeBattleOver, b);

    PrizePacket p = {0, 3001, NO_UID, 7005};
    b = Encoded(EncodePrize, &p);
    want = {15, 0, 0, 0, 0xB9, 0x0B, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x5D, 0x1B, 0, 0};
    EXPECT_EQ(b, want);
    PrizePacket pd = RoundTrip(DecodePrize, EncodePrize, b);
    EXPECT_FALSE(DecodePrize(b.data(), 19, &pd));
}

TEST(Packets, DecodersReadOnlyTheirLayoutAndRefuseNull) {
    // Longer datagrams decode (the tail is ignored); null buffers never do.
    Bytes big(256, 0);
    big[0] = EBattleOverPacket;
    BattleOverPacket o;
    EXPECT_TRUE(DecodeBattleOver(big.data(), big.size(), &o));
    EXPECT_FALSE(DecodeBattleOver(nullptr, 16, &o));
}

} // namespace
