// The layout map of the main window (CPimWnd): which controls follow which
// edges when the host resizes it. Design client area: 959 x 528 pixels.
#pragma once
#include "frame/DialogLayout.h"

// Adds the main window's panes and items to `layout` (whose root pane must
// exist, i.e. from the window's DefineLayout()). Answers false when the root
// pane is missing or the template lacks one of the controls; the controls
// that it has are laid out all the same.
bool DefinePimLayout(CDialogLayoutBase& layout);
