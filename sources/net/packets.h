// packets: every datagram layout of the game, encoded and decoded field by field.
//
// All multi-byte fields are little-endian; f64 is IEEE-754 binary64; names are NUL-terminated
// inside fixed fields. Reserved bytes are written as zero and never read. Each layout is
// described once in packets.cpp; from it come its encoder (which returns the packet's size),
// its decoder (which refuses a buffer shorter than the layout or of another type, reads nothing
// else and leaves the record untouched when it refuses) and its size.
#pragma once

#include "data/stats.h"

#include <cstddef>
#include <cstdint>

enum PacketType : uint8_t {
    EGameOpen = 0,
    EGameStarted = 1,
    EEnergonPacket = 3,
    ERobotStatePacket = 6,
    EChestOpenedPacket = 8,
    ERobotLeftPacket = 9,
    EBattleStartPacket = 11,
    EActionPacket = 12,
    EAnimationPacket = 13,
    EBattleOverPacket = 14,
    EPrizePacket = 15,
};

constexpr size_t GAME_RECORD_SIZE = 98;
constexpr size_t ENERGON_PACKET_SIZE = 32;
constexpr size_t ROBOT_STATE_PACKET_SIZE = 64;
constexpr size_t CHEST_OPENED_PACKET_SIZE = 24;
constexpr size_t ROBOT_LEFT_PACKET_SIZE = 24;
constexpr size_t BATTLE_START_PACKET_SIZE = 52;
constexpr size_t ACTION_PACKET_SIZE = 60;
constexpr size_t ANIMATION_PACKET_SIZE = 40;
constexpr size_t BATTLE_OVER_PACKET_SIZE = 16;
constexpr size_t PRIZE_PACKET_SIZE = 20;
constexpr size_t MAX_PACKET_SIZE = 98;
constexpr size_t RECEIVE_BUFFER_SIZE = 256;
constexpr size_t STATS_WIRE_SIZE = 20;

constexpr int GAME_NAME_SIZE = 30;    // 29 characters and the NUL
constexpr int PLAYER_NAME_FIELD = 16; // 15 characters and the NUL
constexpr int MAX_PLAYERS = 4;
constexpr int NUM_LOBBY_SLOTS = 4;
constexpr uint32_t NO_UID = 0xFFFFFFFFu;

// The size of the layout of a type code, or 0 for a code no layout has.
size_t PacketSize(int type);

// Types 0 and 1: a game's announcement, also the lobby's slot record.
struct GameRecord {
    uint8_t state; // EGameOpen or EGameStarted
    uint8_t slot;  // channel 0-3; 255 marks an empty slot in the lobby's table
    char gameName[GAME_NAME_SIZE];
    char playerNames[MAX_PLAYERS][PLAYER_NAME_FIELD];
    uint8_t numPlayers;
    uint8_t announce;
};

struct EnergonPacket {
    uint8_t channel;
    uint16_t id;
    uint32_t x, y, z;
    uint32_t crystals;
};

// Bits of RobotStatePacket::flags.
constexpr int16_t STATE_FLAG_JUST_TELEPORTED = 1;
constexpr int16_t STATE_FLAG_SKILL = 2;

struct RobotStatePacket {
    uint8_t channel;
    uint32_t uid;
    uint32_t sequence;
    double x, y, z;
    int16_t facing;
    int16_t flags;
    double speed;
    int32_t move;
    uint32_t classUid;
};

struct ChestOpenedPacket {
    uint8_t channel;
    uint32_t chestIndex;
    uint32_t x, y, z;
};

struct RobotLeftPacket {
    uint8_t channel;
    uint32_t uid;
};

enum BattleStartSubType : uint8_t {
    EBattleChallenge = 0,
    EBattleAccept = 1,
};

struct BattleStartPacket {
    uint8_t channel;
    uint8_t subType;
    uint32_t challengerUid;
    uint32_t sequence;
    uint32_t challengedUid;
    char name[PLAYER_NAME_FIELD]; // the sender's
    Stats stats;                  // the sender's
};

struct ActionPacket {
    uint8_t channel;
    uint32_t actorUid;
    uint32_t sequence;
    Stats actorChange;
    Stats targetChange;
    uint32_t targetUid;
    uint8_t flagA;
    uint8_t flagB;
};

enum AnimationPacketType : uint32_t {
    ESkillAnimation = 0,
    EWeaponAnimation = 1,
    ESkillEffectAnimation = 3,
    EWallAnimation = 5,
};

struct AnimationPacket {
    uint8_t channel;
    uint32_t robotUid;
    uint32_t sequence;
    uint32_t type;
    uint32_t targetUid;
    uint32_t value;
    uint32_t x, y, z; // EWallAnimation only
    int32_t facing;   // EWallAnimation only
};

struct BattleOverPacket {
    uint8_t channel;
    uint32_t loserUid;
    uint32_t winnerUid;
};

struct PrizePacket {
    uint8_t channel;
    uint32_t winnerUid;
    uint32_t skillUid;
    uint32_t itemUid;
};

// The 20-byte stats block: six 8-bit abilities, two spare bytes, experience, then hit points,
// their maximum, energy and its maximum.
void EncodeStats(const Stats* stats, uint8_t* out);
void DecodeStats(const uint8_t* in, Stats* stats);

size_t EncodeGameRecord(const GameRecord* p, uint8_t* out);
size_t EncodeEnergon(const EnergonPacket* p, uint8_t* out);
size_t EncodeRobotState(const RobotStatePacket* p, uint8_t* out);
size_t EncodeChestOpened(const ChestOpenedPacket* p, uint8_t* out);
size_t EncodeRobotLeft(const RobotLeftPacket* p, uint8_t* out);
size_t EncodeBattleStart(const BattleStartPacket* p, uint8_t* out);
size_t EncodeAction(const ActionPacket* p, uint8_t* out);
size_t EncodeAnimation(const AnimationPacket* p, uint8_t* out);
size_t EncodeBattleOver(const BattleOverPacket* p, uint8_t* out);
size_t EncodePrize(const PrizePacket* p, uint8_t* out);

bool DecodeGameRecord(const uint8_t* in, size_t length, GameRecord* p);
bool DecodeEnergon(const uint8_t* in, size_t length, EnergonPacket* p);
bool DecodeRobotState(const uint8_t* in, size_t length, RobotStatePacket* p);
bool DecodeChestOpened(const uint8_t* in, size_t length, ChestOpenedPacket* p);
bool DecodeRobotLeft(const uint8_t* in, size_t length, RobotLeftPacket* p);
bool DecodeBattleStart(const uint8_t* in, size_t length, BattleStartPacket* p);
bool DecodeAction(const uint8_t* in, size_t length, ActionPacket* p);
bool DecodeAnimation(const uint8_t* in, size_t length, AnimationPacket* p);
bool DecodeBattleOver(const uint8_t* in, size_t length, BattleOverPacket* p);
bool DecodePrize(const uint8_t* in, size_t length, PrizePacket* p);

// Reads a datagram with the layout its first byte names and writes it into out (room for
// MAX_PACKET_SIZE bytes) as this copy would send it: reserved bytes zero, names cut to their
// fields. Returns the layout's size, or 0 when no decoder takes the datagram.
size_t ReencodePacket(const uint8_t* in, size_t length, uint8_t* out);

// Copies text into a fixed field of size bytes: at most size - 1 characters and a NUL.
void CopyNameField(char* field, size_t size, const char* text);
