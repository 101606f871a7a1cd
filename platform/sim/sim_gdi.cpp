#include "platform/sim/sim_gdi.h"

namespace mivo::sim {

namespace {
constexpr std::uintptr_t kSystemFaceBrush = 0x4F000;
constexpr int kBitmapResources[] = {167, 169};
}  // namespace

BrushHandle SimGdi::SystemFaceBrush() {
  return kSystemFaceBrush;
}

bool SimGdi::HasBitmapResource(int resource_id) {
  for (int id : kBitmapResources) {
    if (id == resource_id) return true;
  }
  return false;
}

BitmapHandle SimGdi::LoadBitmap(int resource_id) {
  if (!HasBitmapResource(resource_id)) return 0;
  const GdiObject handle = ++next_handle_;
  objects_[handle] = Object{Kind::kBitmap, 0, resource_id};
  return handle;
}

BrushHandle SimGdi::CreateSolidBrush(COLORREF colour) {
  const GdiObject handle = ++next_handle_;
  objects_[handle] = Object{Kind::kBrush, colour & 0x00FFFFFFu, 0};
  return handle;
}

bool SimGdi::DeleteObject(GdiObject object) {
  return objects_.erase(object) > 0;
}

const SimGdi::Object* SimGdi::Find(GdiObject object) const {
  const auto it = objects_.find(object);
  return it == objects_.end() ? nullptr : &it->second;
}

bool SimGdi::SetBkMode(DeviceContext dc, int mode, int* old_mode) {
  const auto it = dcs_.find(dc);
  if (it == dcs_.end() || (mode != TRANSPARENT && mode != OPAQUE)) return false;
  *old_mode = it->second.bk_mode;
  it->second.bk_mode = mode;
  return true;
}

bool SimGdi::SetBkColor(DeviceContext dc, COLORREF colour, COLORREF* old_colour) {
  const auto it = dcs_.find(dc);
  if (it == dcs_.end()) return false;
  *old_colour = it->second.bk_colour;
  it->second.bk_colour = colour & 0x00FFFFFFu;
  return true;
}

SimGdi::DcState SimGdi::Dc(DeviceContext dc) const {
  const auto it = dcs_.find(dc);
  return it == dcs_.end() ? DcState{} : it->second;
}

bool SimGdi::DrawIcon(DeviceContext dc, int x, int y, IconHandle icon) {
  if (dcs_.find(dc) == dcs_.end() || icon == 0) return false;
  drawn_icons_.push_back(DrawnIcon{dc, x, y, icon});
  return true;
}

}  // namespace mivo::sim
