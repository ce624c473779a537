// The text of a readable object, editable where the object type allows, and a list text of the server;
// their factories.
#pragma once

#include "control/DialogsFrame.h"

#include <cstdint>

class TMultiLineEditField;
class TObjectView;

// Longest text a text or list edit message carries: the message less its command byte, identifiers and the
// string's length word.
inline constexpr int32_t EDIT_TEXT_LIMIT = 2031;

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

// Record: {text identifier, object type, second value}; Author and Text may be NULL.
TModalDialog* CreateTextDialog(const int32_t* Record, const char* Author, const char* Text);
// Record: {list type, list identifier}.
TModalDialog* CreateListEditDialog(const int32_t* Record, const char* Text);
