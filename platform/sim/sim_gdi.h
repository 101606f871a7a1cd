// The simulated GDI: brushes and bitmaps with their handles, device contexts with their
// background mode and colour, and what was drawn. Every object made is counted until it is
// deleted, so a leak shows in `live_objects()`.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/win_types.h"

namespace mivo::sim {

class SimGdi {
 public:
  enum class Kind { kBrush, kBitmap };

  struct Object {
    Kind kind = Kind::kBrush;
    COLORREF colour = 0;  // a brush's colour
    int resource_id = 0;  // a bitmap's resource
  };

  // A device context's attributes that the program sets.
  struct DcState {
    int bk_mode = OPAQUE;
    COLORREF bk_colour = Rgb(255, 255, 255);
  };

  struct DrawnIcon {
    DeviceContext dc = 0;
    int x = 0;
    int y = 0;
    IconHandle icon = 0;
  };

  // The system's own brush for dialog and control backgrounds (COLOR_3DFACE). It is not made
  // by the program, is never counted and cannot be deleted.
  static BrushHandle SystemFaceBrush();
  // The bitmap resources the program has (the About box's picture and OK-button bitmap).
  static bool HasBitmapResource(int resource_id);

  BitmapHandle LoadBitmap(int resource_id);
  BrushHandle CreateSolidBrush(COLORREF colour);
  bool DeleteObject(GdiObject object);
  // The object behind a handle, or null when it does not exist (never made, or deleted).
  const Object* Find(GdiObject object) const;
  // Objects made and not deleted yet.
  std::size_t live_objects() const { return objects_.size(); }

  // A fresh device context (its attributes at their defaults); the caller names it.
  void ResetDc(DeviceContext dc) { dcs_[dc] = DcState{}; }
  // Attributes of a known device context; returns false for an unknown one.
  bool SetBkMode(DeviceContext dc, int mode, int* old_mode);
  bool SetBkColor(DeviceContext dc, COLORREF colour, COLORREF* old_colour);
  DcState Dc(DeviceContext dc) const;

  bool DrawIcon(DeviceContext dc, int x, int y, IconHandle icon);
  const std::vector<DrawnIcon>& drawn_icons() const { return drawn_icons_; }

 private:
  std::uintptr_t next_handle_ = 0x50000;
  std::map<GdiObject, Object> objects_;
  std::map<DeviceContext, DcState> dcs_;
  std::vector<DrawnIcon> drawn_icons_;
};

}  // namespace mivo::sim
