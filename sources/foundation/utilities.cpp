// utilities: see the header for the contract of each operation.
#include "foundation/utilities.h"

#include "foundation/assertion.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

void* SafeMalloc(size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == NULL) {
        std::fprintf(stderr, "Out of Memory\n");
        std::exit(1);
    }
    return p;
}

FILE* SafeFopen(const char* name, const char* mode) {
    FILE* f = std::fopen(name, mode);
    if (f == NULL) {
        std::fprintf(stderr, "Couldn't open file %s: %s\n", name, std::strerror(errno));
        std::exit(1);
    }
    return f;
}

char* StringDuplicate(const char* text) {
    size_t n = std::strlen(text) + 1;
    char* copy = static_cast<char*>(SafeMalloc(n));
    std::memcpy(copy, text, n);
    return copy;
}

int ReadLine(FILE* file, char* buffer) {
    int c;
    do {
        c = std::fgetc(file);
    } while (c != EOF && std::isspace(c));
    if (c == EOF)
        return -1;
    int length = 0;
    while (c != EOF && c != '\n') {
        if (length < LINE_BUFFER_SIZE - 1)
            buffer[length++] = static_cast<char>(c);
        c = std::fgetc(file);
    }
    if (length > 0 && buffer[length - 1] == '\r')
        length--;
    buffer[length] = '\0';
    return 1;
}

bool StartsWith(const char* line, const char* keyword) {
    return std::strncmp(line, keyword, std::strlen(keyword)) == 0;
}

bool StringEqual(const char* a, const char* b) {
    return std::strcmp(a, b) == 0;
}

std::string PrintableText(const char* text) {
    std::string out = text != nullptr ? text : "";
    for (char& c : out) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127)
            c = '?';
    }
    return out;
}

bool IsBlankLine(const char* line) {
    for (const char* p = line; *p != '\0'; p++) {
        if (!std::isspace(static_cast<unsigned char>(*p)))
            return false;
    }
    return true;
}

int ReadQuotedString(const char* line, char* out) {
    return std::sscanf(line, "\"%32[^\"]\"", out);
}

int ReadQuotedStringShort(const char* line, char* out) {
    char format[32];
    std::snprintf(format, sizeof format, "\"%%%d[^\"]\"", 24);
    return std::sscanf(line, format, out);
}

const char* UsageAreaToString(int area) {
    switch (area) {
    case ENoUsage:
        return "None";
    case EWandering:
        return "Wandering";
    case ECombat:
        return "Combat";
    case EWanderingAndCombat:
        return "Wandering & Combat";
    default:
        std::printf("Unknown usage area %d\n", area);
        return "";
    }
}

Location* MakeLocation(Location* out, int x, int y, int z) {
    out->x = x;
    out->y = y;
    out->z = z;
    return out;
}

bool LocationEqual(const Location* a, const Location* b) {
    return a->x == b->x && a->y == b->y && a->z == b->z;
}

// Round half away from zero; 0 stays 0.
static int RoundAway(double v) {
    return v > 0 ? static_cast<int>(v + 0.5) : static_cast<int>(v - 0.5);
}

Location* StepLocation(Location* out, const Location* from, int angleDegrees) {
    double a = angleDegrees * DEGREES_TO_RADIANS;
    int x = from->x + RoundAway(std::cos(a));
    int y = from->y + RoundAway(std::sin(a));
    return MakeLocation(out, x, y, from->z);
}

void CopyColor(Color* dst, const Color* src) {
    *dst = *src;
}

Vector3* MakeVector3(Vector3* out, int x, int y, int z) {
    out->x = x;
    out->y = y;
    out->z = z;
    return out;
}

double Distance3D(const Vector3* a, const Vector3* b) {
    double dx = a->x - b->x, dy = a->y - b->y, dz = a->z - b->z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

TimeStamp GetTimeStamp() {
    // The monotonic clock: setting the wall clock never moves the game's time.
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    TimeStamp t;
    t.time = static_cast<time_t>(ms / 1000);
    t.millitm = static_cast<uint16_t>(ms % 1000);
    return t;
}

int ElapsedMilliseconds(const TimeStamp* start, const TimeStamp* end) {
    int64_t ms = (static_cast<int64_t>(end->time) - static_cast<int64_t>(start->time)) * 1000 +
                 (static_cast<int64_t>(end->millitm) - static_cast<int64_t>(start->millitm));
    return static_cast<int>(std::clamp<int64_t>(ms, INT_MIN, INT_MAX));
}

void SeedRandom() {
    std::srand(static_cast<unsigned>(std::time(NULL)));
}

// The standard generator's values folded onto 0..32767, the range the game's formulas expect.
static int NextRandom() {
    return std::rand() % 32768;
}

double RandomRange(double lo, double hi) {
    return lo + (hi - lo) * (NextRandom() / 32768.0);
}

int RandomInt(int lo, int hi) {
    return lo + static_cast<int>((static_cast<double>(hi) - lo + 1) * (NextRandom() / 32768.0));
}

static int gUIDCounters[NUM_UID_TYPES];

int NewUID(int type) {
    VASSERT(type >= 0 && type < NUM_UID_TYPES);
    return gUIDCounters[type]++;
}

void ResetUIDCounters() {
    for (int& c : gUIDCounters)
        c = 0;
}

int GetObjectTypeFromUID(int uid) {
    return uid / 1000;
}
