// One golden datagram per layout: the encoder writes it and nothing past it, the decoder takes
// it whole or at the head of a longer datagram, and refuses it one byte short or as another type.
#include "net/packets.h"
#include "support/test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Bytes written as hex digits, spaces ignored; "<text|n>" is the text, then NULs up to n bytes.
Bytes Hex(const std::string& s) {
    Bytes b;
    for (size_t i = 0; i < s.size(); i++)
        if (size_t bar = s.find('|', i); s[i] == '<') {
            b.insert(b.end(), s.begin() + i + 1, s.begin() + bar);
            b.resize(b.size() + std::stoul(s.substr(bar + 1)) - (bar - i - 1), 0);
            i = s.find('>', bar);
        } else if (s[i] != ' ')
            b.push_back(static_cast<uint8_t>(std::stoi(s.substr(i++, 2), nullptr, 16)));
    return b;
}

// Encodes the sample past a marked end, decodes the golden bytes whole, one byte short, as another
// type and at the head of a full receive buffer.
template <class P>
void RoundTrip(size_t (*encode)(const P*, uint8_t*), bool (*decode)(const uint8_t*, size_t, P*),
               P sample, const std::string& hex) {
    SCOPED_TRACE(hex);
    const Bytes golden = Hex(hex);
    Bytes out(MAX_PACKET_SIZE + 8, 0xAB), other = golden, longer = golden;
    size_t n = encode(&sample, out.data());
    EXPECT_EQ(Bytes(out.begin() + n, out.end()), Bytes(out.size() - n, 0xAB));
    EXPECT_EQ(Bytes(out.begin(), out.begin() + n), golden);
    EXPECT_EQ(PacketSize(golden[0]), golden.size());
    EXPECT_TRUE(decode(golden.data(), golden.size(), &sample));
    EXPECT_FALSE(decode(golden.data(), golden.size() - 1, &sample));
    other[0] ^= 0x10;
    EXPECT_FALSE(decode(other.data(), other.size(), &sample));
    longer.resize(RECEIVE_BUFFER_SIZE, 0xEE);
    ASSERT_EQ(ReencodePacket(longer.data(), longer.size(), out.data()), golden.size());
    EXPECT_EQ(Bytes(out.begin(), out.begin() + n), golden);
    EXPECT_EQ(ReencodePacket(golden.data(), golden.size() - 1, out.data()), 0u);
}

TEST(Packets, EveryLayoutRoundTripsItsGoldenBytes) {
    const Stats stats = {1, -2, 3, 4, 5, 6, 0x01020304, -5, 300, 0x1234, 0x7FFF};
    const std::string statsHex = " 01FE0304 05060000 04030201 FBFF2C01 3412FF7F";
    GameRecord game = {EGameOpen, 2, {}, {"Host", "A joiner's name"}, 2, 1};
    std::memset(game.gameName, 'g', sizeof game.gameName); // names that fill their fields
    BattleStartPacket start = {0, EBattleAccept, 3000, 9, 3004, {}, stats};
    std::memset(start.name, 's', sizeof start.name);
    const int flags = STATE_FLAG_JUST_TELEPORTED | STATE_FLAG_SKILL;
    // clang-format off
    RoundTrip(EncodeGameRecord, DecodeGameRecord, game, "0002 <" + std::string(29, 'g') + "|30> <Host|16> <A joiner's name|16> <|32> 0201");
    RoundTrip(EncodeEnergon, DecodeEnergon, EnergonPacket{1, 0xBEEF, 12, 34, 2, 7}, "03010000 00000000 00000000 EFBE0000 0C000000 22000000 02000000 07000000");
    RoundTrip(EncodeRobotState, DecodeRobotState, RobotStatePacket{3, 3001, 0x0A0B0C0D, 2.5, -1.0, 1.0, 315, flags, -0.5, 0x8001, 4002},
              "06030000 B90B0000 0D0C0B0A 00000000 00000000 00000440 00000000 0000F0BF 00000000 0000F03F 3B010300 00000000 00000000 0000E0BF 01800000 A20F0000");
    RoundTrip(EncodeChestOpened, DecodeChestOpened, ChestOpenedPacket{1, 5, 10, 11, 2}, "08010000 05000000 00000000 0A000000 0B000000 02000000");
    RoundTrip(EncodeRobotLeft, DecodeRobotLeft, RobotLeftPacket{2, 3003}, "09020000 BB0B0000 <|16>");
    RoundTrip(EncodeBattleStart, DecodeBattleStart, start, "0B000100 B80B0000 09000000 BC0B0000 <" + std::string(15, 's') + "|16>" + statsHex);
    RoundTrip(EncodeAction, DecodeAction, ActionPacket{1, 3001, 4, Stats{0, 0, 0, 0, 0, 0, 0, 0, 0, -10, 0}, stats, 3005, 0, 0},
              "0C010000 B90B0000 04000000 <|16> F6FF0000" + statsHex + " BD0B0000 00000000");
    RoundTrip(EncodeAnimation, DecodeAnimation, AnimationPacket{0, 3000, 2, EWeaponAnimation, 3004, NO_UID, 0, 0, 0, 0},
              "0D000000 B80B0000 02000000 01000000 BC0B0000 FFFFFFFF <|16>");
    RoundTrip(EncodeAnimation, DecodeAnimation, AnimationPacket{0, 3002, 0, EWallAnimation, 0, NO_UID, 7, 8, 1, 225},
              "0D000000 BA0B0000 00000000 05000000 00000000 FFFFFFFF 07000000 08000000 01000000 E1000000");
    RoundTrip(EncodeBattleOver, DecodeBattleOver, BattleOverPacket{2, 3004, 3001}, "0E020000 BC0B0000 00000000 B90B0000");
    RoundTrip(EncodePrize, DecodePrize, PrizePacket{0, 3001, NO_UID, 7005}, "0F000000 B90B0000 00000000 FFFFFFFF 5D1B0000");
    // clang-format on
    for (int type : {2, 4, 5, 7, 10, 16, 255}) // codes no layout has
        EXPECT_EQ(PacketSize(type), 0u) << type;
}

TEST(Packets, NamesWithoutTheirNulAreCutToTheirFields) {
    Bytes raw(GAME_RECORD_SIZE, 'x');
    raw[0] = EGameStarted;
    GameRecord d;
    ASSERT_TRUE(DecodeGameRecord(raw.data(), raw.size(), &d));
    std::string game = d.gameName, player = d.playerNames[3];
    CopyNameField(d.gameName, GAME_NAME_SIZE, nullptr);
    EXPECT_EQ(std::tuple(game, player, std::string(d.gameName)),
              std::tuple(std::string(29, 'x'), std::string(15, 'x'), ""));
}

} // namespace
