// packets: explicit offsets, little-endian, one function per layout.
#include "net/packets.h"

#include <cstring>

namespace {

void PutU8(uint8_t* out, size_t at, uint8_t v) {
    out[at] = v;
}

void PutU16(uint8_t* out, size_t at, uint16_t v) {
    out[at] = static_cast<uint8_t>(v);
    out[at + 1] = static_cast<uint8_t>(v >> 8);
}

void PutU32(uint8_t* out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++)
        out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

void PutF64(uint8_t* out, size_t at, double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 8; i++)
        out[at + i] = static_cast<uint8_t>(bits >> (8 * i));
}

void PutText(uint8_t* out, size_t at, size_t size, const char* text) {
    CopyNameField(reinterpret_cast<char*>(out + at), size, text);
}

uint8_t GetU8(const uint8_t* in, size_t at) {
    return in[at];
}

uint16_t GetU16(const uint8_t* in, size_t at) {
    return static_cast<uint16_t>(in[at] | (in[at + 1] << 8));
}

uint32_t GetU32(const uint8_t* in, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; i--)
        v = (v << 8) | in[at + i];
    return v;
}

double GetF64(const uint8_t* in, size_t at) {
    uint64_t bits = 0;
    for (int i = 7; i >= 0; i--)
        bits = (bits << 8) | in[at + i];
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// A whole name field, the bytes after its NUL included (a joiner's tag lives there); the last
// byte is always a NUL.
void PutField(uint8_t* out, size_t at, size_t size, const char* field) {
    std::memcpy(out + at, field, size - 1);
    out[at + size - 1] = 0;
}

// A received name field may lack its NUL: the copy always has one.
void GetText(const uint8_t* in, size_t at, size_t size, char* field) {
    std::memcpy(field, in + at, size);
    field[size - 1] = '\0';
}

// Zero the packet and write the common head: type and channel.
size_t StartPacket(uint8_t* out, size_t size, uint8_t type, uint8_t channel) {
    std::memset(out, 0, size);
    PutU8(out, 0, type);
    PutU8(out, 1, channel);
    return size;
}

bool CanDecode(const uint8_t* in, size_t length, uint8_t type) {
    return in != nullptr && length >= PacketSize(type) && in[0] == type;
}

} // namespace

void CopyNameField(char* field, size_t size, const char* text) {
    if (size == 0)
        return;
    size_t n = text != nullptr ? strnlen(text, size - 1) : 0;
    std::memcpy(field, text, n);
    std::memset(field + n, 0, size - n);
}

size_t PacketSize(int type) {
    switch (type) {
    case EGameOpen:
    case EGameStarted:
        return GAME_RECORD_SIZE;
    case EEnergonPacket:
        return ENERGON_PACKET_SIZE;
    case ERobotStatePacket:
        return ROBOT_STATE_PACKET_SIZE;
    case EChestOpenedPacket:
        return CHEST_OPENED_PACKET_SIZE;
    case ERobotLeftPacket:
        return ROBOT_LEFT_PACKET_SIZE;
    case EBattleStartPacket:
        return BATTLE_START_PACKET_SIZE;
    case EActionPacket:
        return ACTION_PACKET_SIZE;
    case EAnimationPacket:
        return ANIMATION_PACKET_SIZE;
    case EBattleOverPacket:
        return BATTLE_OVER_PACKET_SIZE;
    case EPrizePacket:
        return PRIZE_PACKET_SIZE;
    default:
        return 0;
    }
}

void EncodeStats(const Stats* s, uint8_t* out) {
    std::memset(out, 0, STATS_WIRE_SIZE);
    PutU8(out, 0, static_cast<uint8_t>(s->evade));
    PutU8(out, 1, static_cast<uint8_t>(s->stamina));
    PutU8(out, 2, static_cast<uint8_t>(s->defense));
    PutU8(out, 3, static_cast<uint8_t>(s->power));
    PutU8(out, 4, static_cast<uint8_t>(s->dexterity));
    PutU8(out, 5, static_cast<uint8_t>(s->speed));
    PutU32(out, 8, static_cast<uint32_t>(s->experience));
    PutU16(out, 12, static_cast<uint16_t>(s->hitPoints));
    PutU16(out, 14, static_cast<uint16_t>(s->totalHP));
    PutU16(out, 16, static_cast<uint16_t>(s->energy));
    PutU16(out, 18, static_cast<uint16_t>(s->totalEnergy));
}

void DecodeStats(const uint8_t* in, Stats* s) {
    std::memset(s, 0, sizeof *s);
    s->evade = static_cast<int8_t>(GetU8(in, 0));
    s->stamina = static_cast<int8_t>(GetU8(in, 1));
    s->defense = static_cast<int8_t>(GetU8(in, 2));
    s->power = static_cast<int8_t>(GetU8(in, 3));
    s->dexterity = static_cast<int8_t>(GetU8(in, 4));
    s->speed = static_cast<int8_t>(GetU8(in, 5));
    s->experience = static_cast<int32_t>(GetU32(in, 8));
    s->hitPoints = static_cast<int16_t>(GetU16(in, 12));
    s->totalHP = static_cast<int16_t>(GetU16(in, 14));
    s->energy = static_cast<int16_t>(GetU16(in, 16));
    s->totalEnergy = static_cast<int16_t>(GetU16(in, 18));
}

size_t EncodeGameRecord(const GameRecord* p, uint8_t* out) {
    size_t n = StartPacket(out, GAME_RECORD_SIZE, p->state, p->slot);
    PutText(out, 2, GAME_NAME_SIZE, p->gameName);
    for (int i = 0; i < MAX_PLAYERS; i++)
        PutField(out, 32 + PLAYER_NAME_FIELD * i, PLAYER_NAME_FIELD, p->playerNames[i]);
    PutU8(out, 96, p->numPlayers);
    PutU8(out, 97, p->announce);
    return n;
}

bool DecodeGameRecord(const uint8_t* in, size_t length, GameRecord* p) {
    if (in == nullptr || length < GAME_RECORD_SIZE || in[0] > EGameStarted)
        return false;
    p->state = GetU8(in, 0);
    p->slot = GetU8(in, 1);
    GetText(in, 2, GAME_NAME_SIZE, p->gameName);
    for (int i = 0; i < MAX_PLAYERS; i++)
        GetText(in, 32 + PLAYER_NAME_FIELD * i, PLAYER_NAME_FIELD, p->playerNames[i]);
    p->numPlayers = GetU8(in, 96);
    p->announce = GetU8(in, 97);
    return true;
}

size_t EncodeEnergon(const EnergonPacket* p, uint8_t* out) {
    size_t n = StartPacket(out, ENERGON_PACKET_SIZE, EEnergonPacket, p->channel);
    PutU16(out, 12, p->id);
    PutU32(out, 16, p->x);
    PutU32(out, 20, p->y);
    PutU32(out, 24, p->z);
    PutU32(out, 28, p->crystals);
    return n;
}

bool DecodeEnergon(const uint8_t* in, size_t length, EnergonPacket* p) {
    if (!CanDecode(in, length, EEnergonPacket))
        return false;
    p->channel = GetU8(in, 1);
    p->id = GetU16(in, 12);
    p->x = GetU32(in, 16);
    p->y = GetU32(in, 20);
    p->z = GetU32(in, 24);
    p->crystals = GetU32(in, 28);
    return true;
}

size_t EncodeRobotState(const RobotStatePacket* p, uint8_t* out) {
    size_t n = StartPacket(out, ROBOT_STATE_PACKET_SIZE, ERobotStatePacket, p->channel);
    PutU32(out, 4, p->uid);
    PutU32(out, 8, p->sequence);
    PutF64(out, 16, p->x);
    PutF64(out, 24, p->y);
    PutF64(out, 32, p->z);
    PutU16(out, 40, static_cast<uint16_t>(p->facing));
    PutU16(out, 42, static_cast<uint16_t>(p->flags));
    PutF64(out, 48, p->speed);
    PutU32(out, 56, static_cast<uint32_t>(p->move));
    PutU32(out, 60, p->classUid);
    return n;
}

bool DecodeRobotState(const uint8_t* in, size_t length, RobotStatePacket* p) {
    if (!CanDecode(in, length, ERobotStatePacket))
        return false;
    p->channel = GetU8(in, 1);
    p->uid = GetU32(in, 4);
    p->sequence = GetU32(in, 8);
    p->x = GetF64(in, 16);
    p->y = GetF64(in, 24);
    p->z = GetF64(in, 32);
    p->facing = static_cast<int16_t>(GetU16(in, 40));
    p->flags = static_cast<int16_t>(GetU16(in, 42));
    p->speed = GetF64(in, 48);
    p->move = static_cast<int32_t>(GetU32(in, 56));
    p->classUid = GetU32(in, 60);
    return true;
}

size_t EncodeChestOpened(const ChestOpenedPacket* p, uint8_t* out) {
    size_t n = StartPacket(out, CHEST_OPENED_PACKET_SIZE, EChestOpenedPacket, p->channel);
    PutU32(out, 4, p->chestIndex);
    PutU32(out, 12, p->x);
    PutU32(out, 16, p->y);
    PutU32(out, 20, p->z);
    return n;
}

bool DecodeChestOpened(const uint8_t* in, size_t length, ChestOpenedPacket* p) {
    if (!CanDecode(in, length, EChestOpenedPacket))
        return false;
    p->channel = GetU8(in, 1);
    p->chestIndex = GetU32(in, 4);
    p->x = GetU32(in, 12);
    p->y = GetU32(in, 16);
    p->z = GetU32(in, 20);
    return true;
}

size_t EncodeRobotLeft(const RobotLeftPacket* p, uint8_t* out) {
    size_t n = StartPacket(out, ROBOT_LEFT_PACKET_SIZE, ERobotLeftPacket, p->channel);
    PutU32(out, 4, p->uid);
    return n;
}

bool DecodeRobotLeft(const uint8_t* in, size_t length, RobotLeftPacket* p) {
    if (!CanDecode(in, length, ERobotLeftPacket))
        return false;
    p->channel = GetU8(in, 1);
    p->uid = GetU32(in, 4);
    return true;
}

size_t EncodeBattleStart(const BattleStartPacket* p, uint8_t* out) {
    size_t n = StartPacket(out, BATTLE_START_PACKET_SIZE, EBattleStartPacket, p->channel);
    PutU8(out, 2, p->subType);
    PutU32(out, 4, p->challengerUid);
    PutU32(out, 8, p->sequence);
    PutU32(out, 12, p->challengedUid);
    PutText(out, 16, PLAYER_NAME_FIELD, p->name);
    EncodeStats(&p->stats, out + 32);
    return n;
}

bool DecodeBattleStart(const uint8_t* in, size_t length, BattleStartPacket* p) {
    if (!CanDecode(in, length, EBattleStartPacket))
        return false;
    p->channel = GetU8(in, 1);
    p->subType = GetU8(in, 2);
    p->challengerUid = GetU32(in, 4);
    p->sequence = GetU32(in, 8);
    p->challengedUid = GetU32(in, 12);
    GetText(in, 16, PLAYER_NAME_FIELD, p->name);
    DecodeStats(in + 32, &p->stats);
    return true;
}

size_t EncodeAction(const ActionPacket* p, uint8_t* out) {
    size_t n = StartPacket(out, ACTION_PACKET_SIZE, EActionPacket, p->channel);
    PutU32(out, 4, p->actorUid);
    PutU32(out, 8, p->sequence);
    EncodeStats(&p->actorChange, out + 12);
    EncodeStats(&p->targetChange, out + 32);
    PutU32(out, 52, p->targetUid);
    PutU8(out, 56, p->flagA);
    PutU8(out, 57, p->flagB);
    return n;
}

bool DecodeAction(const uint8_t* in, size_t length, ActionPacket* p) {
    if (!CanDecode(in, length, EActionPacket))
        return false;
    p->channel = GetU8(in, 1);
    p->actorUid = GetU32(in, 4);
    p->sequence = GetU32(in, 8);
    DecodeStats(in + 12, &p->actorChange);
    DecodeStats(in + 32, &p->targetChange);
    p->targetUid = GetU32(in, 52);
    p->flagA = GetU8(in, 56);
    p->flagB = GetU8(in, 57);
    return true;
}

size_t EncodeAnimation(const AnimationPacket* p, uint8_t* out) {
    size_t n = StartPacket(out, ANIMATION_PACKET_SIZE, EAnimationPacket, p->channel);
    PutU32(out, 4, p->robotUid);
    PutU32(out, 8, p->sequence);
    PutU32(out, 12, p->type);
    PutU32(out, 20, p->value);
    if (p->type == EWallAnimation) {
        PutU32(out, 24, p->x);
        PutU32(out, 28, p->y);
        PutU32(out, 32, p->z);
        PutU32(out, 36, static_cast<uint32_t>(p->facing));
    } else {
        PutU32(out, 16, p->targetUid);
    }
    return n;
}

bool DecodeAnimation(const uint8_t* in, size_t length, AnimationPacket* p) {
    if (!CanDecode(in, length, EAnimationPacket))
        return false;
    std::memset(p, 0, sizeof *p);
    p->channel = GetU8(in, 1);
    p->robotUid = GetU32(in, 4);
    p->sequence = GetU32(in, 8);
    p->type = GetU32(in, 12);
    p->value = GetU32(in, 20);
    if (p->type == EWallAnimation) {
        p->x = GetU32(in, 24);
        p->y = GetU32(in, 28);
        p->z = GetU32(in, 32);
        p->facing = static_cast<int32_t>(GetU32(in, 36));
    } else {
        p->targetUid = GetU32(in, 16);
    }
    return true;
}

size_t EncodeBattleOver(const BattleOverPacket* p, uint8_t* out) {
    size_t n = StartPacket(out, BATTLE_OVER_PACKET_SIZE, EBattleOverPacket, p->channel);
    PutU32(out, 4, p->loserUid);
    PutU32(out, 12, p->winnerUid);
    return n;
}

bool DecodeBattleOver(const uint8_t* in, size_t length, BattleOverPacket* p) {
    if (!CanDecode(in, length, EBattleOverPacket))
        return false;
    p->channel = GetU8(in, 1);
    p->loserUid = GetU32(in, 4);
    p->winnerUid = GetU32(in, 12);
    return true;
}

size_t EncodePrize(const PrizePacket* p, uint8_t* out) {
    size_t n = StartPacket(out, PRIZE_PACKET_SIZE, EPrizePacket, p->channel);
    PutU32(out, 4, p->winnerUid);
    PutU32(out, 12, p->skillUid);
    PutU32(out, 16, p->itemUid);
    return n;
}

bool DecodePrize(const uint8_t* in, size_t length, PrizePacket* p) {
    if (!CanDecode(in, length, EPrizePacket))
        return false;
    p->channel = GetU8(in, 1);
    p->winnerUid = GetU32(in, 4);
    p->skillUid = GetU32(in, 12);
    p->itemUid = GetU32(in, 16);
    return true;
}
