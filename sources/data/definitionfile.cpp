// definitionfile: one reader for every record table; values are scanned with bounds checks.
#include "data/definitionfile.h"

#include "data/stats.h"
#include "foundation/assertion.h"
#include "foundation/utilities.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

static const FieldFormat* FindKeyword(const RecordFormat& format, const char* line) {
    for (int i = 0; i < format.nFields; i++) {
        if (StartsWith(line, format.fields[i].keyword))
            return &format.fields[i];
    }
    return NULL;
}

// Scans a leading integer as "%d" would (blanks, a sign, digits; the rest of the line is
// ignored). Returns false when the line does not start with a number. A number too large for
// 64 bits comes back as the nearest 64-bit limit, which no field accepts.
static bool ScanInteger(const char* line, int64_t* value) {
    char* end = NULL;
    long long v = std::strtoll(line, &end, 10);
    if (end == line)
        return false;
    *value = v;
    return true;
}

static bool InRange(const FieldFormat& field, const char* line, int64_t value) {
    if (value >= field.min && value <= field.max)
        return true;
    std::printf("%s value %s is out of range (%lld to %lld)\n", field.keyword, line,
                static_cast<long long>(field.min), static_cast<long long>(field.max));
    return false;
}

static void StoreInteger(unsigned char* at, size_t size, int64_t value) {
    if (size == sizeof(int8_t)) {
        int8_t v = static_cast<int8_t>(value);
        std::memcpy(at, &v, sizeof v);
    } else if (size == sizeof(int16_t)) {
        int16_t v = static_cast<int16_t>(value);
        std::memcpy(at, &v, sizeof v);
    } else {
        VASSERT(size == sizeof(int32_t));
        int32_t v = static_cast<int32_t>(value);
        std::memcpy(at, &v, sizeof v);
    }
}

// A quoted text into a field of `width` characters; a longer text keeps its first `width`.
static bool ReadText(const FieldFormat& field, const char* line, char* out, int width) {
    VASSERT(field.size == static_cast<size_t>(width) + 1);
    int scanned =
        width == TEXT_SIZE - 1 ? ReadQuotedString(line, out) : ReadQuotedStringShort(line, out);
    if (scanned != 1)
        return false;
    size_t length = std::strlen(out);
    char after = line[1 + length];
    if (length == static_cast<size_t>(width) && after != '"' && after != '\0')
        std::printf("%s text longer than %d characters cut to \"%s\"\n", field.keyword, width, out);
    return true;
}

// Appends a uid to a class's list; past the list's capacity the uid is reported and ignored.
static bool AppendUid(const FieldFormat& field, const char* line, UidList* list) {
    int64_t value;
    if (!ScanInteger(line, &value) || !InRange(field, line, value))
        return false;
    if (list->count >= MAX_CLASS_UIDS) {
        std::printf("%s value %lld ignored: a class holds at most %d\n", field.keyword,
                    static_cast<long long>(value), MAX_CLASS_UIDS);
        return true;
    }
    list->uids[list->count++] = static_cast<int32_t>(value);
    return true;
}

// Stores one value line into the current keyword's field; false when the line is refused.
static bool ReadValue(const FieldFormat& field, const char* line, unsigned char* record) {
    unsigned char* at = record + field.offset;
    switch (field.form) {
    case EIntegerValue: {
        int64_t value;
        if (!ScanInteger(line, &value) || !InRange(field, line, value))
            return false;
        StoreInteger(at, field.size, value);
        return true;
    }
    case ERealValue: {
        VASSERT(field.size == sizeof(double));
        char* end = NULL;
        double value = std::strtod(line, &end);
        if (end == line)
            return false;
        if (!std::isfinite(value)) {
            std::printf("%s value %s is not a finite number\n", field.keyword, line);
            return false;
        }
        std::memcpy(at, &value, sizeof value);
        return true;
    }
    case ETextValue:
        return ReadText(field, line, reinterpret_cast<char*>(at), TEXT_SIZE - 1);
    case EShortTextValue:
        return ReadText(field, line, reinterpret_cast<char*>(at), NAME_SIZE - 1);
    case EUidListValue:
        VASSERT(field.size == sizeof(UidList));
        return AppendUid(field, line, reinterpret_cast<UidList*>(at));
    case EStatsSection: // its values were read by its section; a later value line is an error
    case EEndKeyword:
        return false;
    }
    VFAIL("unknown field form");
    return false;
}

static int Fail(const RecordFormat& format) {
    if (format.errorMessage != NULL)
        std::printf("%s", format.errorMessage);
    return 1;
}

int ReadDefinitionRecord(void* record, const RecordFormat& format, FILE* file) {
    unsigned char* base = static_cast<unsigned char*>(record);
    const FieldFormat* current = NULL;
    char line[LINE_BUFFER_SIZE];
    while (ReadLine(file, line) == 1) {
        if (StartsWith(line, "//") || IsBlankLine(line))
            continue;
        const FieldFormat* keyword = FindKeyword(format, line);
        if (keyword != NULL) {
            if (keyword->form == EEndKeyword)
                return 0;
            current = keyword;
            if (keyword->form == EStatsSection) {
                VASSERT(keyword->size == sizeof(Stats));
                if (ReadStats(reinterpret_cast<Stats*>(base + keyword->offset), file) != 0)
                    return Fail(format);
            }
            continue;
        }
        if (current == NULL || !ReadValue(*current, line, base))
            return Fail(format);
    }
    return 0;
}
