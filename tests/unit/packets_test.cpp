// One golden datagram per layout: the encoder writes it and nothing past it, the decoder takes
// it whole or at the head of a longer datagram, and refuses it one byte short or as another type.
#include "net/packets.h"
#include "support/test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A name field on the wire: the text, then NULs up to the field's size.
Bytes Name(const std::string& text, size_t size) {
    Bytes b(text.begin(), text.end());
    b.resize(size, 0);
    return b;
}

// Encodes the sample past a marked end, decodes the golden bytes whole, one byte short, as another
// type and at the head of a full receive buffer.
template <class P>
void RoundTrip(const char* name, size_t (*encode)(const P*, uint8_t*),
               bool (*decode)(const uint8_t*, size_t, P*), P sample, const Bytes& golden) {
    SCOPED_TRACE(name);
    Bytes out(MAX_PACKET_SIZE + 8, 0xAB);
    size_t n = encode(&sample, out.data());
    EXPECT_EQ(Bytes(out.begin() + n, out.end()), Bytes(out.size() - n, 0xAB));
    EXPECT_EQ(Bytes(out.begin(), out.begin() + n), golden);
    EXPECT_EQ(PacketSize(golden[0]), golden.size());
    EXPECT_TRUE(decode(golden.data(), golden.size(), &sample));
    EXPECT_FALSE(decode(golden.data(), golden.size() - 1, &sample));
    Bytes other = golden;
    other[0] ^= 0x10;
    EXPECT_FALSE(decode(other.data(), other.size(), &sample));
    Bytes longer = golden;
    longer.resize(RECEIVE_BUFFER_SIZE, 0xEE);
    ASSERT_EQ(ReencodePacket(longer.data(), longer.size(), out.data()), golden.size());
    EXPECT_EQ(Bytes(out.begin(), out.begin() + n), golden);
    EXPECT_EQ(ReencodePacket(golden.data(), golden.size() - 1, out.data()), 0u);
}

const Stats kStats = {1, -2, 3, 4, 5, 6, 0x01020304, -5, 300, 0x1234, 0x7FFF};
const Bytes kStatsBytes = {1,    0xFE, 3,    4,    5,    6,    0,    0,    0x04, 0x03,
                           0x02, 0x01, 0xFB, 0xFF, 0x2C, 0x01, 0x34, 0x12, 0xFF, 0x7F};

TEST(Packets, EveryLayoutRoundTripsItsGoldenBytes) {
    GameRecord game = {EGameOpen, 2, {}, {}, 2, 1};
    std::memset(game.gameName, 'g', sizeof game.gameName); // names that fill their fields
    CopyNameField(game.playerNames[0], PLAYER_NAME_FIELD, "Host");
    CopyNameField(game.playerNames[1], PLAYER_NAME_FIELD, "A joiner's name");
    BattleStartPacket start = {0, EBattleAccept, 3000, 9, 3004, {}, kStats};
    std::memset(start.name, 's', sizeof start.name);
    RobotStatePacket state = {
        3,    3001,   0x0A0B0C0D, 2.5,
        -1.0, 1.0,    315,        STATE_FLAG_JUST_TELEPORTED | STATE_FLAG_SKILL,
        -0.5, 0x8001, 4002};
    RoundTrip("game record", EncodeGameRecord, DecodeGameRecord, game,
              Cat({{0, 2},
                   Name(std::string(29, 'g'), GAME_NAME_SIZE),
                   Name("Host", 16),
                   Name("A joiner's name", 16),
                   Bytes(32, 0),
                   {2, 1}}));
    RoundTrip("energon", EncodeEnergon, DecodeEnergon, EnergonPacket{1, 0xBEEF, 12, 34, 2, 7},
              {3,  1, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0xEF, 0xBE, 0, 0,
               12, 0, 0, 0, 34, 0, 0, 0, 2, 0, 0, 0, 7,    0,    0, 0});
    RoundTrip("robot state", EncodeRobotState, DecodeRobotState, state,
              {0x06, 0x03, 0x00, 0x00, 0xB9, 0x0B, 0x00, 0x00, 0x0D, 0x0C, 0x0B, 0x0A, 0x00,
               0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0x40, 0x00, 0x00,
               0x00, 0x00, 0x00, 0x00, 0xF0, 0xBF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0,
               0x3F, 0x3B, 0x01, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
               0x00, 0x00, 0xE0, 0xBF, 0x01, 0x80, 0x00, 0x00, 0xA2, 0x0F, 0x00, 0x00});
    RoundTrip("chest opened", EncodeChestOpened, DecodeChestOpened,
              ChestOpenedPacket{1, 5, 10, 11, 2},
              {8, 1, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0, 11, 0, 0, 0, 2, 0, 0, 0});
    RoundTrip("robot left", EncodeRobotLeft, DecodeRobotLeft, RobotLeftPacket{2, 3003},
              Cat({{9, 2, 0, 0, 0xBB, 0x0B, 0, 0}, Bytes(16, 0)}));
    RoundTrip("battle start", EncodeBattleStart, DecodeBattleStart, start,
              Cat({{11, 0, 1, 0, 0xB8, 0x0B, 0, 0, 9, 0, 0, 0, 0xBC, 0x0B, 0, 0},
                   Name(std::string(15, 's'), 16),
                   kStatsBytes}));
    RoundTrip(
        "action", EncodeAction, DecodeAction,
        ActionPacket{1, 3001, 4, Stats{0, 0, 0, 0, 0, 0, 0, 0, 0, -10, 0}, kStats, 3005, 0, 0},
        Cat({{12, 1, 0, 0, 0xB9, 0x0B, 0, 0, 4, 0, 0, 0},
             Bytes(16, 0),
             {0xF6, 0xFF, 0, 0},
             kStatsBytes,
             {0xBD, 0x0B, 0, 0, 0, 0, 0, 0}}));
    RoundTrip("weapon animation", EncodeAnimation, DecodeAnimation,
              AnimationPacket{0, 3000, 2, EWeaponAnimation, 3004, NO_UID, 0, 0, 0, 0},
              Cat({{13, 0, 0, 0, 0xB8, 0x0B, 0, 0, 2,    0,    0,    0,
                    1,  0, 0, 0, 0xBC, 0x0B, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF},
                   Bytes(16, 0)}));
    RoundTrip("wall animation", EncodeAnimation, DecodeAnimation,
              AnimationPacket{0, 3002, 0, EWallAnimation, 0, NO_UID, 7, 8, 1, 225},
              {13,   0,    0,    0,    0xBA, 0x0B, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0,    0, 0, 0,
               0xFF, 0xFF, 0xFF, 0xFF, 7,    0,    0, 0, 8, 0, 0, 0, 1, 0, 0, 0, 0xE1, 0, 0, 0});
    RoundTrip("battle over", EncodeBattleOver, DecodeBattleOver, BattleOverPacket{2, 3004, 3001},
              {14, 2, 0, 0, 0xBC, 0x0B, 0, 0, 0, 0, 0, 0, 0xB9, 0x0B, 0, 0});
    RoundTrip(
        "prize", EncodePrize, DecodePrize, PrizePacket{0, 3001, NO_UID, 7005},
        {15, 0, 0, 0, 0xB9, 0x0B, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x5D, 0x1B, 0, 0});
    for (int type : {2, 4, 5, 7, 10, 16, 255}) // codes no layout has
        EXPECT_EQ(PacketSize(type), 0u) << type;
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
