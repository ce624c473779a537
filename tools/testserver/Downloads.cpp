// The download role of the login server: start and block messages, cut transfers and the update catalogue.
#include "tools/testserver/Downloads.h"

#include "tools/testserver/Differ.h"

#include <algorithm>
#include <iterator>

namespace testserver {

namespace {

TMessage StartMessage(uint8_t Type, uint8_t FileNumber, uint32_t Size) {
    return TWireWriter().u8(Type).u8(FileNumber).u32(Size).take();
}

void CheckDataFile(uint8_t FileNumber) {
    if (FileNumber < OBJECT_FILE || FileNumber > PICTURE_FILE)
        throw TWireError("no data file number " + std::to_string(FileNumber));
}

// The payload bytes that the block messages carry.
size_t SentBytes(const TDownload& Download) {
    return std::min(Download.CutAfter.value_or(Download.Payload.size()), Download.Payload.size());
}

} // namespace

TMessage PatchStartMessage(uint8_t FileNumber, uint32_t Size) { return StartMessage(30, FileNumber, Size); }

TMessage FileStartMessage(uint8_t FileNumber, uint32_t Size) { return StartMessage(31, FileNumber, Size); }

TMessage DownloadBlockMessage(std::span<const uint8_t> Block) {
    if (Block.size() > 0xFFFF)
        throw TWireError("download block of " + std::to_string(Block.size()) + " bytes");
    return TWireWriter().u8(32).u16(static_cast<uint16_t>(Block.size())).bytes(Block).take();
}

std::vector<TMessage> DownloadMessages(const TDownload& Download) {
    if (Download.BlockSize == 0 || Download.BlockSize > MAX_DOWNLOAD_BLOCK)
        throw TWireError("download block size " + std::to_string(Download.BlockSize));
    if (Download.Payload.size() > UINT32_MAX)
        throw TWireError("download of " + std::to_string(Download.Payload.size()) + " bytes");
    uint32_t Size = Download.AnnouncedSize.value_or(static_cast<uint32_t>(Download.Payload.size()));
    std::vector<TMessage> Messages;
    Messages.push_back(Download.WholeFile ? FileStartMessage(Download.FileNumber, Size)
                                          : PatchStartMessage(Download.FileNumber, Size));
    std::span<const uint8_t> Rest = std::span(Download.Payload).first(SentBytes(Download));
    while (!Rest.empty()) {
        size_t Part = std::min(Download.BlockSize, Rest.size());
        Messages.push_back(DownloadBlockMessage(Rest.first(Part)));
        Rest = Rest.subspan(Part);
    }
    return Messages;
}

TPlan DownloadPlan(const std::vector<TDownload>& Downloads) {
    TPlan Plan;
    Plan.FramePerMessage = true;
    for (const TDownload& Download : Downloads) {
        std::vector<TMessage> Messages = DownloadMessages(Download);
        if (Download.Hold) Plan.Holds[Plan.Answer.size() + 1] = Download.Hold; // after the start message
        std::move(Messages.begin(), Messages.end(), std::back_inserter(Plan.Answer));
    }
    return Plan;
}

uint32_t DataFileSignature(std::span<const uint8_t> File) {
    if (File.size() < 4) return 0;
    return File[0] | File[1] << 8 | File[2] << 16 | static_cast<uint32_t>(File[3]) << 24;
}

void TUpdateCatalogue::setNewVersion(uint8_t FileNumber, std::vector<uint8_t> File) {
    CheckDataFile(FileNumber);
    Files[FileNumber].New = std::move(File);
}

void TUpdateCatalogue::addOldVersion(uint8_t FileNumber, std::vector<uint8_t> File) {
    CheckDataFile(FileNumber);
    uint32_t Signature = DataFileSignature(File);
    Files[FileNumber].Old[Signature] = std::move(File);
}

void TUpdateCatalogue::hold(uint8_t FileNumber, std::shared_ptr<THold> Hold) {
    CheckDataFile(FileNumber);
    Files[FileNumber].Hold = std::move(Hold);
}

std::vector<TDownload> TUpdateCatalogue::downloadsFor(const TLoginRecord& Login, size_t BlockSize) const {
    const uint32_t Reported[] = {0, Login.DatSignature, Login.SprSignature, Login.PicSignature};
    std::vector<TDownload> Downloads;
    for (const auto& [Number, Versions] : Files) {
        uint32_t Client = Reported[Number];
        if (Versions.New.empty() || Client == DataFileSignature(Versions.New)) continue;
        TDownload Download;
        Download.FileNumber = Number;
        Download.BlockSize = BlockSize;
        auto Base = Versions.Old.find(Client);
        Download.WholeFile = Base == Versions.Old.end();
        Download.Payload = Download.WholeFile ? Versions.New : MakePatch(Base->second, Versions.New);
        Download.Hold = Versions.Hold;
        Downloads.push_back(std::move(Download));
    }
    return Downloads;
}

TPlan UpdatePlan(std::shared_ptr<const TUpdateCatalogue> Catalogue, TPlan Fallback, size_t BlockSize,
                 std::optional<size_t> CutAfter) {
    TPlan Plan = Fallback;
    Plan.FramePerMessage = true;
    Plan.Respond = [Catalogue, Fallback = std::move(Fallback), BlockSize,
                    CutAfter](const TLoginRecord& Login) {
        std::vector<TDownload> Downloads = Catalogue->downloadsFor(Login, BlockSize);
        if (Downloads.empty())
            return Fallback.Respond ? Fallback.Respond(Login) : TResponse{Fallback.Answer, Fallback.Holds};
        for (TDownload& Download : Downloads)
            Download.CutAfter = CutAfter;
        TPlan Sent = DownloadPlan(Downloads);
        return TResponse{std::move(Sent.Answer), std::move(Sent.Holds)};
    };
    return Plan;
}

} // namespace testserver
