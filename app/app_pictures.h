#pragma once

#include "platform/graphics/bitmap.h"
#include "platform/graphics/image_list.h"

namespace rv {

// The program's own pictures, drawn rather than loaded, so that nothing lies beside the program;
// each is drawn at the pixel ratio asked for (2 for a screen at 200 %), so it is sharp at any
// scale.
// The program's icon (a reel of music in the library's colours) at `size` pixels square, its
// rounded corners on `background`.
TBitmap AppIcon(int size, TColor background = clWhite, double pixelRatio = 1);
// The 48 x 48 picture of the album header: a disc.
TBitmap AlbumPicture(double pixelRatio = 1);
// The 16 x 16 images of the media types, in their order: an audio CD (0), an audio file (1);
// the list draws them anew at the ratio of each canvas.
void AddMediaTypeImages(TImageList& images);

}  // namespace rv
