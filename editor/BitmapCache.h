#pragma once

#include "drawing/Bitmap.h"

// Decoded images by resource id, shared by every editor of the process and kept until it
// ends. Both operations are safe from any thread.

// The image of the PNG resource `id`, decoded on first use; nullptr when the plug-in file
// holds no such resource or it does not decode.
const Bitmap* CachedBitmap(int id);
// Puts an image under `id` (replacing none already there); answers the cached one.
const Bitmap* CacheBitmap(int id, Bitmap image);
