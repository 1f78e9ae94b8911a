// uidkey: the leading uid is copied out, never read through a cast of the element.
#include "data/uidkey.h"

#include <cstdint>
#include <cstring>

int LeadingUid(const void* elemOrKey) {
    int32_t uid;
    std::memcpy(&uid, elemOrKey, sizeof uid);
    return uid;
}

int UidBucket(const void* elemOrKey, int buckets) {
    int bucket = LeadingUid(elemOrKey) % buckets;
    return bucket < 0 ? bucket + buckets : bucket;
}

int CompareLeadingUids(const void* key, const void* elem) {
    int a = LeadingUid(key), b = LeadingUid(elem);
    return (a > b) - (a < b);
}
