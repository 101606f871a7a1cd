// A small application framework of our own, shaped like the one the original program was
// written against: an application object, modal dialogs, message-map routing and
// DefWindowProc chaining. The platform's WindowHost supplies the window and the message loop.
#pragma once

#include "platform/host.h"
#include "platform/win_types.h"

namespace mivo {

// The popup-menu commands of the tray icon.
inline constexpr UINT ID_CLOSE = 32771;
inline constexpr UINT ID_ABOUT = 32772;
// The controller's tray callback message.
inline constexpr UINT MSG_TRAY_NOTIFY = 11027;

class DataExchange;

class Dialog {
 public:
  Dialog(int template_id, WindowHost& window_host);
  virtual ~Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog modally through the window host; returns when its window is destroyed.
  int DoModal();
  int TemplateId() const { return template_id_; }
  // The caption a modal box shows (set before DoModal); null for the template's own.
  virtual const char* CaptionText() const { return nullptr; }

  // Entry point of every message for this dialog's window: the message map first, and every
  // message that the map does not bind goes to DefWindowProc.
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam);

  // Moves data between the dialog's controls and its fields: from the controls into the
  // fields when `save_and_validate`, else the other way. Returns false when a field refused.
  bool UpdateData(bool save_and_validate = true);
  WindowHost& window_host() const { return window_host_; }

  // The window; set by the window host when it creates the dialog's window.
  HWND m_hWnd = nullptr;

 protected:
  // Exchanges the dialog's fields with its controls (DDX_ calls). The base has none.
  virtual void DoDataExchange(DataExchange& dx);
  // The base runs the data exchange into the controls.
  virtual bool OnInitDialog();
  // IDOK: the fields are read back from the controls, then the dialog ends with IDOK.
  virtual void OnOK();
  // IDCANCEL (also what WM_CLOSE becomes): the dialog ends with IDCANCEL, nothing read back.
  virtual void OnCancel();
  // Ends the modal loop once the message being handled returns.
  bool EndDialog(int result);
  // The default window procedure; an override must pass every message on to this base.
  virtual LRESULT DefWindowProc(UINT message, WPARAM wparam, LPARAM lparam);
  // The dialog's message map: returns true when the message is bound to a handler, with the
  // handler's result in *result. The base binds the commands IDOK and IDCANCEL; a derived
  // map passes what it does not bind on to its base.
  virtual bool OnWndMsg(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);
  // Passes the message being handled to DefWindowProc (the framework's Default()).
  LRESULT Default();
  bool DestroyWindow();

  WindowHost& window_host_;

 private:
  int template_id_;
  UINT current_message_ = 0;
  WPARAM current_wparam_ = 0;
  LPARAM current_lparam_ = 0;
};

class Application {
 public:
  virtual ~Application() = default;
  // Returns false to end the process after the main dialog's modal loop.
  virtual bool InitInstance() = 0;
};

}  // namespace mivo
