// The login server's download role: the messages that carry a new file or a patch to the client, cut
// transfers, and a catalogue that answers a login by the data-file signatures it reports.
#pragma once

#include "tools/testserver/Logins.h"
#include "tools/testserver/Session.h"
#include "tools/testserver/Wire.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace testserver {

// File numbers of a download: 0 the program, 1 to 3 the data files, 4 the external patcher.
enum : uint8_t { PROGRAM_FILE = 0, OBJECT_FILE = 1, SPRITE_FILE = 2, PICTURE_FILE = 3, PATCHER_FILE = 4 };

// The largest block that still fits one server frame with its message header.
inline constexpr size_t MAX_DOWNLOAD_BLOCK = 16368;

TMessage PatchStartMessage(uint8_t FileNumber, uint32_t Size); // 30: a patch stream of Size bytes follows
TMessage FileStartMessage(uint8_t FileNumber, uint32_t Size);  // 31: the whole file of Size bytes follows
TMessage DownloadBlockMessage(std::span<const uint8_t> Block); // 32; throws TWireError above 65,535 bytes

// One file on its way to the client.
struct TDownload {
    uint8_t FileNumber = OBJECT_FILE;
    bool WholeFile = true;                 // message 31; false: message 30 and Payload is a patch stream
    std::vector<uint8_t> Payload;          // the file or the patch stream
    size_t BlockSize = 8192;               // payload bytes per block message, 1 .. MAX_DOWNLOAD_BLOCK
    std::optional<uint32_t> AnnouncedSize; // the start message's size; Payload's size when not set
    std::optional<size_t> CutAfter;        // send only this many payload bytes (whole blocks and a part)
    std::shared_ptr<THold> Hold;           // when set, the blocks wait after the start message until released
};

// The start message and the block messages of a download, one message per frame in a plan.
std::vector<TMessage> DownloadMessages(const TDownload& Download);

// A login plan that sends the downloads one after the other, a frame per message, and closes; it stops at
// their holds.
TPlan DownloadPlan(const std::vector<TDownload>& Downloads);

// The first four bytes of a data file, little-endian, as the client reports them; 0 for a shorter file.
uint32_t DataFileSignature(std::span<const uint8_t> File);

// New versions of the data files (numbers 1 to 3) and old versions that patches can be made from. A login
// that reports a signature other than the new version's gets the file: as a patch from the old version with
// that signature when one is known, else whole.
class TUpdateCatalogue {
public:
    void setNewVersion(uint8_t FileNumber, std::vector<uint8_t> File);
    void addOldVersion(uint8_t FileNumber, std::vector<uint8_t> File);
    // The file's download waits after its start message, as TDownload::Hold says, whenever a login gets it.
    void hold(uint8_t FileNumber, std::shared_ptr<THold> Hold);

    // The downloads the login calls for, in file-number order; empty when the client is up to date.
    std::vector<TDownload> downloadsFor(const TLoginRecord& Login, size_t BlockSize = 8192) const;

private:
    struct TFileVersions {
        std::vector<uint8_t> New;
        std::map<uint32_t, std::vector<uint8_t>> Old; // by signature
        std::shared_ptr<THold> Hold;
    };
    std::map<uint8_t, TFileVersions> Files;
};

// A login plan that sends what the catalogue calls for and closes, else Fallback's answer (or response).
// CutAfter cuts each download as TDownload does.
TPlan UpdatePlan(std::shared_ptr<const TUpdateCatalogue> Catalogue, TPlan Fallback, size_t BlockSize = 8192,
                 std::optional<size_t> CutAfter = std::nullopt);

} // namespace testserver
