// Choosing a chat channel (or a private conversation) and inviting to or excluding from the own channel;
// their factories.
#pragma once

#include "control/DialogsFrame.h"

#include <cstdint>
#include <memory>

class TListBox;

inline constexpr uint32_t OWN_CHANNEL_ID = 65535;
inline constexpr int32_t CHANNEL_NAME_LENGTH = 30; // one name slot of the channel list

class TChannelDialog : public TParentComponent {
public:
    // Checks "_ChannelIDs!=NULL" and "_NumberOfChannels>0"; Names: one 30-byte slot per channel (NULL: no
    // names).
    TChannelDialog(int32_t _NumberOfChannels, const uint32_t* _ChannelIDs, const char* Names);

    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override; // 1 open, 301 join the selected line; every one ends

    TListBox* List;
    TEditField* NameField;
    int32_t NumberOfChannels;
    std::unique_ptr<uint32_t[]> ChannelIDs;

private:
    void joinSelected();
};

class TInviteDialog : public TParentComponent {
public:
    explicit TInviteDialog(bool Exclude);

    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override;

    bool Exclude;
    TEditField* NameField;
};

// Channels: {count, identifiers...}; NULL or a count of 0 opens nothing.
TModalDialog* CreateChannelDialog(const uint32_t* Channels, const char* Names);
TModalDialog* CreateInviteDialog();
TModalDialog* CreateExcludeDialog();
