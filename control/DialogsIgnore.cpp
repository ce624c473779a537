// The ignore and white lists dialog: a copy of both speaker filters with their permanent flags and switches,
// edited in place and stored on OK; its factory.
#include "control/DialogsIgnore.h"

#include "foundation/Exception.h"
#include "gui/DialogElements.h"
#include "gui/DialogElementsList.h"
#include "screen/MessageTexts.h"
#include "state/Status.h"
#include "state/Talk.h"
#include "state/TalkRouting.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int32_t SELECTED = 11;
constexpr int32_t STORE = 602;
constexpr int32_t IGNORE_ADD = 709, IGNORE_DELETE = 710, WHITE_ADD = 712, WHITE_DELETE = 713;
constexpr const char* NEW_ENTRY = "new entry";

TTextFormat LineStyle(bool Permanent) {
    return Permanent ? TTextFormat{4, 192, 0, 0, LEFT_ALIGN} : TTextFormat{4, 224, 224, 224, LEFT_ALIGN};
}

TListEntry Entry(const char* Name, bool Permanent) {
    TListEntry Result{};
    snprintf(Result.Name, sizeof(Result.Name), "%s", Name);
    Result.Permanent = Permanent ? 1 : 0;
    return Result;
}

bool CaseBlindLess(const std::string& A, const std::string& B) {
    return std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(), [](char a, char b) {
        return tolower(static_cast<unsigned char>(a)) < tolower(static_cast<unsigned char>(b));
    });
}

const char* LineText(TTextList* List, int32_t Line) {
    TTextFormat Unused;
    const char* Text = List->getLine(Line, Unused);
    return Text != nullptr ? Text : "";
}

} // namespace

TIgnoreListDialog::TIgnoreListDialog() try {
    TComponent::setSize(498, 272);
    for (TSide* Side : {&Ignore, &White}) {
        const int32_t x = Side == &Ignore ? 0 : 256;
        const bool IsIgnore = Side == &Ignore;
        Side->Active = PlaceCheckBox(this, IsIgnore ? "Activate Ignore List" : "Activate White List", x, 0,
                                     242, IsIgnore ? GetIgnoreListActive() : GetWhiteListActive());
        PlaceLabel(this, IsIgnore ? MessageTexts[TEXT_IGNORE_NAMES] : MessageTexts[TEXT_ALLOW_NAMES], x, 35);
        Side->List = new TTextList(this, SELECTED, nullptr, 0);
        Side->List->setEditable(true);
        addChild(Side->List);
        placeChild(Side->List, x, 50, 242, 104);
        addChild(
            new TTextButton(x + 161, 159, "Add", 14, 15, this, IsIgnore ? IGNORE_ADD : WHITE_ADD, nullptr));
        addChild(new TTextButton(x + 208, 159, "Delete", 14, 15, this,
                                 IsIgnore ? IGNORE_DELETE : WHITE_DELETE, nullptr));
        Side->Permanent =
            PlaceCheckBox(this, IsIgnore ? "Ignore Permanently" : "Allow Permanently", x, 158, 146, false);
        PlaceLabel(this, IsIgnore ? MessageTexts[TEXT_IGNORE_GLOBAL] : MessageTexts[TEXT_ALLOW_GLOBAL], x,
                   197);
    }
    IgnoreYelling = PlaceCheckBox(this, "Ignore Yelling", 0, 215, 242, IsModeIgnored(TALK_YELL));
    IgnorePrivate =
        PlaceCheckBox(this, "Ignore Private Messages", 0, 250, 242, IsModeIgnored(TALK_PRIVATE_MESSAGE));
    AllowVIPs = PlaceCheckBox(this, "Allow VIPs to message you", 256, 215, 242, GetAllowVIPs());
    fill(Ignore, GetIgnoreListText(), GetIgnoreListFlag);
    fill(White, GetWhiteListText(), GetWhiteListFlag);
    arrange();
    handleEvent(SELECTED);
}
CATCH_FRAME()

void TIgnoreListDialog::fill(TSide& Side, std::unique_ptr<char[]> Names, bool (*Flag)(const char*)) {
    std::vector<std::string> Sorted;
    for (const char* P = Names.get(); P != nullptr && *P != 0;) {
        const char* End = strchr(P, '\n');
        const size_t Length = End != nullptr ? static_cast<size_t>(End - P) : strlen(P);
        if (Length > 0) Sorted.emplace_back(P, Length);
        P += Length + (End != nullptr ? 1 : 0);
    }
    std::stable_sort(Sorted.begin(), Sorted.end(), CaseBlindLess);
    for (size_t i = 0; i < Sorted.size(); i++) {
        const TListEntry E = Entry(Sorted[i].c_str(), Flag(Sorted[i].c_str()));
        Side.Entries.at(static_cast<int32_t>(i)) = E;
        Side.List->addLine(E.Name, LineStyle(E.Permanent != 0));
    }
    if (Side.List->Lines > 0) Side.List->select(0);
}

void TIgnoreListDialog::takeSelected(TSide& Side) {
    const int32_t Line = Side.List->getSelection();
    if (Line != -1) Side.Entries.at(Line) = Entry(LineText(Side.List, Line), Side.Permanent->isChecked());
}

void TIgnoreListDialog::add(TSide& Side, TSide& Other) {
    Other.List->endEdit();
    Side.List->endEdit();
    takeSelected(Side);
    const int32_t Line = Side.List->Lines;
    Side.Entries.at(Line) = Entry(NEW_ENTRY, false);
    Side.List->addLine(NEW_ENTRY, LineStyle(false));
    Side.List->select(Line);
    Side.Permanent->setChecked(false);
    Side.List->beginEdit();
}

// Names renamed in place on lines other than the selected one are kept, and names emptied in place leave the
// array with their lines, so that entry i stays the entry of line i.
void TIgnoreListDialog::remove(TSide& Side) {
    Side.List->endEdit();
    const int32_t Selected = Side.List->getSelection(), Count = Side.List->Lines;
    if (Selected != -1) {
        std::vector<TListEntry> Kept;
        for (int32_t i = 0; i < Count; i++) {
            const bool Permanent = i == Selected ? Side.Permanent->isChecked() : Side.Entries.at(i).Permanent;
            const TListEntry E = Entry(LineText(Side.List, i), Permanent);
            if (i != Selected && E.Name[0] != 0) Kept.push_back(E);
        }
        Side.List->clear();
        for (int32_t i = 0; i < Count; i++) {
            const bool Filled = i < static_cast<int32_t>(Kept.size());
            Side.Entries.at(i) = Filled ? Kept[i] : TListEntry{};
            if (Filled) Side.List->addLine(Kept[i].Name, LineStyle(Kept[i].Permanent != 0));
        }
    }
    Side.List->select(-1);
}

void TIgnoreListDialog::store(TSide& Side, void (*Add)(const char*, bool)) {
    for (int32_t i = 0; i < Side.List->Lines; i++) {
        char Name[sizeof(TListEntry::Name)];
        snprintf(Name, sizeof(Name), "%s", LineText(Side.List, i));
        if (Name[0] != 0 && strcmp(Name, NEW_ENTRY) != 0) Add(Name, Side.Entries.at(i).Permanent != 0);
    }
}

void TIgnoreListDialog::keyPressed(int32_t Key) {
    Ignore.List->keyPressed(Key);
    White.List->keyPressed(Key);
}

bool TIgnoreListDialog::leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) try {
    if (!TParentComponent::leftButtonUp(X, Y, Flags)) return false;
    for (TSide* Side : {&Ignore, &White}) {
        const int32_t Line = Side->List->getSelection();
        const bool Checked = Side->Permanent->isChecked();
        if (Line == -1 || (Side->Entries.at(Line).Permanent != 0) == Checked) continue;
        Side->List->endEdit();
        const TListEntry E = Entry(LineText(Side->List, Line), Checked);
        Side->List->setLine(Line, E.Name, LineStyle(Checked));
        Side->Entries.at(Line) = E;
    }
    return true;
}
CATCH_FRAME(X, Y)

void TIgnoreListDialog::handleEvent(int32_t Identifier) try {
    switch (Identifier) {
    case SELECTED:
        for (TSide* Side : {&Ignore, &White}) {
            const int32_t Line = Side->List->getSelection();
            if (Line != -1) Side->Permanent->setChecked(Side->Entries.at(Line).Permanent != 0);
        }
        return;
    case IGNORE_ADD:
        return add(Ignore, White);
    case WHITE_ADD:
        return add(White, Ignore);
    case IGNORE_DELETE:
        return remove(Ignore);
    case WHITE_DELETE:
        return remove(White);
    case STORE:
        Ignore.List->endEdit();
        ClearIgnoreList();
        store(Ignore, AddToIgnoreList);
        SetIgnoreListActive(Ignore.Active->isChecked());
        IgnoreYelling->isChecked() ? IgnoreMode(TALK_YELL) : UnignoreMode(TALK_YELL);
        IgnorePrivate->isChecked() ? IgnoreMode(TALK_PRIVATE_MESSAGE) : UnignoreMode(TALK_PRIVATE_MESSAGE);
        White.List->endEdit();
        ClearWhiteList();
        store(White, AddToWhiteList);
        SetWhiteListActive(White.Active->isChecked());
        SetAllowVIPs(AllowVIPs->isChecked());
        break;
    default:
        break;
    }
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

TModalDialog* CreateIgnoreListDialog() {
    TModalDialog* Frame =
        FrameBody("Edit Ignore List and White List", new TIgnoreListDialog, "Ok", STORE, CANCEL_BODY);
    EnterToBody(Frame); // Enter ends the editing of a list line
    return Frame;
}
