// One golden datagram per layout: the encoder writes it and nothing past it, the decoder gives
// the record back from it (and from a longer datagram), and refuses it one byte short, as
// another type or without a buffer.
#include "net/packets.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A name field on the wire: the text, then NULs up to the field's size.
Bytes Name(const char* text, size_t size) {
    Bytes b(text, text + std::strlen(text));
    b.resize(size, 0);
    return b;
}

// Fills a record's name field to the brim, without a NUL.
template <size_t N> void Fill(char (&field)[N], const char* text) {
    for (size_t i = 0; i < N; i++)
        field[i] = text[i];
}

template <class P> Bytes Encoded(size_t (*encode)(const P*, uint8_t*), const P& p) {
    uint8_t out[MAX_PACKET_SIZE + 8];
    std::memset(out, 0xAB, sizeof out);
    size_t n = encode(&p, out);
    for (size_t i = n; i < sizeof out; i++)
        EXPECT_EQ(out[i], 0xAB) << "written past the layout at " << i;
    return Bytes(out, out + n);
}

struct Layout {
    const char* name;
    Bytes golden;
    std::function<Bytes()> encodeSample;
    // Decodes, and encodes the record it got.
    std::function<bool(const uint8_t*, size_t, Bytes*)> decode;
};

template <class P>
Layout Row(const char* name, size_t (*encode)(const P*, uint8_t*),
           bool (*decode)(const uint8_t*, size_t, P*), P sample, Bytes golden) {
    return {name, golden, [=] { return Encoded(encode, sample); },
            [=](const uint8_t* in, size_t length, Bytes* again) {
                P p{};
                bool ok = decode(in, length, &p);
                *again = Encoded(encode, p);
                return ok;
            }};
}

const Stats kStats = {1, -2, 3, 4, 5, 6, 0x01020304, -5, 300, 0x1234, 0x7FFF};
const Bytes kStatsBytes = {1,    0xFE, 3,    4,    5,    6,    0,    0,    0x04, 0x03,
                           0x02, 0x01, 0xFB, 0xFF, 0x2C, 0x01, 0x34, 0x12, 0xFF, 0x7F};

std::vector<Layout> Layouts() {
    GameRecord game = {EGameOpen, 2, {}, {}, 2, 1};
    Fill(game.gameName, "A game name that is far too long to fit");
    CopyNameField(game.playerNames[0], PLAYER_NAME_FIELD, "Host");
    CopyNameField(game.playerNames[1], PLAYER_NAME_FIELD, "Joiner");
    BattleStartPacket start = {0, EBattleAccept, 3000, 9, 3004, {}, kStats};
    Fill(start.name, "Sixteen chars xx and more");
    RobotStatePacket state = {
        3,    3001,   0x0A0B0C0D, 2.5,
        -1.0, 1.0,    315,        STATE_FLAG_JUST_TELEPORTED | STATE_FLAG_SKILL,
        -0.5, 0x8001, 4002};
    return {
        Row("game record", EncodeGameRecord, DecodeGameRecord, game,
            Cat({{0, 2},
                 Name("A game name that is far too l", GAME_NAME_SIZE),
                 Name("Host", 16),
                 Name("Joiner", 16),
                 Bytes(32, 0),
                 {2, 1}})),
        Row("energon", EncodeEnergon, DecodeEnergon, EnergonPacket{1, 0xBEEF, 12, 34, 2, 7},
            {3,  1, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0xEF, 0xBE, 0, 0,
             12, 0, 0, 0, 34, 0, 0, 0, 2, 0, 0, 0, 7,    0,    0, 0}),
        Row("robot state", EncodeRobotState, DecodeRobotState, state,
            {0x06, 0x03, 0x00, 0x00, 0xB9, 0x0B, 0x00, 0x00, 0x0D, 0x0C, 0x0B, 0x0A, 0x00,
             0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0x40, 0x00, 0x00,
             0x00, 0x00, 0x00, 0x00, 0xF0, 0xBF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0,
             0x3F, 0x3B, 0x01, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
             0x00, 0x00, 0xE0, 0xBF, 0x01, 0x80, 0x00, 0x00, 0xA2, 0x0F, 0x00, 0x00}),
        Row("chest opened", EncodeChestOpened, DecodeChestOpened,
            ChestOpenedPacket{1, 5, 10, 11, 2},
            {8, 1, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0, 11, 0, 0, 0, 2, 0, 0, 0}),
        Row("robot left", EncodeRobotLeft, DecodeRobotLeft, RobotLeftPacket{2, 3003},
            Cat({{9, 2, 0, 0, 0xBB, 0x0B, 0, 0}, Bytes(16, 0)})),
        Row("battle start", EncodeBattleStart, DecodeBattleStart, start,
            Cat({{11, 0, 1, 0, 0xB8, 0x0B, 0, 0, 9, 0, 0, 0, 0xBC, 0x0B, 0, 0},
                 Name("Sixteen chars x", 16),
                 kStatsBytes})),
        Row("action", EncodeAction, DecodeAction,
            ActionPacket{1, 3001, 4, Stats{0, 0, 0, 0, 0, 0, 0, 0, 0, -10, 0}, kStats, 3005, 0, 0},
            Cat({{12, 1, 0, 0, 0xB9, 0x0B, 0, 0, 4, 0, 0, 0},
                 Bytes(16, 0),
                 {0xF6, 0xFF, 0, 0},
                 kStatsBytes,
                 {0xBD, 0x0B, 0, 0, 0, 0, 0, 0}})),
        Row("weapon animation", EncodeAnimation, DecodeAnimation,
            AnimationPacket{0, 3000, 2, EWeaponAnimation, 3004, NO_UID, 0, 0, 0, 0},
            Cat({{13, 0, 0, 0, 0xB8, 0x0B, 0, 0, 2,    0,    0,    0,
                  1,  0, 0, 0, 0xBC, 0x0B, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF},
                 Bytes(16, 0)})),
        Row("wall animation", EncodeAnimation, DecodeAnimation,
            AnimationPacket{0, 3002, 0, EWallAnimation, 0, NO_UID, 7, 8, 1, 225},
            {13,   0,    0,    0,    0xBA, 0x0B, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0,    0, 0, 0,
             0xFF, 0xFF, 0xFF, 0xFF, 7,    0,    0, 0, 8, 0, 0, 0, 1, 0, 0, 0, 0xE1, 0, 0, 0}),
        Row("battle over", EncodeBattleOver, DecodeBattleOver, BattleOverPacket{2, 3004, 3001},
            {14, 2, 0, 0, 0xBC, 0x0B, 0, 0, 0, 0, 0, 0, 0xB9, 0x0B, 0, 0}),
        Row("prize", EncodePrize, DecodePrize, PrizePacket{0, 3001, NO_UID, 7005},
            {15, 0, 0, 0, 0xB9, 0x0B, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x5D, 0x1B, 0, 0}),
    };
}

TEST(Packets, EveryLayoutRoundTripsItsGoldenBytes) {
    for (const Layout& l : Layouts()) {
        SCOPED_TRACE(l.name);
        const Bytes& golden = l.golden;
        EXPECT_EQ(l.encodeSample(), golden);
        EXPECT_EQ(PacketSize(golden[0]), golden.size());
        Bytes again;
        EXPECT_TRUE(l.decode(golden.data(), golden.size(), &again));
        EXPECT_EQ(again, golden);
        EXPECT_FALSE(l.decode(golden.data(), golden.size() - 1, &again));
        EXPECT_FALSE(l.decode(nullptr, golden.size(), &again));
        Bytes foreign = golden;
        foreign[0] ^= 0x10;
        EXPECT_FALSE(l.decode(foreign.data(), foreign.size(), &again));

        // Read by its type code from a full receive buffer: the tail is not read.
        Bytes longer = golden;
        longer.resize(RECEIVE_BUFFER_SIZE, 0xEE);
        uint8_t out[MAX_PACKET_SIZE];
        ASSERT_EQ(ReencodePacket(longer.data(), longer.size(), out), golden.size());
        EXPECT_EQ(Bytes(out, out + golden.size()), golden);
        EXPECT_EQ(ReencodePacket(golden.data(), golden.size() - 1, out), 0u);
        EXPECT_EQ(ReencodePacket(nullptr, golden.size(), out), 0u);
    }
}

TEST(Packets, SizesOfEveryType) {
    const int sizes[16] = {98, 98, 0, 32, 0, 0, 64, 0, 24, 24, 0, 52, 60, 40, 16, 20};
    for (int t = 0; t < 16; t++)
        EXPECT_EQ(PacketSize(t), static_cast<size_t>(sizes[t])) << t;
    EXPECT_EQ(PacketSize(16), 0u);
    EXPECT_EQ(PacketSize(255), 0u);
}

TEST(Packets, NamesWithoutTheirNulAreCutToTheirFields) {
    Bytes raw(GAME_RECORD_SIZE, 'x');
    raw[0] = EGameStarted;
    GameRecord d;
    ASSERT_TRUE(DecodeGameRecord(raw.data(), raw.size(), &d));
    EXPECT_EQ(std::string(d.gameName), std::string(29, 'x'));
    EXPECT_EQ(std::string(d.playerNames[3]), std::string(15, 'x'));
    CopyNameField(d.gameName, GAME_NAME_SIZE, nullptr);
    EXPECT_EQ(std::string(d.gameName), "");
}

} // namespace
