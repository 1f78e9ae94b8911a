// The definition-file readers: the same bytes as an items file, a skills file and a class file.
#include "data/registry.h"

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The readers print every record; keep libFuzzer's own output readable.
    return std::freopen("/dev/null", "w", stdout) != nullptr ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Registry* registry = NewRegistry();
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "r");
    if (file != nullptr) {
        ReadItemsFrom(registry, file, "items");
        std::fclose(file);
    }
    file = fmemopen(const_cast<uint8_t*>(data), size, "r");
    if (file != nullptr) {
        ReadSkillsFrom(registry, file, "skills");
        std::fclose(file);
    }
    file = fmemopen(const_cast<uint8_t*>(data), size, "r");
    if (file != nullptr) {
        RobotClass* robotClass = NewRobotClass();
        if (ReadRobotClassFrom(robotClass, file, "class") == 0)
            PrintRobotClass(robotClass);
        FreeRobotClass(robotClass);
        std::fclose(file);
    }
    FreeRegistry(registry);
    return 0;
}
