// The notification-area icon and its popup menu.
#include "app/controller_dialog.h"
#include "core/text.h"

namespace mivo {

namespace {

constexpr const char* kTrayTip = "Tr520 USB Internet Speakerphone";
// The identifier under which the icon is added.
constexpr std::uint32_t kTrayIconId = 1;

NotifyIconData TrayData(HWND window, std::uint32_t id, int icon) {
  NotifyIconData data;
  data.window = window;
  data.id = id;
  data.flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.callback_message = MSG_TRAY_NOTIFY;
  data.icon = icon;
  CopyText(data.tip, kTrayTip);
  return data;
}

}  // namespace

void ControllerDialog::AddTrayIcon() {
  if (host_.window.Shell_NotifyIcon(NIM_ADD, TrayData(m_hWnd, kTrayIconId, IDI_NOT_READY))) {
    tray_icon_id = kTrayIconId;
  }
}

bool ControllerDialog::UpdateTrayIcon(bool handset_ready, bool voip_ready) {
  const int icon_id = handset_ready && voip_ready ? IDI_READY : IDI_NOT_READY;
  return host_.window.Shell_NotifyIcon(NIM_MODIFY, TrayData(m_hWnd, tray_icon_id, icon_id));
}

bool ControllerDialog::RemoveTrayIcon() {
  NotifyIconData data;
  data.window = m_hWnd;
  data.id = tray_icon_id;
  return host_.window.Shell_NotifyIcon(NIM_DELETE, data);
}

void ControllerDialog::OnTrayNotify(WPARAM, LPARAM mouse_message) {
  if (static_cast<UINT>(mouse_message) == WM_RBUTTONUP) ShowTrayMenu();
}

void ControllerDialog::ShowTrayMenu() {
  const PopupItem items[2] = {{ID_CLOSE, text_close}, {ID_ABOUT, text_about}};
  host_.window.TrackPopupMenu(m_hWnd, IDR_TRAY_MENU, items, 2);
}

}  // namespace mivo
