// The bookkeeping both tile caches share: a least-recently-used list and 100 hash chains over a fixed number
// of slots.
#pragma once

#include <cstdint>
#include <vector>

inline constexpr int32_t HASH_TABLE_SIZE = 100;

// The bucket of a content's keys: their sum modulo HASH_TABLE_SIZE, taken without overflow, so that
// unchecked and negative keys still land in a bucket.
inline int32_t CacheBucket(int32_t Key1, int32_t Key2 = 0, int32_t Key3 = 0) {
    const int64_t Sum = static_cast<int64_t>(Key1) + Key2 + Key3;
    return static_cast<int32_t>((Sum % HASH_TABLE_SIZE + HASH_TABLE_SIZE) % HASH_TABLE_SIZE);
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
