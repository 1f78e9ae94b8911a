// definitionfile: the line format shared by every definition record and stats section.
//
// A record is a list of keyword lines (matched at the start of the line, tried in table order),
// each followed by value lines for that keyword; "//" lines are comments and blank lines are
// skipped. A stats keyword reads its stats section at once; the end keyword closes the record,
// and so does the end of the file. Each record type describes its fields in a table of
// FieldFormat and reads through ReadDefinitionRecord, so every reader checks its input the same
// way: values must scan, fit their field's range, and texts are cut to their field with a
// message, never written past it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "foundation/utilities.h"

// A name holds 24 characters, a description or a sound file name 32, each with its NUL.
constexpr int NAME_SIZE = 25;
constexpr int TEXT_SIZE = 33;
// A robot class lists at most this many weapon uids and as many armor uids.
constexpr int MAX_CLASS_UIDS = 11;

enum FieldForm {
    EIntegerValue,   // "%d" into a signed integer of 1, 2 or 4 bytes, within [min, max]
    ERealValue,      // "%lf" into a double; must be finite
    ETextValue,      // a quoted text of up to 32 characters
    EShortTextValue, // a quoted text of up to 24 characters
    EStatsSection,   // the keyword reads a stats section into a Stats at once
    EUidListValue,   // each value line appends one uid to a UidList
    EEndKeyword,     // closes the record
};

struct FieldFormat {
    const char* keyword;
    FieldForm form;
    size_t offset; // of the field inside the record
    size_t size;   // of the field in bytes
    int64_t min;   // range of an integer or a uid
    int64_t max;
};

struct RecordFormat {
    const FieldFormat* fields;
    int nFields;
    const char* errorMessage; // printed when the record fails; may be null
};

// The uids of a robot class while its file is read.
struct UidList {
    int32_t count;
    int32_t uids[MAX_CLASS_UIDS];
};

template <typename T> constexpr int64_t FieldMin(T*) {
    return std::numeric_limits<T>::min();
}
template <typename T> constexpr int64_t FieldMax(T*) {
    return std::numeric_limits<T>::max();
}

#define VFIELD(keyword, form, Record, member, lo, hi)                                              \
    FieldFormat {                                                                                  \
        keyword, form, offsetof(Record, member), sizeof(Record::member), lo, hi                    \
    }
// An integer over the whole range of its type, or over [lo, hi].
#define VFIELD_INT(keyword, Record, member)                                                        \
    VFIELD(keyword, EIntegerValue, Record, member,                                                 \
           FieldMin(static_cast<decltype(Record::member)*>(nullptr)),                              \
           FieldMax(static_cast<decltype(Record::member)*>(nullptr)))
#define VFIELD_RANGE(keyword, Record, member, lo, hi)                                              \
    VFIELD(keyword, EIntegerValue, Record, member, lo, hi)
// A bonus added to one of a robot's 8-bit abilities (power, evade, ...) holds to their range.
#define VFIELD_ABILITY(keyword, Record, member)                                                    \
    VFIELD(keyword, EIntegerValue, Record, member, INT8_MIN, INT8_MAX)
// A uid is never negative.
#define VFIELD_UID(keyword, Record, member)                                                        \
    VFIELD(keyword, EIntegerValue, Record, member, 0, INT32_MAX)
#define VFIELD_REAL(keyword, Record, member) VFIELD(keyword, ERealValue, Record, member, 0, 0)
#define VFIELD_TEXT(keyword, Record, member) VFIELD(keyword, ETextValue, Record, member, 0, 0)
#define VFIELD_NAME(keyword, Record, member) VFIELD(keyword, EShortTextValue, Record, member, 0, 0)
#define VFIELD_STATS(keyword, Record, member) VFIELD(keyword, EStatsSection, Record, member, 0, 0)
#define VFIELD_UIDS(keyword, Record, member)                                                       \
    VFIELD(keyword, EUidListValue, Record, member, 0, INT32_MAX)
#define VFIELD_END(keyword)                                                                        \
    FieldFormat {                                                                                  \
        keyword, EEndKeyword, 0, 0, 0, 0                                                           \
    }

#define VRECORD_FORMAT(fields, errorMessage)                                                       \
    RecordFormat {                                                                                 \
        fields, static_cast<int>(sizeof fields / sizeof fields[0]), errorMessage                   \
    }

// Reads one record into `record` (which the caller has cleared) from the current position of
// `file`. Returns 0 at the end keyword or the end of the file; on a bad line prints the
// format's error message and returns 1, leaving `record` partly filled (callers read into a
// temporary, see ReadRecord).
int ReadDefinitionRecord(void* record, const RecordFormat& format, FILE* file);

// Reads a record of type T into a cleared temporary and copies it to out only on success.
template <typename T> int ReadRecord(T* out, const RecordFormat& format, FILE* file) {
    T temp{};
    if (ReadDefinitionRecord(&temp, format, file) != 0)
        return 1;
    *out = temp;
    return 0;
}

// A new cleared record from SafeMalloc; released with free() (a robot class has its own Free).
template <typename T> T* NewRecord() {
    T* record = static_cast<T*>(SafeMalloc(sizeof(T)));
    *record = T{};
    return record;
}
