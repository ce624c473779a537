// libFuzzer harness of the data-file patcher. An input is:
//   byte 0: bit 0 set: the old file's signature is checked (bit 1 set: against a wrong one); bit 2 set: the
//           rest is a whole new file rather than a patch;
//   bytes 1-2: the old file's length L (little-endian, cut to what the input holds), then L bytes of it;
//   the rest: the command stream or the new file.
// Oracle: the old file never changes; the new version is written exactly when a builder written from the
// format alone builds it, holds the same bytes, and installs under the old name.
#include "foundation/Exception.h"
#include "foundation/ScriptPatch.h"
#include "foundation/sysinc.h"
#include "fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

constexpr const char* OLD_NAME = "Ebrun.spr";
constexpr const char* NEW_NAME = "Ebrun.sp_";

// The new file by the format: bits 7-6 of a command pick copy, skip, insert or replace, bits 5-0 the count
// (61, 62, 63: the count follows in 1, 2 or 4 bytes); nothing when the stream or the old file runs out.
std::optional<std::vector<uint8_t>> Build(const std::vector<uint8_t>& Old, const uint8_t* Patch,
                                          size_t Size) {
    std::vector<uint8_t> New;
    size_t p = 0, o = 0;
    auto Take = [&](size_t Count, uint64_t& Value) {
        if (Size - p < Count) return false;
        Value = 0;
        for (size_t i = 0; i < Count; i++)
            Value |= uint64_t{Patch[p++]} << (8 * i);
        return true;
    };
    while (p < Size) {
        const uint8_t Command = Patch[p++];
        uint64_t Count = Command & 0x3F;
        if (Count >= 61 && !Take(Count == 61 ? 1 : Count == 62 ? 2 : 4, Count)) return std::nullopt;
        const bool FromStream = (Command & 0x80) != 0, UsesOld = (Command & 0xC0) != 0x80;
        if (FromStream) {
            if (Size - p < Count) return std::nullopt;
            New.insert(New.end(), Patch + p, Patch + p + Count);
            p += Count;
        }
        if (UsesOld) {
            if (Old.size() - o < Count) return std::nullopt;
            if ((Command & 0xC0) == 0x00) New.insert(New.end(), Old.begin() + o, Old.begin() + o + Count);
            o += Count;
        }
    }
    return New;
}

uint32_t FirstWord(const std::vector<uint8_t>& Old) {
    return Old.size() < 4 ? 0 : Old[0] | Old[1] << 8 | Old[2] << 16 | static_cast<uint32_t>(Old[3]) << 24;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size < 3) return -1;
    const uint8_t Mode = Data[0];
    const size_t OldSize = std::min<size_t>(Data[1] | Data[2] << 8, Size - 3);
    const std::vector<uint8_t> Old(Data + 3, Data + 3 + OldSize);
    const uint8_t* Rest = Data + 3 + OldSize;
    const size_t RestSize = Size - 3 - OldSize;
    WriteInput(OLD_NAME, Old);
    std::remove(NEW_NAME);

    std::optional<std::vector<uint8_t>> Expected;
    bool Written;
    if ((Mode & 4) != 0) {
        Expected = std::vector<uint8_t>(Rest, Rest + RestSize);
        Written = WritePatchedFile(OLD_NAME, Rest, static_cast<int32_t>(RestSize));
    } else {
        const uint32_t Signature = (Mode & 1) == 0 ? 0 : FirstWord(Old) ^ ((Mode & 2) != 0 ? 1 : 0);
        if (Signature == 0 || (Old.size() >= 4 && FirstWord(Old) == Signature))
            Expected = Build(Old, Rest, RestSize);
        Written = ApplyPatch(OLD_NAME, Rest, static_cast<int32_t>(RestSize), Signature);
    }
    Expect(ReadFileBytes(OLD_NAME) == Old, "the old file changed");
    Expect(Written == Expected.has_value(),
           Written ? "a malformed patch was applied" : "a patch was refused");
    Expect(Written == FileExists(NEW_NAME), "the new version is left behind or missing");
    if (!Written) return 0;
    Expect(ReadFileBytes(NEW_NAME) == *Expected, "the new version differs");
    try {
        Expect(InstallPatchedFile(OLD_NAME) == 0, "the new version was not installed");
    } catch (const TMyException& Error) {
        Finding("installing failed: " + Error.getText());
    }
    Expect(ReadFileBytes(OLD_NAME) == *Expected && !FileExists(NEW_NAME), "installed file");
    return 0;
}
