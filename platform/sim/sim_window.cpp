// Placeholder bodies until the simulated component is built.
#include "platform/sim/sim_window.h"

namespace mivo::sim {

SimWindowHost::SimWindowHost(EventLoop& loop, Trace& trace, SimWorld& world)
    : loop_(loop), trace_(trace), world_(world) {}
HWND SimWindowHost::MainWindow() { return nullptr; }
int SimWindowHost::RunModal(Dialog&) { return 0; }
bool SimWindowHost::DestroyWindow(HWND) { return false; }
HWND SimWindowHost::FindWindow(const char*, const char*) { return nullptr; }
bool SimWindowHost::SetWindowText(HWND, const char*) { return false; }
bool SimWindowHost::ShowWindow(HWND, int) { return false; }
bool SimWindowHost::PostMessage(HWND, UINT, WPARAM, LPARAM) { return false; }
LRESULT SimWindowHost::SendMessage(HWND, UINT, WPARAM, LPARAM) { return 0; }
LRESULT SimWindowHost::DefWindowProc(HWND, UINT, WPARAM, LPARAM) { return 0; }
std::uintptr_t SimWindowHost::SetTimer(HWND, std::uintptr_t, UINT) { return 0; }
bool SimWindowHost::KillTimer(HWND, std::uintptr_t) { return false; }
int SimWindowHost::MessageBox(HWND, const char*, const char*, UINT) { return 0; }
void SimWindowHost::Sleep(DWORD) { }
IconHandle SimWindowHost::LoadIcon(int) { return 0; }
bool SimWindowHost::Shell_NotifyIcon(DWORD, const NotifyIconData&) { return false; }
bool SimWindowHost::TrackPopupMenu(HWND, int, const PopupItem*, int) { return false; }

}  // namespace mivo::sim
