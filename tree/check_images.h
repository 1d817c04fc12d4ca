#pragma once

#include "platform/graphics/canvas.h"
#include "platform/graphics/image_list.h"
#include "platform/windows/theme_services.h"
#include "tree/tree_property_types.h"
#include "tree/virtual_node.h"

namespace rv {

// The tree's own check images, one set per TCheckImageKind but ckCustom, each image 16 × 16:
//   0       nothing
//   1 – 8   radio buttons: unchecked normal, hot, pressed, disabled; checked the same four
//   9 – 20  check boxes: unchecked, checked, mixed, each normal, hot, pressed, disabled
//   21 – 24 push buttons: normal, hot, pressed, disabled
// These are also the states of the theme's radio-button, check-box and push-button parts
// (index, index − 8, index − 20). A custom image list is indexed the same way.
inline constexpr int kCheckImageCount = 25;
inline constexpr int kCheckImageSize = 16;
inline constexpr int kFirstRadioImage = 1;
inline constexpr int kFirstCheckBoxImage = 9;
inline constexpr int kFirstPushButtonImage = 21;

// The image a check box of `type` in `state` shows: disabled when the node or the tree is,
// else hot for the hot node (pressed states stay pressed); -1 for ctNone. Tri-state boxes use
// the check-box images.
int CheckImageIndex(TCheckType type, TCheckState state, bool enabled, bool hot);

// Draws image `index` of the set `kind` with its top-left corner at (x, y), in whole logical
// pixels (crisp at any scale); round parts at the canvas's resolution. Nothing for ckCustom or
// an index out of range.
void DrawCheckImage(TCanvas& canvas, TCheckImageKind kind, int index, int x, int y);

// The theme's button part and state that stand for check image `index`.
TThemedElementDetails CheckImageThemeDetails(int index);

// The set as an image list of 16 × 16 masked images (ckCustom: left empty).
void LoadCheckImages(TImageList& list, TCheckImageKind kind);

}  // namespace rv
