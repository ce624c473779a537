// The console window: its frame and controls, opening and closing tabs, the channels re-joined at start and
// remembered at the end, and saving a channel to a file.
#include "screen/ConsoleWindow.h"
#include "foundation/Exception.h"
#include "network/CommunicationSend.h"

namespace {

TConsoleSenders Senders = NetworkConsoleSenders();

} // namespace

TConsoleSenders NetworkConsoleSenders() {
    return {
        SendTalk,         SendPrivateTalk,   SendChannelTalk,   SendGetChannels,     SendJoinChannel,
        SendLeaveChannel, SendRemoveRequest, SendCancelRequest, SendInviteToChannel, SendExcludeFromChannel};
}

const TConsoleSenders& GetConsoleSenders() { return Senders; }
void SetConsoleSenders(const TConsoleSenders& NewSenders) { Senders = NewSenders; }
