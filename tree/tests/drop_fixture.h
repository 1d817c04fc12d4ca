#pragma once
// Two trees on a shown form, their ids travelling with their nodes, and what their drag-over
// and drop events were told.

#include <memory>
#include <vector>

#include "platform/transfer/drag_drop.h"
#include "platform/transfer/tests/toolkit_drag.h"
#include "tree/tests/input_fixture.h"
#include "tree/tests/stream_bytes.h"

namespace rv::test {

struct DragOverCall {
    TObject* source;
    TShiftState shift;
    TDragState state;
    TPoint pt;
    TDropMode mode;
    DWORD effect;
};

struct DropFixture : InputFixture {
    // `target` is the fixture's tree with `count` nodes; `other` sits below it with nodes 100 …
    explicit DropFixture(int count, int otherCount = 3) : InputFixture(count) {
        other = form.Add<InputTree>(Bounds(0, 100, 200, 100));
        for (int i = 0; i < otherCount; ++i) others.push_back(other->Add(nullptr, 100 + i));
        for (InputTree* t : {tree, other}) {
            CarryIds(*t);
            t->MultiSelect();
        }
        Listen(*tree);
    }
    ~DropFixture() { SetDragLoop(nullptr); }

    // Accepts with the effect it is given (Accept), noting every call; drops are noted too.
    void Listen(InputTree& t) {
        t.OnDragOver = [this](TBaseVirtualTree*, TObject* source, TShiftState shift,
                              TDragState state, TPoint pt, TDropMode mode, DWORD& effect,
                              bool& accept) {
            overs.push_back({source, shift, state, pt, mode, effect});
            accept = Accept;
        };
        t.OnDragDrop = [this](TBaseVirtualTree* sender, TObject* source,
                              const std::shared_ptr<IDataObject>& data, const TFormatArray& f,
                              TShiftState shift, TPoint pt, DWORD& effect, TDropMode mode) {
            drops.push_back({source, shift, dsDragMove, pt, mode, effect});
            formats = f;
            if (OnDrop) OnDrop(*sender, source, data, effect, mode);
        };
    }
    // A toolkit drag event over the target tree at a client point.
    DWORD Drag(ToolkitDrag kind, TPoint client, DWORD keys = MK_LBUTTON,
               DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE) {
        return SendToolkitDrag(tree->Handle(), kind, client, data, allowed, keys);
    }

    InputTree* other;
    std::vector<PVirtualNode> others;
    std::shared_ptr<IDataObject> data;
    bool Accept = true;
    std::vector<DragOverCall> overs, drops;
    TFormatArray formats;
    std::function<void(TBaseVirtualTree& target, TObject* source,
                       const std::shared_ptr<IDataObject>& data, DWORD& effect, TDropMode mode)>
        OnDrop;
};

}  // namespace rv::test
