// The ignore and white lists dialog: a copy of both speaker filters with their permanent flags and switches,
// edited in place and stored on OK; its factory.
#pragma once

#include "control/DialogsFrame.h"
#include "foundation/Container.h"

#include <cstdint>
#include <memory>

class TTextList;

// One name of the ignore or the white list, as the dialog keeps it.
struct TListEntry {
    char Name[30];
    uint8_t Permanent;
};

class TIgnoreListDialog : public TParentComponent {
public:
    TIgnoreListDialog();
    void keyPressed(int32_t Key) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    void
    handleEvent(int32_t Identifier) override; // 602 stores, 11 selects, 709/710 and 712/713 add and delete

    // One half of the dialog.
    struct TSide {
        TDynamicArray<TListEntry> Entries{0, 9, 10, TListEntry{}};
        TTextList* List = nullptr;
        TCheckBox* Permanent = nullptr;
        TCheckBox* Active = nullptr;
    };
    TSide Ignore, White;
    TCheckBox* IgnoreYelling;
    TCheckBox* IgnorePrivate;
    TCheckBox* AllowVIPs;

private:
    void fill(TSide& Side, std::unique_ptr<char[]> Names, bool (*Flag)(const char*));
    void takeSelected(TSide& Side); // the selected line into its entry, with the side's permanent box
    void add(TSide& Side, TSide& Other);
    void remove(TSide& Side);
    void store(TSide& Side, void (*Add)(const char*, bool));
};

// Enter ends the editing of a list line instead of confirming.
TModalDialog* CreateIgnoreListDialog();
