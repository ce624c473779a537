// The console's text buffers: time-stamped chat lines in a capped list, one buffer class per kind of tab.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

inline constexpr int32_t TALK_NAME_LENGTH = 30; // bytes of a player name, terminator included
inline constexpr int32_t TEXTBUFFER_MAX_LINES = 1000;
inline constexpr int32_t HELP_CHANNEL_ID = 7; // the channel where tutors answer questions

// One console line. The buffer that holds it owns it; Previous and Next link the buffer's list.
class TTalkLine {
public:
    // A line without speaker; its time is now plus TimeOffset seconds.
    TTalkLine(int32_t StatementID, int32_t Mode, const char* Message, int32_t TimeOffset = 0);
    // A line "name: message"; the speaker's name is cut to 29 characters.
    TTalkLine(int32_t StatementID, int32_t Mode, const char* Speaker, const char* Message,
              int32_t TimeOffset);
    TTalkLine(const TTalkLine&) = delete;
    TTalkLine& operator=(const TTalkLine&) = delete;

    // The line as shown: with its "hh:mm " stamp when the TimeStamps option is on.
    const char* getText() const;

    std::unique_ptr<char[]> _Line; // "hh:mm [name: ]message", local time
    int32_t _StatementID;          // the server's statement number, 0 for the client's own lines
    int32_t _Mode;
    TTalkLine* Previous = nullptr;
    TTalkLine* Next = nullptr;
    char _Addressee[TALK_NAME_LENGTH] = {}; // the speaker, empty for a line without one
    const char* AfterStamp;                 // into _Line, behind the stamp
    const char* MessageText;                // into _Line, behind the stamp and the "name: " prefix
    int64_t Time;                           // calendar seconds of the stamp

private:
    void build(const char* Speaker, const char* Message, int32_t TimeOffset);
};

// The lines of one console tab; the plain class serves the default tab and buffers without a partner.
class TTextBuffer {
public:
    explicit TTextBuffer(int32_t Mode);
    TTextBuffer(const TTextBuffer&) = delete;
    TTextBuffer& operator=(const TTextBuffer&) = delete;
    virtual ~TTextBuffer();

    virtual bool checkChanged();        // lines came or went since the last call
    virtual bool checkClearHighlight(); // the tab's highlight is to end
    virtual void clearHighlight();
    virtual bool isOpen();
    virtual bool setOpen(bool Open);
    virtual void addLine(std::unique_ptr<TTalkLine> Line); // trims the oldest line beyond MaxLines
    virtual void addText(int32_t Mode, const char* Text, int32_t DiffTime);
    virtual void removeLine(int32_t lineNumber); // 0-based position
    virtual void deleteLine(TTalkLine* Line);    // Line must belong to this buffer
    virtual void clear();
    virtual bool isDefault();
    virtual bool usesSpeechModes(); // typed text goes out as say, whisper or yell
    virtual bool isRequest();
    virtual bool isRequestQueue();
    virtual bool isPrivateChannel();
    virtual bool isOwnChannel();
    virtual void setOwnChannel(bool Own);
    virtual void setClosedByUser(bool Closed);
    virtual bool isClosedByUser();
    virtual int32_t getReceiveTalkMode();
    virtual int32_t getSendTalkMode();
    virtual const char* getAddressee(); // NULL for buffers without a partner
    virtual int32_t getChannelID();     // -1 for buffers without a channel

    // The read cursor: seekLine puts it on a line (NULL for an empty buffer), nextLine advances it.
    TTalkLine* seekLine(int32_t lineNumber);
    TTalkLine* nextLine();
    // Writes every line, oldest first, one per text line; returns 0.
    int32_t save(std::FILE* File);
    int32_t getNumberOfLines() const { return NumberOfLines; }

    // Flags the console reads and writes.
    bool ShowServerMessages = false; // the tab also shows server messages
    bool Enabled = true;             // while clear, new lines are dropped
    bool LayoutValid = true;         // cleared when a line goes; set by the console after a layout
    bool LayoutChanged = true;       // set when a line comes or goes; cleared by the console

protected:
    TTextBuffer(int32_t ReceiveTalkMode, int32_t SendTalkMode);
    void deleteAllLines();

    int32_t ReceiveTalkMode;
    int32_t SendTalkMode;
    bool Changed = true;
    bool ClearHighlight = false;
    TTalkLine* FirstLine = nullptr;
    TTalkLine* LastLine = nullptr;
    TTalkLine* Cursor = nullptr;
    int32_t NumberOfLines = 0;
    int32_t MaxLines = TEXTBUFFER_MAX_LINES;
    bool ClosedByUser = false;
    bool OwnChannel = false;
};

// A private conversation with one player.
class TPrivateTextBuffer : public TTextBuffer {
public:
    TPrivateTextBuffer(int32_t Mode, const char* Addressee);
    const char* getAddressee() override;

protected:
    char _Addressee[TALK_NAME_LENGTH] = {};
};

// A public chat channel, ids 0 to 7.
class TChannelTextBuffer : public TTextBuffer {
public:
    TChannelTextBuffer(int32_t Mode, int32_t ChannelID);
    int32_t getChannelID() override;

protected:
    int32_t _ChannelID;
};

// A private chat channel, ids 8 and above; closed when the server ends it.
class TPrivateChannelTextBuffer : public TChannelTextBuffer {
public:
    TPrivateChannelTextBuffer(int32_t Mode, int32_t ChannelID);
    bool isOpen() override;
    bool setOpen(bool Open) override;
    bool isPrivateChannel() override;

protected:
    bool Open = true;
};

// One request conversation between a player and the game masters; any new line opens it again.
class TRequestTextBuffer : public TTextBuffer {
public:
    TRequestTextBuffer(int32_t ReceiveTalkMode, int32_t SendTalkMode, const char* Addressee);
    bool isOpen() override;
    bool setOpen(bool Open) override;
    void addLine(std::unique_ptr<TTalkLine> Line) override;
    void addText(int32_t Mode, const char* Text, int32_t DiffTime) override;
    bool isRequest() override;
    const char* getAddressee() override;

protected:
    char _Addressee[TALK_NAME_LENGTH] = {};
    bool Open = true;
};

// The game masters' queue of open requests: at most one line per player, the newest.
class TRequestQueueTextBuffer : public TTextBuffer {
public:
    TRequestQueueTextBuffer(int32_t Mode, int32_t ChannelID);
    void addLine(std::unique_ptr<TTalkLine> Line) override;
    void addText(int32_t Mode, const char* Text, int32_t DiffTime) override; // always fails
    void deleteLine(TTalkLine* Line) override; // no highlight for a request taken away
    bool usesSpeechModes() override;
    bool isRequestQueue() override;
    int32_t getChannelID() override;

protected:
    int32_t _ChannelID;
};
