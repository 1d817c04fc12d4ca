#pragma once

#include <functional>
#include <memory>

#include "platform/graphics/geometry.h"
#include "platform/messages/messages.h"
#include "tree/virtual_node.h"

namespace rv {

class TBaseVirtualTree;

// What the tree asks of an in-place editor. The tree makes a link for each edit
// (DoCreateEditor), then calls PrepareEdit, SetBounds and BeginEdit; the edit ends with EndEdit
// (the new text is taken) or CancelEdit. Either one stops the link: focus loss or destruction of
// the editor afterwards does nothing more. Links are shared: the tree holds one while it edits,
// and an editor may hold one while it handles its own messages.
class IVTEditLink {
public:
    virtual ~IVTEditLink() = default;
    virtual bool BeginEdit() = 0;
    virtual bool CancelEdit() = 0;
    virtual bool EndEdit() = 0;
    // Where the editor is (the tree's client coordinates).
    virtual TRect GetBounds() = 0;
    // False: this link cannot edit the node, and the tree does not edit.
    virtual bool PrepareEdit(TBaseVirtualTree* tree, PVirtualNode node, TColumnIndex column) = 0;
    // Hands a message to the editor's window procedure.
    virtual void ProcessMessage(TMessage& message) = 0;
    virtual void SetBounds(TRect r) = 0;
};

// An editor of the application's own for a node and column (the string tree makes its own when
// no handler is set).
using TVTCreateEditorEvent =
    std::function<void(TBaseVirtualTree* sender, PVirtualNode node, TColumnIndex column,
                       std::shared_ptr<IVTEditLink>& editLink)>;
using TVTEditChangeEvent =
    std::function<void(TBaseVirtualTree* sender, PVirtualNode node, TColumnIndex column)>;
using TVTEditCancelEvent = std::function<void(TBaseVirtualTree* sender, TColumnIndex column)>;

}  // namespace rv
