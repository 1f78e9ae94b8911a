// utilities: the small toolbox every module leans on.
//
// Allocation and file opening that never return null, the line reader and keyword tests of the
// game's text files, quoted-string readers, usage-area texts, grid locations, colours, vectors,
// the millisecond clock, random numbers and the uid counters.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

struct Location {
    int32_t x;
    int32_t y;
    int32_t z;
};

struct Color {
    float red;
    float green;
    float blue;
    float alpha;
};

struct Vector3 {
    double x;
    double y;
    double z;
};

struct TimeStamp {
    time_t time;
    uint16_t millitm;
};

enum UsageArea : int32_t {
    ENoUsage = 0,
    EWandering = 1,
    ECombat = 2,
    EWanderingAndCombat = 3,
};

// Line buffers handed to ReadLine hold this many bytes (255 characters and the NUL).
constexpr int LINE_BUFFER_SIZE = 256;
constexpr int NUM_UID_TYPES = 9;
constexpr double DEGREES_TO_RADIANS = 0.0174532925;

// Memory and files.
void* SafeMalloc(size_t size);
FILE* SafeFopen(const char* name, const char* mode);
char* StringDuplicate(const char* text);

// Text reading. ReadLine skips empty and blank lines (the first line of a file included) and
// the leading blanks of the line it returns; a line longer than 255 characters is cut to its
// first 255 and the rest of it is dropped. A trailing carriage return is removed. Returns 1 when
// a line was read, -1 at end of file.
int ReadLine(FILE* file, char* buffer);
bool StartsWith(const char* line, const char* keyword);
bool StringEqual(const char* a, const char* b);
bool IsBlankLine(const char* line);
// "\"%32[^\"]\"" into out[33]; returns the scan's result and leaves out untouched on failure.
int ReadQuotedString(const char* line, char* out);
// The same with a 24-character field; out needs 25 bytes.
int ReadQuotedStringShort(const char* line, char* out);

// Text from outside as the console may show it: control bytes (below 32, and 127) become '?',
// so a name never moves the cursor or sends the terminal an escape sequence.
std::string PrintableText(const char* text);

// "None", "Wandering", "Combat", "Wandering & Combat"; any other value prints
// "Unknown usage area %d\n" and yields the empty text.
const char* UsageAreaToString(int area);

// Locations, colours and geometry.
Location* MakeLocation(Location* out, int x, int y, int z);
bool LocationEqual(const Location* a, const Location* b);
Location* StepLocation(Location* out, const Location* from, int angleDegrees);
void CopyColor(Color* dst, const Color* src);
Vector3* MakeVector3(Vector3* out, int x, int y, int z);
double Distance3D(const Vector3* a, const Vector3* b);

// Time, on the monotonic clock (seconds since some fixed point, not since 1970).
TimeStamp GetTimeStamp();
// end - start; stamps too far apart for an int give INT_MAX or INT_MIN.
int ElapsedMilliseconds(const TimeStamp* start, const TimeStamp* end);

// Random numbers, all from the standard generator.
void SeedRandom();
double RandomRange(double lo, double hi);
int RandomInt(int lo, int hi);

// uids.
int NewUID(int type);
void ResetUIDCounters();
int GetObjectTypeFromUID(int uid);
