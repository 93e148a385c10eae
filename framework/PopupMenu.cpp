#include "framework/PopupMenu.h"

namespace wf {
namespace {
MenuChooser& Chooser() {
  static MenuChooser chooser;
  return chooser;
}
}  // namespace

UINT TrackPopup(HMENU menu, int x, int y, HWND owner) {
  UINT command = 0;
  if (Chooser()) {
    command = Chooser()(menu);
  } else {
    // The owner must be the foreground window for the menu to close when the
    // user clicks elsewhere.
    ::SetForegroundWindow(owner);
    command = static_cast<UINT>(
        ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, owner, nullptr));
  }
  if (command) ::PostMessageW(owner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  return command;
}

void SetMenuChooser(MenuChooser chooser) { Chooser() = std::move(chooser); }

}  // namespace wf
