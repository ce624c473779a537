// The catalogue of the modal windows: one entry per event that opens a dialog or a context menu, with the
// event's parameters turned into the arguments of the dialog's factory.
#include "control/DialogsCatalogue.h"

#include "control/DialogsBoxes.h"
#include "control/DialogsChannels.h"
#include "control/DialogsDownload.h"
#include "control/DialogsErrorReport.h"
#include "control/DialogsGamemasterReport.h"
#include "control/DialogsGraphics.h"
#include "control/DialogsHelp.h"
#include "control/DialogsHotkeys.h"
#include "control/DialogsIgnore.h"
#include "control/DialogsLogin.h"
#include "control/DialogsMarkEditor.h"
#include "control/DialogsMoveCount.h"
#include "control/DialogsOptions.h"
#include "control/DialogsOutfit.h"
#include "control/DialogsReports.h"
#include "control/DialogsText.h"
#include "control/DialogsVIP.h"
#include "foundation/Exception.h"
#include "screen/ContextMenus.h"
#include "screen/MainWindow.h"
#include "screen/MessageTexts.h"
#include "state/Events.h"
#include "state/Preferences.h"

#include <algorithm>
#include <iterator>

namespace {

const char* Text(intptr_t Parameter) { return MessagePointer<const char>(Parameter); }
template <typename T> T* Pointer(intptr_t Parameter) { return MessagePointer<T>(Parameter); }
int32_t Number(intptr_t Parameter) { return static_cast<int32_t>(Parameter); }

// Events 6 and 7 carry a record: caption, text, and for event 6 the receiver and its yes identifier.
const intptr_t* BoxRecord(intptr_t Parameter) {
    const intptr_t* Record = Pointer<const intptr_t>(Parameter);
    CHECK_TEXT(Record != nullptr, "Record!=NULL");
    return Record;
}

TComponent* OpenYesNoBox(intptr_t Param1, intptr_t) {
    const intptr_t* Record = BoxRecord(Param1);
    return CreateYesNoBox(Text(Record[0]), Text(Record[1]), Pointer<TComponent>(Record[2]), Number(Record[3]),
                          DIALOG_CANCEL);
}

TComponent* OpenLogoutBox(intptr_t Param1, intptr_t) {
    const intptr_t* Record = BoxRecord(Param1);
    return CreateLogoutBox(Text(Record[0]), Text(Record[1]), GetMainWindow());
}

// Event 14: the text's record, and a record of two texts (author, text), either of them NULL.
TComponent* OpenText(intptr_t Param1, intptr_t Param2) {
    const intptr_t* Texts = Pointer<const intptr_t>(Param2);
    return CreateTextDialog(Pointer<const int32_t>(Param1), Texts != nullptr ? Text(Texts[0]) : nullptr,
                            Texts != nullptr ? Text(Texts[1]) : nullptr);
}

// Event 36 names the window that gets the engine buttons; the main window without one.
TComponent* OpenAdvancedGraphicsOptions(intptr_t Param1, intptr_t) {
    TComponent* Receiver = Pointer<TComponent>(Param1);
    return CreateAdvancedGraphicsOptionsDialog(GetOpenURL(),
                                               Receiver != nullptr ? Receiver : GetMainWindow());
}

constexpr TCatalogueEntry Catalogue[] = {
    {MESSAGE_MESSAGEBOX,
     [](intptr_t P1, intptr_t P2) -> TComponent* { return CreateMessageBox(Text(P1), Text(P2)); }},
    {MESSAGE_MESSAGEBOX2,
     [](intptr_t P1, intptr_t P2) -> TComponent* { return CreateMarkupBox(Text(P1), Text(P2)); }},
    {MESSAGE_LOADINGCHARACTERS,
     [](intptr_t, intptr_t) -> TComponent* {
         return CreateConnectingBox("Connecting", MessageTexts[TEXT_LOADING_CHARACTERS], GetMainWindow());
     }},
    {MESSAGE_CONNECTINGGAME,
     [](intptr_t, intptr_t) -> TComponent* {
         return CreateConnectingBox("Connecting", MessageTexts[TEXT_CONNECTING_GAME], GetMainWindow());
     }},
    {MESSAGE_WAITINGLIST,
     [](intptr_t P1, intptr_t P2) -> TComponent* {
         return CreateReconnectDialog("Please wait", Text(P1), Number(P2));
     }},
    {MESSAGE_YESNOBOX, OpenYesNoBox},
    {MESSAGE_LOGOUTBOX, OpenLogoutBox},
    {MESSAGE_LOGINDIALOG, [](intptr_t, intptr_t) -> TComponent* { return CreateLoginDialog(GetOpenURL()); }},
    {MESSAGE_WAITFORCHARACTERS,
     [](intptr_t P1, intptr_t) -> TComponent* {
         return CreateWaitBox("Please wait", MessageTexts[TEXT_WAIT_FOR_CHARACTERS], Number(P1));
     }},
    {MESSAGE_CHARACTERLIST,
     [](intptr_t P1, intptr_t) -> TComponent* { return CreateCharacterListDialog(Number(P1)); }},
    {MESSAGE_LINKWARNING,
     [](intptr_t P1, intptr_t) -> TComponent* {
         return CreateYesNoBox(Text(P1), MessageTexts[TEXT_LINK_WARNING], GetMainWindow(), MAIN_COPY_LINK,
                               DIALOG_CANCEL);
     }},
    {MESSAGE_ACCOUNTDATAWARNING,
     [](intptr_t P1, intptr_t) -> TComponent* {
         return CreateMessageBox(Text(P1), MessageTexts[TEXT_ACCOUNT_DATA_WARNING]);
     }},
    {MESSAGE_MOVECOUNT, [](intptr_t, intptr_t) -> TComponent* { return CreateMoveCountDialog(); }},
    {MESSAGE_EDITTEXT, OpenText},
    {MESSAGE_EDITLIST,
     [](intptr_t P1, intptr_t P2) -> TComponent* {
         return CreateListEditDialog(Pointer<const int32_t>(P1), Text(P2));
     }},
    {MESSAGE_OUTFIT,
     [](intptr_t P1, intptr_t) -> TComponent* { return CreateOutfitDialog(Pointer<const int32_t>(P1)); }},
    {MESSAGE_BUGREPORT, [](intptr_t, intptr_t) -> TComponent* { return CreateBugReportDialog(); }},
    {MESSAGE_CHANNELLIST,
     [](intptr_t P1, intptr_t P2) -> TComponent* {
         return CreateChannelDialog(Pointer<const uint32_t>(P1), Text(P2));
     }},
    {MESSAGE_INVITE, [](intptr_t, intptr_t) -> TComponent* { return CreateInviteDialog(); }},
    {MESSAGE_EXCLUDE, [](intptr_t, intptr_t) -> TComponent* { return CreateExcludeDialog(); }},
    {MESSAGE_IGNORELIST, [](intptr_t, intptr_t) -> TComponent* { return CreateIgnoreListDialog(); }},
    {MESSAGE_RULEVIOLATION, [](intptr_t, intptr_t) -> TComponent* { return CreateRuleViolationDialog(); }},
    {MESSAGE_ADDVIP, [](intptr_t, intptr_t) -> TComponent* { return CreateAddVIPDialog(); }},
    {MESSAGE_EDITVIP,
     [](intptr_t P1, intptr_t) -> TComponent* { return CreateEditVIPDialog(static_cast<uint32_t>(P1)); }},
    {MESSAGE_INFORMATION, [](intptr_t, intptr_t) -> TComponent* { return CreateInfoDialog(GetOpenURL()); }},
    {MESSAGE_GAMEMASTERRULEVIOLATION,
     [](intptr_t P1, intptr_t P2) -> TComponent* {
         return CreateGamemasterRuleViolationDialog(Text(P1), Pointer<const TReportedStatement>(P2));
     }},
    {MESSAGE_NEWMAPMARK,
     [](intptr_t P1, intptr_t) -> TComponent* {
         return CreateMarkEditDialog(Pointer<TCoordinate>(P1), nullptr);
     }},
    {MESSAGE_EDITMAPMARK,
     [](intptr_t P1, intptr_t P2) -> TComponent* {
         return CreateMarkEditDialog(Pointer<TCoordinate>(P1), Pointer<TMapMark>(P2));
     }},
    {MESSAGE_HELP, [](intptr_t, intptr_t) -> TComponent* { return CreateHelpDialog(GetOpenURL()); }},
    {MESSAGE_HINTS, [](intptr_t, intptr_t) -> TComponent* { return CreateHintsDialog(); }},
    {MESSAGE_OPTIONS, [](intptr_t, intptr_t) -> TComponent* { return CreateOptionsDialog(); }},
    {MESSAGE_NETWORKOPTIONS,
     [](intptr_t, intptr_t) -> TComponent* { return CreateNetworkOptionsDialog(GetOpenURL()); }},
    {MESSAGE_GRAPHICSOPTIONS,
     [](intptr_t, intptr_t) -> TComponent* {
         return CreateGraphicsOptionsDialog(GetOpenURL(), GetSetViewMode(), GetMainWindow());
     }},
    {MESSAGE_ADVANCEDGRAPHICSOPTIONS, OpenAdvancedGraphicsOptions},
    {MESSAGE_CONSOLEOPTIONS,
     [](intptr_t, intptr_t) -> TComponent* { return CreateConsoleOptionsDialog(GetOpenURL()); }},
    {MESSAGE_HOTKEYOPTIONS,
     [](intptr_t, intptr_t) -> TComponent* { return CreateHotkeyOptionsDialog(GetOpenURL()); }},
    {MESSAGE_GENERALOPTIONS,
     [](intptr_t, intptr_t) -> TComponent* { return CreateGeneralOptionsDialog(GetOpenURL()); }},
    {MESSAGE_MESSAGEOFTHEDAY,
     [](intptr_t, intptr_t) -> TComponent* {
         return CreateMessageBox("Message of the Day", GetMessageOfTheDay());
     }},
    {MESSAGE_DOWNLOAD,
     [](intptr_t P1, intptr_t P2) -> TComponent* { return CreateDownloadDialog(Text(P1), Number(P2)); }},
    {MESSAGE_ERRORREPORTDIALOG, [](intptr_t, intptr_t) -> TComponent* { return CreateErrorReportDialog(); }},
    {MESSAGE_OBJECTMENU, OpenObjectMenu},
    {MESSAGE_BATTLEMENU, OpenCreatureMenu},
    {MESSAGE_VIPMENU, OpenBuddyMenu},
    {MESSAGE_CHATTEXTMENU, OpenTextMenu},
    {MESSAGE_CHANNELTABMENU, OpenChannelMenu},
    {MESSAGE_REQUESTCHANNELMENU, OpenRequestMenu},
    {MESSAGE_EDITFIELDMENU, OpenEditMenu},
    {MESSAGE_MAPMARKMENU, OpenMarkMenu},
    {MESSAGE_SKILLSMENU, OpenSkillsMenu},
};

// One entry per type, in the order of the types.
static_assert(std::adjacent_find(std::begin(Catalogue), std::end(Catalogue),
                                 [](const TCatalogueEntry& A, const TCatalogueEntry& B) {
                                     return A.Type >= B.Type;
                                 }) == std::end(Catalogue));

} // namespace

std::span<const TCatalogueEntry> GetWindowCatalogue() { return Catalogue; }

TWindowOpener FindWindowOpener(int32_t Type) {
    for (const TCatalogueEntry& Entry : Catalogue)
        if (Entry.Type == Type) return Entry.Open;
    return nullptr;
}
