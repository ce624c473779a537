// The options dialog with its page buttons, and the general, console and network option pages; their
// factories.
#pragma once

#include "control/DialogsFrame.h"

#include <cstdint>

class TOptionsDialog : public TParentComponent {
public:
    TOptionsDialog();
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override; // a row queues its page and 33; 1 and 2 save and end
};

class TGeneralOptionsDialog : public TParentComponent {
public:
    explicit TGeneralOptionsDialog(TOpenURLFunction OpenURL);
    void handleEvent(int32_t Identifier) override; // 1 stores, 2 ends, 701 help

    TOpenURLFunction OpenURL;
    TCheckBox* ClassicControl;
    TCheckBox* AutoChaseOff;
    TCheckBox* ShowHints;
    TCheckBox* CreatureNames;
    TCheckBox* TextualEffects;
};

class TConsoleOptionsDialog : public TParentComponent {
public:
    explicit TConsoleOptionsDialog(TOpenURLFunction OpenURL);
    void handleEvent(int32_t Identifier) override; // 1 stores, 701 help, others end

    TOpenURLFunction OpenURL;
    TCheckBox* Boxes[5]; // info, event, status messages, time stamps, private messages
};

class TNetworkOptionsDialog : public TParentComponent {
public:
    explicit TNetworkOptionsDialog(TOpenURLFunction OpenURL);
    void handleEvent(int32_t Identifier) override; // 1 stores, 701 help, others end

    TOpenURLFunction OpenURL;
    TCheckBox* TestServer;
};

// Escape confirms like Ok: the options file is written when this dialog closes.
TModalDialog* CreateOptionsDialog();
TModalDialog* CreateGeneralOptionsDialog(TOpenURLFunction OpenURL);
TModalDialog* CreateConsoleOptionsDialog(TOpenURLFunction OpenURL);
TModalDialog* CreateNetworkOptionsDialog(TOpenURLFunction OpenURL);
