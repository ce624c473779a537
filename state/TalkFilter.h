// Filter entries that bind (talk mode, name, channel) to a text buffer, the console's registry of buffers
// with its factory, and the appending of lines to a buffer.
#pragma once

#include "foundation/Container.h"
#include "state/TalkBuffer.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// One filter entry. In the console's registry it stands for a buffer; in the speaker lists it has none.
struct TTalkFilter {
    TTextBuffer* TextBuffer = nullptr; // not owned
    char Name[TALK_NAME_LENGTH] = {};  // the speaker's name, unless AnyName
    bool AnyName = true;               // made without a name; an empty name given is a name like any other
    int32_t Mode = 0;                  // 0: any mode
    int32_t Channel = -1;              // -1: any channel
    bool Permanent = false;            // kept in the options file (speaker lists only)

    // Game-master modes and channel highlights (9 to 12) never match; Name NULL matches nameless entries
    // only.
    bool matches(int32_t Mode, const char* Name, int32_t Channel) const;
};

// A growable list of entries, each owned by its slot (AddTalkFilter, DeleteTalkFilter); an empty slot is
// NULL. Scans run over every slot, lowest index first.
using TTalkFilterList = TDynamicArray<TTalkFilter*>;

int32_t FindTalkFilter(int32_t Mode, const char* Name, int32_t Channel, TTalkFilterList& List); // -1: none
int32_t FindTextBufferFilter(TTextBuffer* TextBuffer, TTalkFilterList& List);                   // -1: none
// Puts a new entry into the lowest empty slot, or behind the last; answers the slot.
int32_t AddTalkFilter(int32_t Mode, const char* Name, int32_t Channel, TTextBuffer* TextBuffer,
                      TTalkFilterList& List, bool Permanent);
// Frees the entry in slot Index and empties the slot.
void DeleteTalkFilter(int32_t Index, TTalkFilterList& List);

// A speaker list (white, VIP and ignore lists): filter entries without buffers, found and added as in a
// TTalkFilterList, through indexes of the names and of the empty slots, so that a list of many thousand
// names costs no more per name than a short one.
class TSpeakerList {
public:
    TSpeakerList();
    ~TSpeakerList();
    TSpeakerList(const TSpeakerList&) = delete;
    TSpeakerList& operator=(const TSpeakerList&) = delete;

    // As FindTalkFilter: the lowest slot whose entry matches, -1 for none.
    int32_t find(int32_t Mode, const char* Name, int32_t Channel) const;
    // As AddTalkFilter with no buffer and any channel.
    int32_t add(int32_t Mode, const char* Name, bool Permanent);
    void remove(int32_t Slot);
    void clear();
    // The entry in Slot, NULL for an empty one; slots run from getMin() to getMax().
    const TTalkFilter* at(int32_t Slot) const;
    int32_t getMin() const { return Entries.getMin(); }
    int32_t getMax() const { return Entries.getMax(); }

private:
    // Names compare without regard to case; a look-up takes the name as it is, without a copy.
    struct TNameHash {
        using is_transparent = void;
        size_t operator()(std::string_view Name) const;
    };
    struct TNameEqual {
        using is_transparent = void;
        bool operator()(std::string_view A, std::string_view B) const;
    };

    mutable TTalkFilterList Entries{0, 9, 10, nullptr};
    // A name -> the slots of its entries, ascending.
    std::unordered_map<std::string, std::vector<int32_t>, TNameHash, TNameEqual> Named;
    std::set<int32_t> Nameless; // slots of entries that match any name
    std::set<int32_t> Free;     // empty slots from getMin() to getMax()
};

// The registry of console buffers; every buffer in it is owned by it until DeleteTextBuffer.
TTalkFilterList& ConsoleFilterList();

// The buffer of the console's default tab, NULL outside InitTalk..ExitTalk; it is not in the registry.
TTextBuffer* DefaultTextBuffer();
void SetDefaultTextBuffer(std::unique_ptr<TTextBuffer> Buffer);

// A new buffer of the class that fits the conversation, or NULL when one is registered already.
TTextBuffer* CreateTextBuffer(int32_t ReceiveTalkMode, int32_t SendTalkMode, const char* Name,
                              int32_t Channel);
TTextBuffer* FindTextBuffer(int32_t Mode, const char* Name, int32_t Channel);
void DeleteTextBuffer(TTextBuffer* TextBuffer);
// Deletes every registered buffer (program end).
void DeleteAllTextBuffers();

// Appends one line (with the speaker's prefix when Speaker is not NULL) and marks the console changed.
void AddToTextBuffer(TTextBuffer* TargetBuffer, int32_t StatementID, const char* Text, int32_t Mode,
                     const char* Speaker, int32_t TimeOffset);
void ClearTextBuffer(TTextBuffer* TextBuffer);
void ClearAllTextBuffers(); // only the default buffer's lines
bool HasOwnPrivateChannel();

bool GetConsoleChanged(); // returns the flag and clears it
void SetConsoleChanged();
