// packets: each datagram layout is described once, as one function over a field walker.
//
// A layout function lists its fields in wire order; the walker it is given decides what a field
// means. The Writer puts each field at the cursor (reserved bytes stay zero), the Reader takes
// each field from there and fails once a field runs past the datagram or the type code is
// another layout's, and the Sizer only counts. A field's width is its member's type: uint8_t
// is one byte, int16_t two, uint32_t and int32_t four, double eight, a name its array's size.
// So the encoder, the decoder, the length check and the size of every layout come from the
// same list, and the sizes are checked against the documented ones when this file compiles.
#include "net/packets.h"

#include <bit>
#include <cstring>
#include <type_traits>

namespace {

// Little-endian bits of an integer or an IEEE-754 binary64.
template <class T> uint64_t ToBits(T v) {
    if constexpr (std::is_floating_point_v<T>)
        return std::bit_cast<uint64_t>(v);
    else
        return static_cast<std::make_unsigned_t<T>>(v);
}

template <class T> T FromBits(uint64_t bits) {
    if constexpr (std::is_floating_point_v<T>)
        return std::bit_cast<T>(bits);
    else
        return static_cast<T>(static_cast<std::make_unsigned_t<T>>(bits));
}

class Writer {
  public:
    Writer(uint8_t* out, size_t size) : out_(out) { std::memset(out, 0, size); }
    void Type(uint8_t code) { Field(code); }
    template <class T> void Field(const T& v) {
        uint64_t bits = ToBits(v);
        for (size_t i = 0; i < sizeof v; i++)
            out_[at_ + i] = static_cast<uint8_t>(bits >> (8 * i));
        at_ += sizeof v;
    }
    template <size_t N> void Field(const char (&text)[N]) {
        CopyNameField(reinterpret_cast<char*>(out_ + at_), N, text);
        at_ += N;
    }
    // A whole name field, the bytes after its NUL included (a joiner's tag lives there); the
    // last byte is always a NUL.
    template <size_t N> void WholeField(const char (&field)[N]) {
        std::memcpy(out_ + at_, field, N - 1);
        at_ += N;
    }
    template <class T> void FieldIf(bool present, const T& v) {
        if (present)
            Field(v);
        else
            Skip(sizeof v);
    }
    void Skip(size_t n) { at_ += n; }
    void Check(bool) {}
    size_t Size() const { return at_; }

  private:
    uint8_t* out_;
    size_t at_ = 0;
};

class Reader {
  public:
    Reader(const uint8_t* in, size_t length) : in_(in), length_(length) {}
    void Type(uint8_t code) {
        const uint8_t* b = Take(1);
        Check(b != nullptr && *b == code);
    }
    template <class T> void Field(T& v) {
        const uint8_t* b = Take(sizeof v);
        if (b == nullptr)
            return;
        uint64_t bits = 0;
        for (size_t i = 0; i < sizeof v; i++)
            bits |= uint64_t{b[i]} << (8 * i);
        v = FromBits<T>(bits);
    }
    // A received name may lack its NUL: the copy always has one.
    template <size_t N> void Field(char (&text)[N]) {
        const uint8_t* b = Take(N);
        if (b == nullptr)
            return;
        std::memcpy(text, b, N);
        text[N - 1] = '\0';
    }
    template <size_t N> void WholeField(char (&field)[N]) { Field(field); }
    // An absent field is reserved on the wire and stays zero here.
    template <class T> void FieldIf(bool present, T& v) {
        if (present)
            Field(v);
        else
            Skip(sizeof v);
    }
    void Skip(size_t n) { Take(n); }
    void Check(bool valid) { ok_ = ok_ && valid; }
    bool Ok() const { return ok_; }

  private:
    const uint8_t* Take(size_t n) {
        if (!ok_ || in_ == nullptr || n > length_ - at_) {
            ok_ = false;
            return nullptr;
        }
        at_ += n;
        return in_ + at_ - n;
    }
    const uint8_t* in_;
    size_t length_;
    size_t at_ = 0;
    bool ok_ = true;
};

class Sizer {
  public:
    constexpr void Type(uint8_t) { size++; }
    template <class T> constexpr void Field(const T&) { size += sizeof(T); }
    template <class T> constexpr void WholeField(const T&) { size += sizeof(T); }
    template <class T> constexpr void FieldIf(bool, const T&) { size += sizeof(T); }
    constexpr void Skip(size_t n) { size += n; }
    constexpr void Check(bool) {}
    size_t size = 0;
};

// The layouts, in wire order.

template <class IO> constexpr void Layout(IO& io, Stats& s) {
    io.Field(s.evade);
    io.Field(s.stamina);
    io.Field(s.defense);
    io.Field(s.power);
    io.Field(s.dexterity);
    io.Field(s.speed);
    io.Skip(2);
    io.Field(s.experience);
    io.Field(s.hitPoints);
    io.Field(s.totalHP);
    io.Field(s.energy);
    io.Field(s.totalEnergy);
}

template <class IO> constexpr void Layout(IO& io, GameRecord& p) {
    io.Field(p.state);
    io.Check(p.state <= EGameStarted);
    io.Field(p.slot);
    io.Field(p.gameName);
    for (auto& name : p.playerNames)
        io.WholeField(name);
    io.Field(p.numPlayers);
    io.Field(p.announce);
}

template <class IO> constexpr void Layout(IO& io, EnergonPacket& p) {
    io.Type(EEnergonPacket);
    io.Field(p.channel);
    io.Skip(10);
    io.Field(p.id);
    io.Skip(2);
    io.Field(p.x);
    io.Field(p.y);
    io.Field(p.z);
    io.Field(p.crystals);
}

template <class IO> constexpr void Layout(IO& io, RobotStatePacket& p) {
    io.Type(ERobotStatePacket);
    io.Field(p.channel);
    io.Skip(2);
    io.Field(p.uid);
    io.Field(p.sequence);
    io.Skip(4);
    io.Field(p.x);
    io.Field(p.y);
    io.Field(p.z);
    io.Field(p.facing);
    io.Field(p.flags);
    io.Skip(4);
    io.Field(p.speed);
    io.Field(p.move);
    io.Field(p.classUid);
}

template <class IO> constexpr void Layout(IO& io, ChestOpenedPacket& p) {
    io.Type(EChestOpenedPacket);
    io.Field(p.channel);
    io.Skip(2);
    io.Field(p.chestIndex);
    io.Skip(4);
    io.Field(p.x);
    io.Field(p.y);
    io.Field(p.z);
}

template <class IO> constexpr void Layout(IO& io, RobotLeftPacket& p) {
    io.Type(ERobotLeftPacket);
    io.Field(p.channel);
    io.Skip(2);
    io.Field(p.uid);
    io.Skip(16);
}

template <class IO> constexpr void Layout(IO& io, BattleStartPacket& p) {
    io.Type(EBattleStartPacket);
    io.Field(p.channel);
    io.Field(p.subType);
    io.Skip(1);
    io.Field(p.challengerUid);
    io.Field(p.sequence);
    io.Field(p.challengedUid);
    io.Field(p.name);
    Layout(io, p.stats);
}

template <class IO> constexpr void Layout(IO& io, ActionPacket& p) {
    io.Type(EActionPacket);
    io.Field(p.channel);
    io.Skip(2);
    io.Field(p.actorUid);
    io.Field(p.sequence);
    Layout(io, p.actorChange);
    Layout(io, p.targetChange);
    io.Field(p.targetUid);
    io.Field(p.flagA);
    io.Field(p.flagB);
    io.Skip(2);
}

template <class IO> constexpr void Layout(IO& io, AnimationPacket& p) {
    io.Type(EAnimationPacket);
    io.Field(p.channel);
    io.Skip(2);
    io.Field(p.robotUid);
    io.Field(p.sequence);
    io.Field(p.type);
    bool wall = p.type == EWallAnimation; // already read when decoding
    io.FieldIf(!wall, p.targetUid);
    io.Field(p.value);
    io.FieldIf(wall, p.x);
    io.FieldIf(wall, p.y);
    io.FieldIf(wall, p.z);
    io.FieldIf(wall, p.facing);
}

template <class IO> constexpr void Layout(IO& io, BattleOverPacket& p) {
    io.Type(EBattleOverPacket);
    io.Field(p.channel);
    io.Skip(2);
    io.Field(p.loserUid);
    io.Skip(4);
    io.Field(p.winnerUid);
}

template <class IO> constexpr void Layout(IO& io, PrizePacket& p) {
    io.Type(EPrizePacket);
    io.Field(p.channel);
    io.Skip(2);
    io.Field(p.winnerUid);
    io.Skip(4);
    io.Field(p.skillUid);
    io.Field(p.itemUid);
}

template <class P>
constexpr size_t kSize = [] {
    Sizer sizer;
    P p{};
    Layout(sizer, p);
    return sizer.size;
}();

static_assert(kSize<Stats> == STATS_WIRE_SIZE);
static_assert(kSize<GameRecord> == GAME_RECORD_SIZE);
static_assert(kSize<EnergonPacket> == ENERGON_PACKET_SIZE);
static_assert(kSize<RobotStatePacket> == ROBOT_STATE_PACKET_SIZE);
static_assert(kSize<ChestOpenedPacket> == CHEST_OPENED_PACKET_SIZE);
static_assert(kSize<RobotLeftPacket> == ROBOT_LEFT_PACKET_SIZE);
static_assert(kSize<BattleStartPacket> == BATTLE_START_PACKET_SIZE);
static_assert(kSize<ActionPacket> == ACTION_PACKET_SIZE);
static_assert(kSize<AnimationPacket> == ANIMATION_PACKET_SIZE);
static_assert(kSize<BattleOverPacket> == BATTLE_OVER_PACKET_SIZE);
static_assert(kSize<PrizePacket> == PRIZE_PACKET_SIZE);

template <class P> size_t Write(P p, uint8_t* out) {
    Writer writer(out, kSize<P>);
    Layout(writer, p);
    return writer.Size();
}

// Nothing is written to p unless the whole layout was read.
template <class P> bool Read(const uint8_t* in, size_t length, P* p) {
    P got{};
    Reader reader(in, length);
    Layout(reader, got);
    if (reader.Ok())
        *p = got;
    return reader.Ok();
}

// Calls use with an empty record of the layout of a type code; 0 for a code no layout has.
template <class F> size_t WithLayout(int type, F use) {
    switch (type) {
    case EGameOpen:
    case EGameStarted:
        return use(GameRecord{});
    case EEnergonPacket:
        return use(EnergonPacket{});
    case ERobotStatePacket:
        return use(RobotStatePacket{});
    case EChestOpenedPacket:
        return use(ChestOpenedPacket{});
    case ERobotLeftPacket:
        return use(RobotLeftPacket{});
    case EBattleStartPacket:
        return use(BattleStartPacket{});
    case EActionPacket:
        return use(ActionPacket{});
    case EAnimationPacket:
        return use(AnimationPacket{});
    case EBattleOverPacket:
        return use(BattleOverPacket{});
    case EPrizePacket:
        return use(PrizePacket{});
    default:
        return 0;
    }
}

} // namespace

void CopyNameField(char* field, size_t size, const char* text) {
    if (size == 0)
        return;
    size_t n = text != nullptr ? strnlen(text, size - 1) : 0;
    if (n > 0)
        std::memcpy(field, text, n);
    std::memset(field + n, 0, size - n);
}

size_t PacketSize(int type) {
    return WithLayout(type, [](auto p) { return kSize<decltype(p)>; });
}

size_t ReencodePacket(const uint8_t* in, size_t length, uint8_t* out) {
    if (in == nullptr || length == 0)
        return 0;
    return WithLayout(in[0], [&](auto p) { return Read(in, length, &p) ? Write(p, out) : 0; });
}

void EncodeStats(const Stats* s, uint8_t* out) {
    Write(*s, out);
}
void DecodeStats(const uint8_t* in, Stats* s) {
    Read(in, STATS_WIRE_SIZE, s);
}

// The encoder and the decoder of each layout.
#define PACKET_CODEC(Name, Record)                                                                 \
    size_t Encode##Name(const Record* p, uint8_t* out) {                                           \
        return Write(*p, out);                                                                     \
    }                                                                                              \
    bool Decode##Name(const uint8_t* in, size_t length, Record* p) {                               \
        return Read(in, length, p);                                                                \
    }

PACKET_CODEC(GameRecord, GameRecord)
PACKET_CODEC(Energon, EnergonPacket)
PACKET_CODEC(RobotState, RobotStatePacket)
PACKET_CODEC(ChestOpened, ChestOpenedPacket)
PACKET_CODEC(RobotLeft, RobotLeftPacket)
PACKET_CODEC(BattleStart, BattleStartPacket)
PACKET_CODEC(Action, ActionPacket)
PACKET_CODEC(Animation, AnimationPacket)
PACKET_CODEC(BattleOver, BattleOverPacket)
PACKET_CODEC(Prize, PrizePacket)
