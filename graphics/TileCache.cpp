// The bookkeeping both tile caches share: a least-recently-used list and 100 hash chains over a fixed number
// of slots.
#include "graphics/TileCache.h"

#include "foundation/Exception.h"

void TTileCacheLists::init(int32_t Size, const char* Check) {
    PositionCheck = Check;
    Links.assign(Size, TLinks{-1, -1, -1, -1, -1});
    for (int32_t i = 0; i < Size; i++) {
        Links[i].LRUPrevious = i - 1;
        Links[i].LRUNext = i + 1 < Size ? i + 1 : -1;
    }
    Head = Size > 0 ? 0 : -1;
    Tail = Size - 1;
    clearChains();
}

void TTileCacheLists::clearChains() {
    for (int32_t& Bucket : Buckets)
        Bucket = -1;
    for (TLinks& L : Links)
        L.HashPrevious = L.HashNext = L.Bucket = -1;
}

void TTileCacheLists::checkPosition(int32_t Position) const {
    CHECK_TEXT(Position >= 0 && Position < size(), PositionCheck, Position);
}

void TTileCacheLists::moveToHead(int32_t Position) {
    checkPosition(Position);
    if (Position == Head) return;
    TLinks& L = Links[Position];
    Links[L.LRUPrevious].LRUNext = L.LRUNext;
    if (L.LRUNext != -1)
        Links[L.LRUNext].LRUPrevious = L.LRUPrevious;
    else
        Tail = L.LRUPrevious;
    L.LRUPrevious = -1;
    L.LRUNext = Head;
    Links[Head].LRUPrevious = Position;
    Head = Position;
}

void TTileCacheLists::unchain(int32_t Position) {
    checkPosition(Position);
    TLinks& L = Links[Position];
    if (L.Bucket == -1) return;
    if (L.HashPrevious != -1)
        Links[L.HashPrevious].HashNext = L.HashNext;
    else
        Buckets[L.Bucket] = L.HashNext;
    if (L.HashNext != -1) Links[L.HashNext].HashPrevious = L.HashPrevious;
    L.HashPrevious = L.HashNext = L.Bucket = -1;
}

void TTileCacheLists::chain(int32_t Position, int32_t HashValue, int32_t Type) {
    checkPosition(Position);
    CHECK(In(HashValue, 0, HASH_TABLE_SIZE - 1), HashValue);
    CHECK_TEXT(Type != 0, "Item.Type!=EMPTY_ITEM", Type);
    unchain(Position);
    TLinks& L = Links[Position];
    L.Bucket = HashValue;
    L.HashPrevious = -1;
    L.HashNext = Buckets[HashValue];
    if (L.HashNext != -1) Links[L.HashNext].HashPrevious = Position;
    Buckets[HashValue] = Position;
}
