// Incremental search: typed characters gather in a buffer that a timer empties again; each one
// walks the tree from the start node, wrapping once, to the first node that answers the text.
// The walk visits every node at most once, so a text that nothing answers ends with a beep
// instead of going round for ever.

#include "platform/text/utf8.h"
#include "platform/windows/desktop_settings.h"
#include "platform/windows/window_host.h"
#include "tree/base_tree.h"

namespace rv {

namespace {

constexpr char32_t kBackspace = 8;

// The buffer without its last character.
std::string WithoutLastCharacter(const std::string& text) {
    std::size_t end = text.size();
    while (end > 0) {
        --end;
        if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80) break;
    }
    return text.substr(0, end);
}

}  // namespace

int TBaseVirtualTree::DoIncrementalSearch(PVirtualNode node, const std::string& text) {
    int result = 0;
    if (OnIncrementalSearch) OnIncrementalSearch(this, node, text, result);
    return result;
}

PVirtualNode TBaseVirtualTree::SearchFirst(bool forward) {
    switch (incrementalSearch_) {
        case isInitializedOnly:
            return forward ? GetFirstNoInit() : GetLastNoInit();
        case isVisibleOnly:
            return forward ? GetFirstVisible() : GetLastVisible();
        default:
            return forward ? GetFirst() : GetLast();
    }
}

// The next node of the walk, wrapping at the end to the start.
PVirtualNode TBaseVirtualTree::SearchStep(PVirtualNode node, bool forward) {
    PVirtualNode next;
    switch (incrementalSearch_) {
        case isInitializedOnly:
            next = forward ? GetNextNoInit(node) : GetPreviousNoInit(node);
            break;
        case isVisibleOnly:
            next = forward ? GetNextVisible(node) : GetPreviousVisible(node);
            break;
        default:
            next = forward ? GetNext(node) : GetPrevious(node);
            break;
    }
    return next ? next : SearchFirst(forward);
}

void TBaseVirtualTree::DoIncrementalSearchKey(char32_t key) {
    if (incrementalSearch_ == isNone) return;
    const auto restartTimeout = [this] { SetTimer(Handle(), kSearchTimer, searchTimeout_); };
    // The window delivers a character beyond the first plane as two halves.
    if (key >= 0xD800 && key <= 0xDBFF) {
        highSurrogate_ = key;
        restartTimeout();
        return;
    }
    if (key >= 0xDC00 && key <= 0xDFFF) {
        if (!highSurrogate_) return restartTimeout();
        key = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (key - 0xDC00);
    }
    highSurrogate_ = 0;
    if (key == 0) return restartTimeout();
    DoStateChange({tsIncrementalSearching});
    const bool backspace = key == kBackspace;
    if (backspace && Utf8Length(searchBuffer_) <= 1) return restartTimeout();

    PVirtualNode start = nullptr;
    if (searchStart_ == ssLastHit)
        start = lastSearchNode_;
    else if (searchStart_ == ssFocusedNode)
        start = focusedNode_;
    if (start && incrementalSearch_ == isInitializedOnly && !start->Has(nsInitialized))
        start = nullptr;
    if (start && incrementalSearch_ == isVisibleOnly && !FullyVisible(start)) start = nullptr;
    bool forward = searchDirection_ == sdForward;
    if (backspace) forward = !forward;

    std::string typed;
    AppendUtf8(typed, key);
    std::string text;
    PVirtualNode first = start;
    if (backspace) {
        text = WithoutLastCharacter(searchBuffer_);
        searchBuffer_ = text;
    } else if (Utf8Length(searchBuffer_) == 1 && searchBuffer_ == typed) {
        // The same letter again: the next node with that letter, unless one starts with both.
        PVirtualNode from = start ? start : lastSearchNode_;
        text = searchBuffer_ + typed;
        if (!from || DoIncrementalSearch(from, text) != 0) {
            text = searchBuffer_;
            first = from ? SearchStep(from, forward) : nullptr;
        }
    } else {
        text = searchBuffer_ + typed;
    }
    if (!first) first = SearchFirst(forward);

    PVirtualNode found = nullptr;
    for (PVirtualNode n = first; n;) {
        if (DoIncrementalSearch(n, text) == 0) {
            found = n;
            break;
        }
        n = SearchStep(n, forward);
        if (n == first) break;  // once round
    }
    if (found) {
        ClearSelection();
        searchBuffer_ = text;
        lastSearchNode_ = found;
        SetFocusedNode(found);
        SetSelected(found, true);
        ScrollIntoView(found, TreeOptions().SelectionOptions().Contains(toCenterScrollIntoView));
    } else {
        MessageBeep();
    }
    restartTimeout();
}

}  // namespace rv
