// Popup menus shown at a point, with a seam for tests.
//
// TrackPopup shows the menu with the platform's modal menu loop; the chosen
// item reaches `owner` as WM_COMMAND, posted, as TrackPopupMenu does. A test
// cannot take part in that loop from the same thread, so it may install a
// chooser instead: the menu is then handed to the chooser, which reads its
// items (GetMenuItemInfo) and answers the command to choose, 0 for none, and
// no loop runs.
#pragma once
#include <windows.h>

#include <functional>

namespace wf {

using MenuChooser = std::function<UINT(HMENU menu)>;

// Answers the command chosen (also posted to `owner`), 0 when none was.
UINT TrackPopup(HMENU menu, int x, int y, HWND owner);

// Installs (or, with an empty function, removes) the chooser.
void SetMenuChooser(MenuChooser chooser);

}  // namespace wf
