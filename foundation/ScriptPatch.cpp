// Data-file patching: building a file's new version from a command stream or whole, and installing it.
#include "foundation/ScriptPatch.h"

#include "foundation/Exception.h"
#include "foundation/Script.h"
#include "foundation/Utils.h"
#include "foundation/sysinc.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

// Old-file bytes are moved through a buffer of this size, so copying a large file takes few calls.
constexpr int32_t CHUNK_SIZE = 65536;

bool NewVersionName(const char* FileName, bool ProgramException, char* Name, int32_t NameSize) {
    if (FileName == nullptr || Name == nullptr || NameSize <= 0) return false;
    size_t Length = std::strlen(FileName);
    if (ProgramException && std::strcmp(FileName, PROGRAM_FILE_NAME) == 0)
        return std::snprintf(Name, NameSize, "%s", PROGRAM_UPDATE_FILE_NAME) < NameSize;
    if (Length < 2 || Length >= static_cast<size_t>(NameSize)) return false;
    std::memcpy(Name, FileName, Length + 1);
    Name[Length - 1] = '_';
    return std::strcmp(Name, FileName) != 0;
}

// The program and the patcher are started by name, so their new versions must be executable.
void MakeExecutableIfProgram(const char* FileName, const char* NewName) {
    if (std::strcmp(FileName, PROGRAM_FILE_NAME) != 0 && std::strcmp(FileName, PATCHER_FILE_NAME) != 0)
        return;
    using std::filesystem::perms;
    std::error_code Error;
    std::filesystem::permissions(Latin1ToUtf8(NewName),
                                 perms::owner_exec | perms::group_exec | perms::others_exec,
                                 std::filesystem::perm_options::add, Error);
    if (Error)
        throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "cannot make file executable", "", 0, "", 0, NewName);
}

// Reads the command stream front to back through a bounded reader: a command cut short by the stream's end
// throws, which the build answers with false.
class TCommandStream {
public:
    TCommandStream(const uint8_t* Data, int32_t Size) : Reader(Data != nullptr ? Data : &NoData, Size) {}

    bool atEnd() const { return Reader.Position >= Reader.Size; }

    // The next command byte and its count.
    void command(uint8_t& Operation, uint32_t& Count) {
        const uint8_t Byte = Reader.readByte();
        Operation = Byte & 0xC0;
        Count = Byte & 0x3F;
        if (Count == 61)
            Count = Reader.readByte();
        else if (Count == 62)
            Count = Reader.readWord();
        else if (Count == 63)
            Count = Reader.readQuad();
    }

    // The next Count bytes of the stream, in place.
    const uint8_t* take(uint32_t Count) {
        CHECK(Count <= static_cast<uint32_t>(Reader.Size - Reader.Position), Count);
        const uint8_t* Bytes = Reader.Data + Reader.Position;
        Reader.Position += static_cast<int32_t>(Count);
        return Bytes;
    }

private:
    static constexpr uint8_t NoData = 0; // the data of an empty stream given without a block
    TReadBuffer Reader;
};

// One build of a new version: the old file (when patching), the new file and the buffer between them.
class TPatchBuilder {
public:
    // Copies Count old bytes to the new file, or drops them; throws when the old file ends first.
    void moveOld(uint32_t Count, bool Keep) {
        while (Count > 0) {
            int32_t Part =
                Count < static_cast<uint32_t>(CHUNK_SIZE) ? static_cast<int32_t>(Count) : CHUNK_SIZE;
            Old.readBytes(Buffer.get(), Part);
            if (Keep) New.writeBytes(Buffer.get(), Part);
            Count -= static_cast<uint32_t>(Part);
        }
    }

    // Carries out the stream; throws for a malformed one.
    void run(TCommandStream& Stream) {
        while (!Stream.atEnd()) {
            uint8_t Operation;
            uint32_t Count;
            Stream.command(Operation, Count);
            if (Operation == PATCH_COPY || Operation == PATCH_SKIP) {
                moveOld(Count, Operation == PATCH_COPY);
                continue;
            }
            const uint8_t* Bytes = Stream.take(Count);
            New.writeBytes(Bytes, static_cast<int32_t>(Count));
            if (Operation == PATCH_REPLACE) moveOld(Count, false);
        }
    }

    TBinaryReader Old;
    TBinaryWriter New;
    std::unique_ptr<uint8_t[]> Buffer = std::make_unique<uint8_t[]>(CHUNK_SIZE);
};

// The old file's first word is Signature; 0 checks nothing.
bool SignatureMatches(const char* FileName, uint32_t Signature) {
    if (Signature == 0) return true;
    try {
        TBinaryReader Old;
        Old.open(FileName);
        return Old.readQuad() == Signature;
    } catch (...) {
        return false;
    }
}

// Runs Build on a fresh builder writing NewName; on any failure removes what it wrote and answers false.
template <typename TBuild> bool BuildNewVersion(const char* FileName, const char* NewName, TBuild Build) {
    bool Opened = false;
    try {
        TPatchBuilder Builder;
        Builder.New.open(NewName);
        Opened = true;
        if (Build(Builder)) {
            Builder.Old.close();
            Builder.New.close();
            MakeExecutableIfProgram(FileName, NewName);
            // On the disk before an install renames it over the old file.
            if (SyncFile(NewName)) return true;
        }
    } catch (...) {
    }
    if (Opened) RemoveFile(NewName);
    return false;
}

} // namespace

bool GetPatchedFileName(const char* FileName, char* Name, int32_t NameSize) {
    return NewVersionName(FileName, true, Name, NameSize);
}

bool ApplyPatch(const char* FileName, const uint8_t* Patch, int32_t PatchSize, uint32_t Signature) {
    char NewName[1024];
    if (!NewVersionName(FileName, true, NewName, sizeof(NewName))) return false;
    if (PatchSize < 0 || (Patch == nullptr && PatchSize > 0)) return false;
    if (!SignatureMatches(FileName, Signature)) return false;
    return BuildNewVersion(FileName, NewName, [&](TPatchBuilder& Builder) {
        Builder.Old.open(FileName);
        TCommandStream Stream(Patch, PatchSize);
        Builder.run(Stream);
        return true;
    });
}

bool WritePatchedFile(const char* FileName, const uint8_t* Data, int32_t Size) {
    char NewName[1024];
    if (!NewVersionName(FileName, true, NewName, sizeof(NewName))) return false;
    if (Size < 0 || (Data == nullptr && Size > 0)) return false;
    return BuildNewVersion(FileName, NewName, [&](TPatchBuilder& Builder) {
        if (Size > 0) Builder.New.writeBytes(Data, Size);
        return true;
    });
}

int32_t InstallPatchedFile(const char* FileName) {
    char NewName[1024];
    if (!NewVersionName(FileName, false, NewName, sizeof(NewName)))
        throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "no file name", "", 0, "", 0, "");
    if (!FileExists(NewName))
        throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "file does not exists", "", 0, "", 0, NewName);
    return RenameFile(NewName, FileName);
}
