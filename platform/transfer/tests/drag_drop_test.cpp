#include <gtest/gtest.h>

#include "platform/transfer/clipboard_format_names.h"
#include "platform/transfer/drag_drop.h"
#include "platform/transfer/tests/test_data_object.h"
#include "platform/transfer/tests/toolkit_drag.h"
#include "platform/windows/tests/gui_app.h"
#include "platform/windows/window_host.h"

namespace rv {
namespace {

// Notes every call and answers the effect it is set to (within what is allowed).
class RecordingTarget : public IDropTarget {
public:
    std::vector<std::string> calls;
    std::vector<DWORD> keys;
    TPoint last;
    DWORD answer = DROPEFFECT_COPY;
    std::shared_ptr<IDataObject> entered;
    bool enteredWithText = false;

    HRESULT DragEnter(const std::shared_ptr<IDataObject>& data, DWORD keyState, TPoint pt,
                      DWORD& effect) override {
        entered = data;
        enteredWithText = data->QueryGetData(TFormatEtc{CF_TEXT}) == S_OK;
        return Note("enter", keyState, pt, effect);
    }
    HRESULT DragOver(DWORD keyState, TPoint pt, DWORD& effect) override {
        return Note("over", keyState, pt, effect);
    }
    HRESULT DragLeave() override {
        calls.push_back("leave");
        return S_OK;
    }
    HRESULT Drop(const std::shared_ptr<IDataObject>&, DWORD keyState, TPoint pt,
                 DWORD& effect) override {
        return Note("drop", keyState, pt, effect);
    }

private:
    HRESULT Note(const char* what, DWORD keyState, TPoint pt, DWORD& effect) {
        calls.push_back(what);
        keys.push_back(keyState);
        last = pt;
        effect &= answer;
        return S_OK;
    }
};

class DropWindow : public ::testing::Test {
protected:
    void SetUp() override {
        test::App();
        wnd = CreateHostWindow([this](TMessage& m) { m.Result = DefHostWindowProc(wnd, m); });
        SetWindowBounds(wnd, {100, 50, 300, 250});
        ShowWindow(wnd, true);
        target = std::make_shared<RecordingTarget>();
        data = std::make_shared<test::BytesDataObject>();
        data->bytes = {{CF_TEXT, std::string("x\0", 2)}};
    }
    void TearDown() override { DestroyHostWindow(wnd); }

    HWND wnd = 0;
    std::shared_ptr<RecordingTarget> target;
    std::shared_ptr<test::BytesDataObject> data;
};

TEST_F(DropWindow, ToolkitDragsReachTheTargetWithScreenPointsKeysAndTheSameObject) {
    ASSERT_EQ(RegisterDragDrop(wnd, target), S_OK);
    EXPECT_EQ(RegisterDragDrop(wnd, target), DRAGDROP_E_ALREADYREGISTERED);
    using enum test::ToolkitDrag;
    const DWORD all = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(test::SendToolkitDrag(wnd, Enter, {10, 20}, data, all, MK_LBUTTON | MK_SHIFT),
              DROPEFFECT_COPY);
    EXPECT_EQ(target->entered.get(), data.get());
    EXPECT_EQ(target->last, ClientToScreen(wnd, {10, 20}));
    target->answer = DROPEFFECT_NONE;
    EXPECT_EQ(test::SendToolkitDrag(wnd, Move, {11, 21}, data, all, MK_LBUTTON | MK_ALT),
              DROPEFFECT_NONE);
    target->answer = DROPEFFECT_MOVE;
    EXPECT_EQ(test::SendToolkitDrag(wnd, Drop, {12, 22}, data, all, MK_CONTROL), DROPEFFECT_MOVE);
    EXPECT_EQ(target->calls, (std::vector<std::string>{"enter", "over", "drop"}));
    EXPECT_EQ(target->keys,
              (std::vector<DWORD>{MK_LBUTTON | MK_SHIFT, MK_LBUTTON | MK_ALT, MK_CONTROL}));
    // Data of another program arrives as an object of its own over the same formats, read while
    // the drag lasts.
    test::SendToolkitDrag(wnd, Enter, {1, 1}, data, all, 0, true);
    ASSERT_NE(target->entered.get(), data.get());
    EXPECT_TRUE(target->enteredWithText);
    EXPECT_EQ(target->entered->QueryGetData(TFormatEtc{CF_TEXT}), E_UNEXPECTED);
    test::SendToolkitDrag(wnd, Leave, {}, data, all, 0);

    ASSERT_EQ(RevokeDragDrop(wnd), S_OK);
    EXPECT_EQ(RevokeDragDrop(wnd), DRAGDROP_E_NOTREGISTERED);
    const std::size_t before = target->calls.size();
    EXPECT_EQ(test::SendToolkitDrag(wnd, Enter, {1, 1}, data, all, 0), DROPEFFECT_NONE);
    EXPECT_EQ(target->calls.size(), before);
}

// Asks the table of the platform: Escape or both buttons cancel, a button held goes on.
class ButtonSource : public IDropSource {
public:
    HRESULT QueryContinueDrag(bool escape, DWORD keys) override {
        if (escape || (keys & (MK_LBUTTON | MK_RBUTTON)) == (MK_LBUTTON | MK_RBUTTON))
            return DRAGDROP_S_CANCEL;
        return keys & (MK_LBUTTON | MK_RBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

TEST_F(DropWindow, AScriptedLoopDropsWhereTheButtonGoesUpAndCancelsOnEscape) {
    ASSERT_EQ(RegisterDragDrop(wnd, target), S_OK);
    ButtonSource source;
    DWORD effect = 99;
    test::TDragStep over{wnd, {5, 5}, MK_LBUTTON}, up{wnd, {6, 6}, 0};
    test::TDragStep escape{wnd, {6, 6}, MK_LBUTTON, true};
    auto previous = SetDragLoop(test::ScriptedDragLoop({over, up}));
    EXPECT_EQ(DoDragDrop(wnd, data, source, DROPEFFECT_COPY, effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    EXPECT_EQ(target->calls, (std::vector<std::string>{"enter", "over", "drop"}));
    target->calls.clear();
    SetDragLoop(test::ScriptedDragLoop({over, escape}));
    EXPECT_EQ(DoDragDrop(wnd, data, source, DROPEFFECT_COPY, effect), DRAGDROP_S_CANCEL);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(target->calls, (std::vector<std::string>{"enter", "over", "leave"}));
    // Without a pointer the toolkit's own drag ends at once without a drop.
    SetDragLoop(previous);
    EXPECT_EQ(DoDragDrop(wnd, data, source, DROPEFFECT_COPY, effect), DRAGDROP_S_CANCEL);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
}

}  // namespace
}  // namespace rv
