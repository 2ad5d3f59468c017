// The font rasteriser, compiled once.
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
