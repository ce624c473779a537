// The test server's differ: a greedy walk over both files that resynchronises on short matching runs.
#include "tools/testserver/Differ.h"

#include "tools/testserver/Wire.h"

#include <algorithm>
#include <cstring>

namespace testserver {

namespace {

// Bytes that must agree before the walk trusts a resynchronisation, and how far ahead it looks for one.
constexpr size_t MATCH_LENGTH = 4;
constexpr size_t REACH = 256;

class TDiffer {
public:
    TDiffer(std::span<const uint8_t> Old, std::span<const uint8_t> New) : Old(Old), New(New) {}

    std::vector<uint8_t> run() {
        while (j < New.size()) {
            if (size_t Same = sharedRun(); Same > 0) {
                emit(TPatchOperation::Copy, Same);
                continue;
            }
            if (i >= Old.size()) {
                emit(TPatchOperation::Insert, New.size() - j);
                break;
            }
            resynchronise();
        }
        return std::move(Patch);
    }

private:
    size_t sharedRun() const {
        size_t n = 0;
        while (i + n < Old.size() && j + n < New.size() && Old[i + n] == New[j + n])
            n++;
        return n;
    }

    // The next MATCH_LENGTH bytes of New at b (fewer at its end) stand in Old at a.
    bool agrees(size_t a, size_t b) const {
        if (b >= New.size()) return false;
        size_t Length = std::min(MATCH_LENGTH, New.size() - b);
        return a + Length <= Old.size() && std::memcmp(&Old[a], &New[b], Length) == 0;
    }

    // Old[i] and New[j] differ: skip, insert or replace the shortest stretch after which both agree again.
    void resynchronise() {
        for (size_t d = 1; d <= REACH; d++) {
            // agrees() keeps each stretch inside both files
            if (agrees(i + d, j)) return emit(TPatchOperation::Skip, d);
            if (agrees(i, j + d)) return emit(TPatchOperation::Insert, d);
            if (agrees(i + d, j + d)) return emit(TPatchOperation::Replace, d);
        }
        emit(TPatchOperation::Replace, std::min({REACH, Old.size() - i, New.size() - j}));
    }

    void emit(TPatchOperation Operation, size_t Count) {
        while (Count > 0) {
            uint32_t Part = static_cast<uint32_t>(std::min<size_t>(Count, UINT32_MAX));
            bool Carries = Operation == TPatchOperation::Insert || Operation == TPatchOperation::Replace;
            AppendPatchCommand(Patch, Operation, Part,
                               Carries ? New.subspan(j, Part) : std::span<const uint8_t>());
            if (Operation != TPatchOperation::Insert) i += Part;
            if (Operation != TPatchOperation::Skip) j += Part;
            Count -= Part;
        }
    }

    std::span<const uint8_t> Old, New;
    size_t i = 0, j = 0; // next unread byte of each
    std::vector<uint8_t> Patch;
};

} // namespace

void AppendPatchCommand(std::vector<uint8_t>& Patch, TPatchOperation Operation, uint32_t Count,
                        std::span<const uint8_t> Data) {
    bool Carries = Operation == TPatchOperation::Insert || Operation == TPatchOperation::Replace;
    if (Count == 0 || (Carries && Data.size() != Count))
        throw TWireError("patch command of " + std::to_string(Count) + " with " +
                         std::to_string(Data.size()) + " data bytes");
    const uint8_t Code = static_cast<uint8_t>(Operation);
    int Width = Count <= 60 ? 0 : Count <= 0xFF ? 1 : Count <= 0xFFFF ? 2 : 4;
    Patch.push_back(static_cast<uint8_t>(Code | (Width == 0   ? Count
                                                 : Width == 1 ? 61
                                                 : Width == 2 ? 62
                                                              : 63)));
    for (int k = 0; k < Width; k++)
        Patch.push_back(static_cast<uint8_t>(Count >> (8 * k)));
    if (Carries) Patch.insert(Patch.end(), Data.begin(), Data.end());
}

std::vector<uint8_t> MakePatch(std::span<const uint8_t> Old, std::span<const uint8_t> New) {
    return TDiffer(Old, New).run();
}

} // namespace testserver
