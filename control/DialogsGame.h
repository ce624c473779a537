// The dialogs the game screen opens: moving part of a stack, texts and lists, the outfit, chat channels,
// reports, the VIP list, the error report and the download progress; their factories and registration.
#pragma once

#include "control/Dialogs.h"
#include "gui/DialogElements.h"
#include "state/Objects.h"

#include <cstdint>
#include <memory>

class TMultiLineEditField;
class THorizontalScrollBox;
class TObjectView;
class TOutfitView;
class TCheckBox;

// Longest text a text or list edit message carries: the message less its command byte, identifiers and the
// string's length word.
inline constexpr int32_t EDIT_TEXT_LIMIT = 2031;

// ---- Move count, text and list edit ----

// How many pieces of the dragged stack to move; the drag source and drop place are read once, at building.
class TMoveCountDialog : public TParentComponent {
public:
    TMoveCountDialog(); // checks "DraggedObject!=0" and "In(DraggedObject.Data,1,100)"

    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override; // 1 sends the move; every identifier ends
    int32_t getCount() const;

    TObject Object;
    int32_t SourcePosition = 0;
    int32_t SourceX = 0, SourceY = 0, SourceZ = 0;
    int32_t DestinationX = 0, DestinationY = 0, DestinationZ = 0;
    THorizontalScrollBox* Slider = nullptr;
    int32_t LastDigit = 0;
    int32_t MaximumCount = 1;

private:
    void setCount(int32_t Value);
};

// The text of a readable object, editable where the object type allows.
class TTextDialog : public TParentComponent {
public:
    // Checks "Text!=NULL"; Label may be NULL.
    TTextDialog(int32_t MaxLength, const char* Text, uint32_t TextID, int32_t ObjectType, int32_t ObjectData,
                int32_t ObjectData2, const char* Label);

    void keyPressed(int32_t Key) override;         // to the text
    void handleEvent(int32_t Identifier) override; // 1 sends the text; every identifier ends

    uint32_t TextID;
    int32_t ObjectType, ObjectData, ObjectData2;
    TObjectView* ObjectView;
    TMultiLineEditField* TextField;
};

// The object type's flags make a text editable: 8 always, 9 only while it is empty.
bool IsTextEditable(int32_t ObjectType, const char* Text);

class TListEditDialog : public TParentComponent {
public:
    // Checks "Text!=NULL" and "(int)strlen(Text)<MaxLength"; Label may be NULL.
    TListEditDialog(int32_t MaxLength, const char* Text, int32_t ListType, uint32_t ListID,
                    const char* Label);

    void arrange() override;
    void keyPressed(int32_t Key) override;         // to the text
    void handleEvent(int32_t Identifier) override; // 1 sends the list; every identifier ends

    uint8_t ListType;
    uint32_t ListID;
    TMultiLineEditField* TextField;
};

// ---- Outfit ----

// The outfit record of event 16: seven words.
struct TOutfitData {
    int32_t LookType;
    int32_t Colors[4]; // head, body, legs, feet
    int32_t FirstLookType, LastLookType;
};

class TOutfitDialog : public TParentComponent {
public:
    static constexpr int32_t COLORS = 133;
    explicit TOutfitDialog(const int32_t* Data); // checks "Data!=NULL"

    // 1 sends, 2 ends, 6 next look, 1000..1003 part, 2000..2132 colour; others are ignored.
    void handleEvent(int32_t Identifier) override;

    TOutfitView* OutfitView;
    TTextButton* PartButtons[4];
    TRadioButtonGroup PartGroup;
    TColorButton* ColorButtons[COLORS];
    TRadioButtonGroup ColorGroup;
    int32_t Colors[4];
    int32_t LookType;
    int32_t FirstLookType, LastLookType;
    int32_t CurrentPart = 0;
};

// ---- Channels ----

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

// ---- Reports ----

class TBugReportDialog : public TParentComponent {
public:
    TBugReportDialog();
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override;

    TMultiLineEditField* Report;
};

class TRuleViolationDialog : public TParentComponent {
public:
    TRuleViolationDialog();
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override; // 1 posts event 51 with a copy of the statement

    TEditField* Statement;
};

// ---- VIP list ----

class TAddVIPDialog : public TParentComponent {
public:
    TAddVIPDialog();
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override;

    TEditField* NameField;
};

class TEditVIPDialog : public TParentComponent {
public:
    static constexpr int32_t ICONS = 11;
    explicit TEditVIPDialog(uint32_t CharacterID); // checks "Position >= 0"

    void keyPressed(int32_t Key) override;         // to the description
    void handleEvent(int32_t Identifier) override; // 1 stores; every identifier ends
    int32_t getIconType() const;                   // 0 when none is selected

    uint32_t CharacterID;
    TRadioButtonGroup IconGroup;
    TCheckBox* NotifyBox;
    TMultiLineEditField* Description;
    TIconButton* IconButtons[ICONS];
};

// ---- Error report and download ----

class TErrorReportDialog : public TParentComponent {
public:
    TErrorReportDialog();
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override; // 1 keeps the reports, 2 discards them; every one ends

    TMultiLineEditField* Reports;
    TEditField* Comment;
};

class TDownloadDialog : public TParentComponent {
public:
    TDownloadDialog(const char* Name, int32_t Number);
    void draw(int32_t Surface, int32_t X, int32_t Y) override; // advances the display
    void handleEvent(int32_t Identifier) override;             // 2 aborts a running download and ends

    int32_t StartTime;
    int32_t ShownProgress = 0;
    bool Finished = false;
    int32_t Number;
    TTextLabel* Label;
    TProgressBar* ProgressBar;
};

// ---- Factories: the framed dialog of one event, or NULL when it opens nothing ----

TModalDialog* CreateMoveCountDialog();
// Record: {text identifier, object type, second value}; Author and Text may be NULL.
TModalDialog* CreateTextDialog(const int32_t* Record, const char* Author, const char* Text);
// Record: {list type, list identifier}.
TModalDialog* CreateListEditDialog(const int32_t* Record, const char* Text);
TModalDialog* CreateOutfitDialog(const int32_t* Data);
// Channels: {count, identifiers...}; NULL or a count of 0 opens nothing.
TModalDialog* CreateChannelDialog(const uint32_t* Channels, const char* Names);
TModalDialog* CreateInviteDialog();
TModalDialog* CreateExcludeDialog();
TModalDialog* CreateBugReportDialog();
TModalDialog* CreateRuleViolationDialog();
TModalDialog* CreateAddVIPDialog();
TModalDialog* CreateEditVIPDialog(uint32_t CharacterID); // NULL for a character not in the VIP list
TModalDialog* CreateErrorReportDialog();
TModalDialog* CreateDownloadDialog(const char* Name, int32_t Number);

// Registers the factories above with the event dispatch; called once by the controller's start.
void InitGameDialogs();
