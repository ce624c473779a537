// Data-file patching: the new version of a file is built beside the old one, from a patch command stream or
// whole, and later renamed over it, so that an interrupted update leaves the old file as it was.
#pragma once

#include <cstdint>

// The client's program file as the build names it (file 0 of a download). Its new version is never
// installed by the client: it waits under PROGRAM_UPDATE_FILE_NAME for the external patcher.
inline constexpr const char* PROGRAM_FILE_NAME = "pellarune";
inline constexpr const char* PROGRAM_UPDATE_FILE_NAME = "Ebrun.bak";
// The external patcher: downloaded as file 4, installed by its event and started after the message loop,
// by this one name (file names are case-sensitive here).
inline constexpr const char* PATCHER_FILE_NAME = "patch.exe";

// Operations of the patch command stream, bits 7-6 of a command byte; bits 5-0 are the count, where 61, 62
// and 63 say that the count follows in 1, 2 or 4 little-endian bytes.
enum PATCH_OPERATION : uint8_t {
    PATCH_COPY = 0x00,    // old byte to the new file
    PATCH_SKIP = 0x40,    // old byte dropped
    PATCH_INSERT = 0x80,  // stream byte to the new file
    PATCH_REPLACE = 0xC0, // stream byte to the new file, old byte dropped
};

// The name the new version of FileName is built under: PROGRAM_UPDATE_FILE_NAME for the program file, else
// FileName with its last character replaced by '_'. Name gets NameSize bytes at most; false for a name that
// is NULL, shorter than 2 characters, does not fit, or would be its own new version (it ends in '_').
bool GetPatchedFileName(const char* FileName, char* Name, int32_t NameSize);

// Builds the new version of FileName from the old file and the command stream (PatchSize bytes). A non-zero
// Signature must equal the old file's first 32-bit little-endian word. Every read stays inside the stream
// and the old file; a stream that runs past either, a failed read or write, or a mismatching signature
// answers false, leaves the old file untouched and removes what was written of the new version. The new
// program and the new patcher are made executable. Never throws.
bool ApplyPatch(const char* FileName, const uint8_t* Patch, int32_t PatchSize, uint32_t Signature);

// Writes Data (Size bytes) whole as the new version of FileName; otherwise as ApplyPatch.
bool WritePatchedFile(const char* FileName, const uint8_t* Data, int32_t Size);

// Renames the new version of FileName (its last character replaced by '_', also for the program file, which
// is so never installed here) over FileName; the rename replaces the old file in one step, so a failure
// keeps it. 0 on success, else the rename's error. Throws "no file name" for a NULL or unusable name and
// "file does not exists" (the new version's name as reason) when there is no new version.
int32_t InstallPatchedFile(const char* FileName);
