// uidkey: hash and compare callbacks for tables whose elements begin with a 32-bit uid.
//
// The registry and the inventories store records whose first field is the uid, so an element
// is readable as its own key and a lookup passes the address of a uid.
#pragma once

// The leading uid of an element or key.
int LeadingUid(const void* elemOrKey);
// The leading uid modulo buckets, kept in range for negative uids.
int UidBucket(const void* elemOrKey, int buckets);
// 0 when the two leading uids are equal; otherwise their order.
int CompareLeadingUids(const void* key, const void* elem);
