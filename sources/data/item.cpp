// item: keyword table, reader and printout of an item.
#include "data/item.h"

#include <cstdlib>

static const FieldFormat kItemFields[] = {
    VFIELD_UID("uid:", Item, uid),
    VFIELD_NAME("name:", Item, name),
    VFIELD_TEXT("desc:", Item, desc),
    VFIELD_RANGE("usageArea:", Item, usageArea, ENoUsage, EWanderingAndCombat),
    VFIELD_STATS("deltaStats:", Item, deltaStats),
    VFIELD_END("enditem:"),
};
static const RecordFormat kItemFormat = VRECORD_FORMAT(kItemFields, "Error reading item file\n");

Item* NewItem() {
    return NewRecord<Item>();
}

void FreeItem(Item* item) {
    std::free(item);
}

int ReadItem(Item* out, FILE* file) {
    return ReadRecord(out, kItemFormat, file);
}

void PrintItem(const Item* item) {
    std::printf("Item: %s\n", item->name);
    std::printf("uid: %d\n", item->uid);
    std::printf("desc: %s\n", item->desc);
    const char* area = UsageAreaToString(item->usageArea);
    std::printf("usage area: %s\n", area);
    std::printf("delta stats\n");
    PrintStats(&item->deltaStats);
}
