#pragma once

#include <cstdint>
#include <functional>

#include "platform/graphics/bitmap.h"
#include "platform/messages/messages.h"

namespace rv {

// Which way a drag image may move.
enum class TVTDragMoveRestriction { dmrNone, dmrHorizontalOnly, dmrVerticalOnly };
using enum TVTDragMoveRestriction;

// The picture that follows the mouse while nodes or header columns are dragged: a copy of the
// dragged content, translucent (Transparency), lightened when it is prepared (PrepareBias) and
// when it is composed (BlendBias), with Fade fading towards its edges and pixels of ColorKey
// left out.
//
// Nothing here draws on the screen. Shown in a window (Windowed), the picture is a translucent
// popup that ignores the mouse, moved as the image moves; otherwise the owner draws it itself
// (the header over its own strip) with ComposeOnto, told by OnMove to repaint.
class TVTDragImage {
public:
    static constexpr TColor kNoColorKey = 0x1FFFFFFF;

    TVTDragImage() = default;
    TVTDragImage(const TVTDragImage&) = delete;
    TVTDragImage& operator=(const TVTDragImage&) = delete;
    ~TVTDragImage();

    std::uint8_t Transparency = 128;  // the alpha of the whole picture
    std::uint8_t PrepareBias = 0;     // added to every channel of the picture when prepared
    std::uint8_t BlendBias = 0;       // added to every channel when the picture is composed
    bool Fade = false;                // the alpha falls off from the centre
    TVTDragMoveRestriction MoveRestriction = dmrNone;
    TColor ColorKey = kNoColorKey;  // pixels of this colour are left out
    // Shown in a window of its own at screen positions; otherwise drawn by the owner.
    bool Windowed = true;
    // The picture moved, was shown or hidden: the old and the new place (empty when none).
    std::function<void(const TRect& before, const TRect& after)> OnMove;

    // Takes the picture of the dragged content; its top-left corner is at Position − HotSpot
    // while the mouse is at Position.
    void PrepareDrag(const TBitmap& image, TPoint position, TPoint hotSpot);
    // Follows the mouse to `p` within the move restriction; true when the picture moved (also
    // when ForceRepaint asks for it to be drawn again where it is).
    bool DragTo(TPoint p, bool forceRepaint = false);
    // Whether DragTo(p) would move the shown picture.
    bool WillMove(TPoint p) const;
    void ShowDragImage();
    // Takes the picture off for a while (the owner paints); ShowDragImage brings it back.
    void HideDragImage();
    // Hides the picture and lets it go.
    void EndDrag();

    bool Prepared() const { return prepared_; }
    bool Visible() const { return visible_; }
    // Where the picture is (empty before PrepareDrag).
    TRect GetDragImageRect() const;
    TPoint ImagePosition() const { return imagePosition_; }
    TPoint LastPosition() const { return lastPosition_; }
    // The prepared picture, 32 bits, with its alpha channel.
    const TBitmap& Picture() const { return picture_; }
    // Alpha of a picture pixel (device pixels).
    int AlphaAt(int x, int y) const;
    // Composes the picture onto a 32-bit bitmap whose top-left corner is at `origin` in the
    // coordinates of the image's positions.
    void ComposeOnto(TBitmap& target, TPoint origin) const;
    HWND Window() const { return window_; }

private:
    void MakeAlphaChannel();
    void PlaceWindow();
    void Notify(const TRect& before);
    void WindowProc(TMessage& message);

    TBitmap picture_;
    TPoint imagePosition_;
    TPoint lastPosition_;
    bool prepared_ = false;
    bool visible_ = false;
    HWND window_ = 0;
};

// How much of a pixel at `distance` from the centre of a picture whose larger side is `size`
// shows when the picture fades: 1 at the centre, 1 − 2 (distance / size)² further out, 0 from
// there on (half at the middle of the larger side's edges, nothing at the corners of a square).
double DragImageFallOff(double distance, double size);

}  // namespace rv
