// libFuzzer harness of the server-message dispatcher: each input is one frame of server messages that a
// server on 127.0.0.1 sends over a fresh connection, in the login phase or the game phase with the game state
// started afresh; the event pump delivers it to the dispatcher as it would any server's.
//
// Input: byte 0 picks the phase (bit 0 clear: a login server's answer; set: a game server's messages, bit 1
// set: the first game message, else in game); the rest are the messages, enciphered here with a fixed key.
// A failed check ends an input as it would end the program. Oracle beyond the sanitizers: the downloads
// (messages 30 to 32) write new versions beside the data files and never change the files themselves.
// EBRUN_FUZZ_VERBOSE set in the environment prints each input's failure.
#include "LoopbackPeer.h"
#include "control/Control.h"
#include "foundation/Exception.h"
#include "foundation/ScriptPatch.h"
#include "fuzz/FuzzSupport.h"
#include "graphics/Engine.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/SkinProperties.h"
#include "network/Communication.h"
#include "network/CommunicationDownload.h"
#include "network/Network.h"
#include "network/XTEA.h"
#include "platform/Window.h"
#include "screen/MainWindow.h"
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
#include <memory>
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

// The server: it sends each input's frame over a connection of its own and hangs up.
TLoopbackPeer* Server;
bool Connected;
void OnConnect() { Connected = true; }

// The data files a download may patch, as the harness wrote them: a patch of any of them reads it, and the
// graphics are loaded from them.
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
    // The generated graphics: the download dialog is drawn with their fonts and skins.
    for (const char* Name : {"Ebrun.spr", "Ebrun.pic"})
        DataFiles.push_back({Name, ReadFileBytes((std::string(EBRUN_DATA_DIR) + "/" + Name).c_str())});
    for (const TDataFile& Data : DataFiles)
        WriteInput(Data.Name, Data.Bytes);
}

// The display as the program starts it, on a window nobody sees: the download dialog opens, and the frame is
// drawn, while the rest of the download is still arriving.
void StartDisplay() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    static std::unique_ptr<TWindow> Window = TWindow::create("fuzz", 800, 600, false);
    if (Window == nullptr) Finding(std::string("no window: ") + GetPlatformError());
    StartGraphicEngine(Window.get(), ENGINE_DIRECTDRAW);
    GetSurface()->InitSurfaces();
    GetSurface()->ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false);
    InitGraphics(0xA00000);
    InitSkins();
    InitSkinProperties();
    InitVideoCache();
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
    InitNetwork(OnConnect, ReceivePackets, Ignore);
    InitCommunication(); // no download running
    SetSymmetricKey(KEY);
    SetGameClientHooks(&Client);
}

void EndState() {
    // The download dialog goes with its download: the next input's dialog must be able to open.
    if (GetModalWindow() != nullptr) DeleteModalWindow();
    SetActionState(ACTIONSTATE_NONE);
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

// Generous: the machine may be busy; a wait that ends here is the harness's fault, not the input's.
constexpr int DEADLINE_MS = 20000;

// Connects as the client does, has the server send the frame and hang up, and pumps the client's events until
// it has closed its end: after the close that follows the whole frame, or earlier when a handler dropped the
// connection. A handler's failure passes out of the pump.
void Dispatch(const std::vector<uint8_t>& Frame) {
    Connected = false;
    Expect(CreateSocket() == 0 && ConnectToAddress("127.0.0.1", Server->port(), false) == 0,
           "cannot connect to the server on 127.0.0.1");
    Expect(Server->accept(DEADLINE_MS), "the server accepted no connection");
    Expect(PumpUntil([] { return Connected; }, DEADLINE_MS), "the client never saw its connection");
    Server->send(Frame);
    Server->closeConnection();
    Expect(PumpUntil([] { return !IsConnected(); }, DEADLINE_MS), "the client never took the frame");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Automap blocks, the data files and their new versions live in a directory of the harness's own.
    EnterScratchDirectory();
    WriteObjectTypes();
    LoadObjectTypes("Ebrun.dat");
    ResetOptions();
    StartDisplay();
    InitControlConnection(nullptr);
    Server = new TLoopbackPeer; // for the harness's life
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
