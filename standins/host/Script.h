// The host's automation script: steps separated by ';', each a command word
// and its arguments, e.g.
//   "wait 1500; shot main; lang zhcn; tab 1; click 0x4cc; disconnect; exit"
// Commands:
//   wait <ms>          let the program run for that long
//   shot <name>        save the host window as <screens>\<name>.png
//   connect | disconnect   plug the simulated handset in or out
//   lang <en|zhcn|zhtw>    switch the suite's language (restarts the plug-in)
//   size <w> <h>       resize the host window's client area
//   click <control id> press a button of the plug-in window (decimal or 0x...),
//                      also one inside a window the plug-in placed in its own
//   tab <index>        select a module tab of the plug-in window
//   tree <path>        write the window tree of the host window to a file: every
//                      window, the items of tree views, the first rows of list
//                      views, then the process's other visible top-level
//                      windows (the shared dialogs' card, a message box)
//   idle               wait until the simulated handset has delivered every
//                      answer and the host's message queue has run dry
//   type <control id> [<text>]  put <text> (the rest of the step, trimmed; none
//                      empties the field) into an edit of the plug-in window
//                      (or of a window placed in it), or into the label being
//                      edited in a tree view; it tells its parent EN_CHANGE as
//                      typing does
//   row <control id> <index>    click item <index> of a list view of the
//                      plug-in window with the left button, in its middle
//   cell <control id> <index> <column>   click the middle of one cell of item
//                      <index> of a list view of the plug-in window
//   node <control id> <index>   click the <index>-th visible item (from 0) of a
//                      tree view of the plug-in window, in the item's label
//   key <control id> <virtual key>   press and release a key (no modifier) in a
//                      control of the plug-in window, as the keyboard does; in a
//                      tree view whose label is being edited, in the label's edit
//   menu <index>       choose item <index> (from 0, of the enabled ones) of the
//                      popup menu that is open (waits for it), with the keyboard
//   receive <count>    make the simulated handset receive messages
//   command <id>       post a menu command to the plug-in window, as if chosen
//   until <title key>  wait until a window titled with that text key's text shows
//                      (a dialog the plug-in opened; the script goes on inside
//                      the dialog's own loop)
//   press <title key> <button id>   press a button of that window
//   fill <title key> <control id> <text>   set a control's text in that window
//   pick <title key> <control id> <row>    click row <row> (from 0) of a list box
//                      in that window, as the mouse does: the list selects it
//                      and tells the window (a phrase picker's OK then takes it)
//   delay <ms>         the simulated handset answers that much later (0: at once)
//   exit               close the host
// A step that cannot be parsed refuses the whole script before anything runs;
// a step that cannot be carried out ends the host with exit code 2.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace shell {

struct ScriptStep {
  std::wstring command;
  std::vector<std::wstring> args;
};

// Parses a script; on a malformed step answers false with `error` naming it.
bool ParseScript(const std::wstring& text, std::vector<ScriptStep>& steps, std::wstring& error);

// Parses a decimal or 0x-prefixed number; false when `text` is not one.
bool ParseNumber(const std::wstring& text, long& value);

// Carries out "pick": scrolls row `row` of the list box `controlId` of
// `window` into view and posts a click on its middle. False with `problem`
// when there is no such list box, it is hidden or disabled, or it has no
// such row.
bool PickListRow(HWND window, int controlId, int row, std::wstring& problem);

}  // namespace shell
