// The text readers every data file goes through: lines, keywords and quoted strings.
#include "foundation/utilities.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "r");
    if (f == nullptr)
        return 0;
    char line[LINE_BUFFER_SIZE];
    char out[33];
    char shortOut[25];
    while (ReadLine(f, line) == 1) {
        ReadQuotedString(line, out);
        ReadQuotedStringShort(line, shortOut);
        (void)StartsWith(line, "name:");
        (void)IsBlankLine(line);
    }
    std::fclose(f);
    return 0;
}
