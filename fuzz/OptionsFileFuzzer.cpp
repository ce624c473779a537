// libFuzzer harness of the options file: each input is a whole Ebrun.cfg, loaded and saved as the client
// does at start and end. Oracle: what a save writes loads again into the same options, so that the next save
// writes the same file.
#include "fuzz/FuzzSupport.h"
#include "state/Preferences.h"
#include "state/TalkRouting.h"

#include <cstdio>

namespace {

constexpr const char* FILE_NAME = "Ebrun.cfg";

std::vector<uint8_t> LoadAndSave() {
    LoadOptions();
    SaveOptions();
    return ReadFileBytes(FILE_NAME);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    WriteInput(FILE_NAME, Data, Size);
    const std::vector<uint8_t> Saved = LoadAndSave();
    Expect(!Saved.empty(), "the options were not saved");
    // The white list is the one option a load adds to rather than resets.
    ClearWhiteList();
    Expect(LoadAndSave() == Saved, "saved options read back differently");
    // The program's end empties both lists; so does the end of an input, the last one's included.
    ClearWhiteList();
    ClearIgnoreList();
    std::remove("Ebrun.cfg.bad"); // where a file that could not be read is kept
    return 0;
}
