// libFuzzer harness of the server-message dispatcher: each input is one frame of server messages, handed to
// the dispatcher in the login phase or the game phase with the game state started afresh.
//
// Input: byte 0 picks the phase (bit 0 clear: a login server's answer; set: a game server's messages, bit 1
// set: the first game message, else in game); the rest are the messages, enciphered here with a fixed key.
// A failed check ends an input as it would end the program. Oracle beyond the sanitizers: the downloads
// (messages 30 to 32) write new versions beside the data files and never change the files themselves.
// EBRUN_FUZZ_VERBOSE set in the environment prints each input's failure.
#include "control/Control.h"
#include "foundation/Exception.h"
#include "foundation/ScriptPatch.h"
#include "fuzz/FuzzSupport.h"
#include "network/Communication.h"
#include "network/CommunicationDownload.h"
#include "network/Network.h"
#include "network/XTEA.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/EventHints.h"
#include "state/Events.h"
#include "state/Inventory.h"
#include "state/Map.h"
#include "state/MapLight.h"
#include "state/Objects.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/TalkRouting.h"
#include "tools/datagen/DatWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr uint8_t KEY[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
constexpr size_t MAX_MESSAGES = RECEIVEBUFFERSIZE - 4; // the frame's two length words

// What the controller and the game screen do for the handlers: entering the game clears the last session.
class TFuzzClient : public TGameClientHooks {
public:
    void enterGame() override {
        ResetCreatures();
        ResetInventory();
        ClearMap();
        SetAmbientLight(-1, 0);
        ClearTalk();
        ShowIgnoreNotice();
    }
    void openContainerWindow(int32_t) override {}
    void closeContainerWindow(int32_t) override {}
    void openTradeWindow() override {}
    void refreshTradeWindow() override {}
    void closeTradeWindow() override {}
} Client;

bool NoWarning() { return true; }
void Ignore() {}

// The data files a download may patch, as the harness wrote them: a patch of any of them reads it.
struct TDataFile {
    const char* Name;
    std::vector<uint8_t> Bytes;
};
std::vector<TDataFile> DataFiles;

// Item types with every kind of data byte, ground with speeds, outfits, effects and missiles.
void WriteObjectTypes() {
    TDatFile File;
    File.addItem().bank(150).automap(24);
    File.addItem();
    File.addItem().flag(DAT_CUMULATIVE);
    File.addItem().flag(DAT_CUMULATIVE).flag(DAT_LIQUIDCONTAINER);
    File.addItem().flag(DAT_LIQUIDPOOL);
    File.addItem().bank(100).flag(DAT_HOOKSOUTH);
    File.addItem().flag(DAT_HANG).shape(1, 1, 1, 3, 1, 1, 1);
    File.addItem().flag(1).flag(12);
    File.addItem().elevation(8).flag(DAT_CONTAINER);
    File.addOutfit();
    File.addOutfit();
    File.addEffect().shape(1, 1, 1, 1, 1, 1, 3);
    File.addEffect();
    File.addMissile();
    DataFiles.push_back({"Ebrun.dat", EncodeDatFile(File)});
    // Short stand-ins: only the files' bytes matter to a patch, not their contents.
    DataFiles.push_back({"Ebrun.spr", {'S', 'P', 'R', 0, 0, 0}});
    DataFiles.push_back({"Ebrun.pic", {'P', 'I', 'C', 0, 0, 0}});
    for (const TDataFile& Data : DataFiles)
        WriteInput(Data.Name, Data.Bytes);
}

// Every data file as written, and the new versions of the download's files removed for the next input.
void CheckDataFiles() {
    for (const TDataFile& Data : DataFiles)
        Expect(ReadFileBytes(Data.Name) == Data.Bytes, "a download changed a data file");
    char NewName[64];
    for (int32_t File = 0; GetPatchFileName(File) != nullptr; File++)
        if (GetPatchedFileName(GetPatchFileName(File), NewName, sizeof NewName)) std::remove(NewName);
}

// The game state as a fresh start leaves it.
void StartState() {
    InitStatus(0, NoWarning);
    ResetOptions();
    ResetEventHelps();
    InitMap(HideCreatureCallback);
    InitInventory();
    InitCreatures();
    InitTalk();
    InitNetwork(Ignore, ReceivePackets, Ignore);
    InitCommunication(); // no download running
    SetSymmetricKey(KEY);
    SetGameClientHooks(&Client);
}

void EndState() {
    SetGameClientHooks(nullptr);
    ExitNetwork();
    ClearMessages();
    ExitTalk();
    ExitStatus();
}

// The messages as a frame: u16 length, then XTEA over u16 message length, the messages and zero padding.
std::vector<uint8_t> Seal(const uint8_t* Messages, size_t Count) {
    size_t Length = (Count + 2 + 7) / 8 * 8;
    std::vector<uint8_t> Frame(Length + 2, 0);
    Frame[0] = static_cast<uint8_t>(Length);
    Frame[1] = static_cast<uint8_t>(Length >> 8);
    Frame[2] = static_cast<uint8_t>(Count);
    Frame[3] = static_cast<uint8_t>(Count >> 8);
    std::memcpy(Frame.data() + 4, Messages, Count);
    TXTEACipher Cipher;
    Cipher.setKey(KEY);
    Cipher.encryptBlocks(Frame.data() + 2, static_cast<int32_t>(Length / 8));
    return Frame;
}

// Hands the frame to the dispatcher. Without a connection the dispatcher stops behind each message, so it
// is called again for the rest of the frame until it takes no further message.
void Dispatch(const std::vector<uint8_t>& Frame) {
    ReceiveBytes(Frame.data(), static_cast<int32_t>(Frame.size()));
    for (;;) {
        int32_t Before = GetLastPacketTypeIndex();
        ReceivePackets();
        if (GetLastPacketTypeIndex() == Before) return;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Automap blocks, the data files and their new versions live in a directory of the harness's own.
    EnterScratchDirectory();
    WriteObjectTypes();
    LoadObjectTypes("Ebrun.dat");
    InitControlConnection(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size < 2 || Size - 1 > MAX_MESSAGES) return -1;
    StartState();
    bool Game = (Data[0] & 1) != 0;
    if (!Game)
        SetConnectionState(CONNECTIONSTATE_LOGINSENT);
    else
        SetConnectionState((Data[0] & 2) != 0 ? CONNECTIONSTATE_GAMESENT : CONNECTIONSTATE_GAME);
    try {
        Dispatch(Seal(Data + 1, Size - 1));
    } catch (const TMyException& Error) {
        Refused(Error); // the program would end here with a crash report
    }
    EndState();
    CheckDataFiles();
    return 0;
}
