// Basic types of the binary interface between the desklet host, the plug-in
// and the host's control and image libraries. Handles are pointer-sized
// opaque integers; booleans that cross the boundary are 32-bit, -1 for true.
#pragma once

#include <cstdint>

extern "C" {

typedef uintptr_t KivHandle;
typedef KivHandle HWND;
typedef KivHandle HMODULE;
typedef KivHandle HMENU;
typedef KivHandle HCURSOR;
typedef KivHandle HPROPSHEETPAGE;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef int32_t BOOL32;

struct KivPoint {
  int32_t x;
  int32_t y;
};

struct KivSize {
  int32_t cx;
  int32_t cy;
};

struct KivRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

}  // extern "C"

constexpr BOOL32 kTrue = -1;
constexpr BOOL32 kFalse = 0;

inline BOOL32 ToBool32(bool b) { return b ? kTrue : kFalse; }
