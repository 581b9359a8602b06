// The whole GDI+ stand-in in one include: bitmaps, graphics, fonts, string
// formats, brushes and paths.
#pragma once

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/brush.h"
#include "platform/gdiplus/font.h"
#include "platform/gdiplus/graphics.h"
#include "platform/gdiplus/graphics_path.h"
#include "platform/gdiplus/pixel.h"
#include "platform/gdiplus/string_format.h"
#include "platform/gdiplus/types.h"
