#include "platform/data_exchange.h"

namespace mivo {

BitmapHandle Button::SetBitmap(BitmapHandle bitmap) {
  return static_cast<BitmapHandle>(
      window_host_.SendMessage(m_hWnd, BM_SETIMAGE, IMAGE_BITMAP, static_cast<LPARAM>(bitmap)));
}

void DDX_Control(DataExchange& dx, int id, DialogControl& control) {
  if (control.m_hWnd != nullptr) return;
  control.m_hWnd = dx.dialog().window_host().GetDlgItem(dx.dialog().m_hWnd, id);
  if (control.m_hWnd == nullptr) dx.Fail();
}

void DDX_Check(DataExchange& dx, int id, std::int32_t& value) {
  WindowHost& host = dx.dialog().window_host();
  if (dx.save_and_validate()) {
    value = static_cast<std::int32_t>(host.IsDlgButtonChecked(dx.dialog().m_hWnd, id));
    return;
  }
  if (value < 0 || value > 2) value = 0;
  host.CheckDlgButton(dx.dialog().m_hWnd, id, static_cast<UINT>(value));
}

}  // namespace mivo
