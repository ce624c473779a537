// The memory cache of decoded 32 x 32 tiles: a fixed number of slots, replaced least recently used first.
#include "graphics/TileCache.h"
#include "graphics/graphics.h"

#include "foundation/Exception.h"

#include <vector>

namespace {

// Module state: made by InitMemoryCache, emptied by ResetMemoryCache, freed by ExitMemoryCache.
struct {
    std::unique_ptr<uint8_t[]> Data; // slot i owns bytes i * TILE_BYTES to i * TILE_BYTES + TILE_BYTES - 1
    std::vector<TMemoryCacheItem> Items;
    TTileCacheLists Lists;
} Cache;

int32_t MemoryCacheSize() { return static_cast<int32_t>(Cache.Items.size()); }

void CheckReady() {
    const int32_t MemoryCacheSize = ::MemoryCacheSize();
    CHECK(MemoryCacheSize > 0, MemoryCacheSize);
}

// Looks the key up and, on a miss, decodes into the least recently used slot before giving it the key.
template <typename TMatch, typename TDecode>
const TMemoryCacheItem* Lookup(int32_t HashValue, int32_t Type, int32_t Key1, int32_t Key2, int32_t Key3,
                               TMatch Matches, TDecode Decode) {
    int32_t Position = Cache.Lists.find(HashValue, [&](int32_t i) { return Matches(Cache.Items[i]); });
    if (Position == -1) {
        Position = Cache.Lists.tail();
        TMemoryCacheItem& Item = Cache.Items[Position];
        Cache.Lists.unchain(Position);
        Item.Type = EMPTY_ITEM;
        Decode(Item.Data);
        Item.Type = Type;
        Item.Key1 = Key1;
        Item.Key2 = Key2;
        Item.Key3 = Key3;
        Cache.Lists.chain(Position, HashValue, Type);
    }
    Cache.Lists.moveToHead(Position);
    return &Cache.Items[Position];
}

} // namespace

void InitMemoryCache(int32_t Bytes) try {
    const int32_t MemoryCacheSize = Bytes / TILE_BYTES;
    CHECK(MemoryCacheSize > 0, MemoryCacheSize);
    Cache.Data = std::make_unique<uint8_t[]>(static_cast<size_t>(MemoryCacheSize) * TILE_BYTES);
    Cache.Items.assign(MemoryCacheSize, TMemoryCacheItem{nullptr, EMPTY_ITEM, 0, 0, 0});
    for (int32_t i = 0; i < MemoryCacheSize; i++)
        Cache.Items[i].Data = Cache.Data.get() + static_cast<size_t>(i) * TILE_BYTES;
    Cache.Lists.init(MemoryCacheSize, "In(Position,0,MemoryCacheSize-1)");
}
CATCH_FRAME(Bytes)

void ResetMemoryCache() {
    for (TMemoryCacheItem& Item : Cache.Items)
        Item.Type = EMPTY_ITEM;
    Cache.Lists.clearChains();
}

void ExitMemoryCache() {
    Cache.Items.clear();
    Cache.Data.reset();
    Cache.Lists.init(0, "In(Position,0,MemoryCacheSize-1)");
}

int32_t GetMemoryCacheSize() { return MemoryCacheSize(); }

const TMemoryCacheItem* GetMemorySprite(int32_t SpriteNumber) try {
    const int32_t NumberOfSprites = GetNumberOfSprites();
    CHECK(In(SpriteNumber, 1, NumberOfSprites), SpriteNumber, NumberOfSprites);
    CheckReady();
    return Lookup(
        CacheBucket(SpriteNumber), SPRITE_ITEM, SpriteNumber, 0, 0,
        [&](const TMemoryCacheItem& Item) { return Item.Type == SPRITE_ITEM && Item.Key1 == SpriteNumber; },
        [&](uint8_t* Data) { LoadSprite(SpriteNumber, Data); });
}
CATCH_FRAME(SpriteNumber)

const TMemoryCacheItem* GetMemoryPictureTile(int32_t PictureNumber, int32_t TileX, int32_t TileY) try {
    const int32_t NumberOfPictures = GetNumberOfPictures();
    CHECK(In(PictureNumber, 1, NumberOfPictures), PictureNumber, NumberOfPictures);
    CheckReady();
    // Tile numbers are checked by the decoder, after the look-up.
    return Lookup(
        CacheBucket(PictureNumber, TileX, TileY), PICTURE_ITEM, PictureNumber, TileX, TileY,
        [&](const TMemoryCacheItem& Item) {
            return Item.Type == PICTURE_ITEM && Item.Key1 == PictureNumber && Item.Key2 == TileX &&
                   Item.Key3 == TileY;
        },
        [&](uint8_t* Data) { LoadPictureTile(PictureNumber, TileX, TileY, Data); });
}
CATCH_FRAME(PictureNumber)
