// The three pixel transforms of a print job: monochrome, inverted colours and mirrored image.
// They change the image in place, through its drawing surface, and are never undone.
#pragma once

#include "toolkit/Bitmap.h"

namespace vindelor {

// In this order: monochrome off (always); on when `monochrome`; invert when `inverted`; mirror
// when `mirrored`. Called by the print job once per job, on the work image.
void ApplyTransforms(tk::Bitmap& image, bool monochrome, bool inverted, bool mirrored);

// Every bit of every pixel inverted (DSTINVERT): colours become 255 minus themselves, black and
// white swap, palette indices are inverted bit by bit.
void InvertImage(tk::Bitmap& image);

// Horizontal mirror: column x becomes column W-1-x; rows keep their order.
void MirrorImage(tk::Bitmap& image);

}  // namespace vindelor
