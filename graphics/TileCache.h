// The bookkeeping both tile caches share: a least-recently-used list and hash chains over a fixed number of
// slots.
#pragma once

#include <cstdint>
#include <vector>

// Enough chains that a lookup in a full video cache meets only a few slots.
inline constexpr int32_t HASH_TABLE_SIZE = 4096;
static_assert(HASH_TABLE_SIZE == 1 << 12, "CacheBucket keeps the top 12 bits of its mix");

// The bucket of a content's keys (Key4: a digest of its colours, so that the colourings of one tile spread),
// mixed so that neighbouring tiles and sprite numbers spread over the table; any keys, unchecked and negative
// ones too, land in a bucket.
inline int32_t CacheBucket(int32_t Key1, int32_t Key2 = 0, int32_t Key3 = 0, int32_t Key4 = 0) {
    uint32_t h = static_cast<uint32_t>(Key1) * 0x9E3779B1u;
    h = (h ^ static_cast<uint32_t>(Key2)) * 0x85EBCA77u;
    h = (h ^ static_cast<uint32_t>(Key3)) * 0xC2B2AE3Du;
    h = (h ^ static_cast<uint32_t>(Key4)) * 0x27D4EB2Fu;
    return static_cast<int32_t>(h >> 20); // 12 bits: 0 .. HASH_TABLE_SIZE - 1
}

// The digest of Count colour values for CacheBucket.
inline int32_t ColourDigest(const int32_t* Colors, int32_t Count) {
    uint32_t d = 0;
    for (int32_t i = 0; i < Count; i++)
        d = d * 31 + static_cast<uint32_t>(Colors[i]);
    return static_cast<int32_t>(d);
}

class TTileCacheLists {
public:
    // Size slots, the list in slot order (head 0, tail the last), no chains. PositionCheck is the text of
    // the range check on slot positions ("In(Position,0,MemoryCacheSize-1)").
    void init(int32_t Size, const char* PositionCheck);
    // Takes every slot off its chain; the list order stays.
    void clearChains();
    int32_t size() const { return static_cast<int32_t>(Links.size()); }
    int32_t tail() const { return Tail; }
    void moveToHead(int32_t Position);
    // Takes the slot off its chain; nothing for a slot on no chain.
    void unchain(int32_t Position);
    // Puts the slot at the head of bucket HashValue; Type is the slot's content type, already set.
    void chain(int32_t Position, int32_t HashValue, int32_t Type);
    // The first slot of bucket HashValue that Matches accepts, or -1. The walk ends after size() slots, so a
    // broken chain cannot loop.
    template <typename TMatch> int32_t find(int32_t HashValue, TMatch Matches) const {
        int32_t Position = Buckets[HashValue];
        for (int32_t Steps = 0; Position != -1 && Steps < size(); Steps++) {
            if (Matches(Position)) return Position;
            Position = Links[Position].HashNext;
        }
        return -1;
    }

private:
    struct TLinks {
        int32_t LRUPrevious, LRUNext, HashPrevious, HashNext, Bucket;
    };
    void checkPosition(int32_t Position) const;

    std::vector<TLinks> Links;
    int32_t Head = -1, Tail = -1;
    int32_t Buckets[HASH_TABLE_SIZE];
    const char* PositionCheck = "";
};
