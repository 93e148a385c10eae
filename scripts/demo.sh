#!/usr/bin/env bash
# Starts the host with the plug-in. With a DISPLAY the window opens there (in
# a second Wine prefix that uses the X11 driver); without one the host runs
# headless, saves screenshots of its window to build/screens/ and exits.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build/x64}
bin="$root/$build/bin"
screens="$root/build/screens"

# The demo's simulated handset: a modest sample, made once (Wine maps / to Z:)
# and copied afresh for every headless run, so that what a run sends or
# receives does not change the next run's screens.
sample="$root/build/demo/handset-sample.dat"
handset="$root/build/demo/handset.dat"
handset_win="Z:${handset//\//\\}"
make_sample() {
  if [ ! -f "$sample" ]; then
    mkdir -p "$(dirname "$sample")"
    echo "demo: making a sample handset in build/demo/"
    wine64 "$bin/HandsetGen.exe" --out "Z:${sample//\//\\}" --contacts 300 --messages 3000 --events 300 \
      --until "$(date +%Y-%m-%d | sed 's/-29$/-28/;s/-3[01]$/-28/')" --seed 1
  fi
  [ -f "$handset" ] || cp "$sample" "$handset"
}

if [ -n "${DISPLAY:-}" ]; then
  export PIM_WINEPREFIX="$root/build/wine-x11" PIM_WINE_GRAPHICS=x11
  "$root/scripts/setup.sh"
  . "$root/scripts/wine-env.sh"
  make_sample
  exec wine64 "$bin/TamixShell.exe" --handset "$handset_win"
fi

mkdir -p "$screens"
rm -f "$screens"/*.png
. "$root/scripts/wine-session.sh"
make_sample
cp "$sample" "$handset"
screens_win="Z:${screens//\//\\}"  # Wine maps / to drive Z:
win() { local path=$1; echo "Z:${path//\//\\}"; }
# What the demo exports through the plug-in, and imports back into an empty
# handset: every contact as XML, Excel and vCard (the folder browser starts in
# the export path, which TAMIX_EXPORT_PATH points at the cards' folder), the
# inbox as XML and Excel.
exports="$root/build/demo/exports"
rm -rf "$exports"
mkdir -p "$exports/cards"
export_win=$(win "$exports/contacts.xml")
contacts_xlsx_win=$(win "$exports/contacts.xlsx")
messages_export_win=$(win "$exports/messages.xml")
messages_xls_win=$(win "$exports/messages.xls")
export TAMIX_EXPORT_PATH
TAMIX_EXPORT_PATH=$(win "$exports/cards")
# The Excel commands want a spreadsheet program registered; the demo registers
# one in its Wine prefix for as long as it runs (the tests expect none).
excel_key='HKLM\SOFTWARE\Microsoft\Office\Excel'
wine64 reg add "$excel_key" /f >/dev/null 2>&1
# (The Wine session's own end, set by wine-session.sh, stays part of the exit.)
trap 'wine64 reg delete "$excel_key" /f >/dev/null 2>&1 || true; wineserver -k >/dev/null 2>&1 || true' EXIT
# "idle" waits until the simulated handset has answered everything asked and
# the host's queue is dry; "row" clicks a list row (the contact card opens).
script="idle; row 0x488 3; idle; shot 01-contacts; tab 1; idle; shot 02-messages; tab 2; idle; shot 03-calendar"
# Messages: the first visit read the handset (02); the sent folder by day, a
# long conversation as bubbles, a reply sent from the conversation window, the
# same in Simplified Chinese, a message arriving (its tray tip), and a new
# message in the compose window.
script="$script; tab 1; idle; node 0x4c8 4; idle; shot 14-messages-sent; click 0x56c; idle; node 0x4c9 2; idle"
script="$script; shot 16-conversation; type 1398 Thanks, see you at the station at eight.; click 1395; idle"
script="$script; shot 17-reply-sent; lang zhcn; idle; tab 1; idle; click 0x56c; idle; node 0x4c9 0; idle"
script="$script; shot 19-conversation-zh-cn; lang en; idle; tab 1; idle; receive 1; idle; shot 15-message-received"
script="$script; click 0x580; until jorvhelper.newsms.title; shot 18-compose-new; press jorvhelper.newsms.title 2; idle"
# Message operations: the selected inbox message deleted (it goes to the
# recycle bin), moved back to the inbox from there, a folder made in the
# new-folder dialog, and the inbox exported with its progress window.
script="$script; node 0x4c8 0; idle; row 0x4d0 2; idle; command 42081; idle; shot 20-message-deleted"
script="$script; node 0x4c8 6; idle; row 0x4d0 1; idle; command 42588; idle; shot 21-message-restored"
script="$script; command 41820; until pim.sms.newfolder; fill pim.sms.newfolder 0x623 Receipts; shot 22-new-folder"
script="$script; press pim.sms.newfolder 1; idle; node 0x4c8 0; idle; delay 1500; command 41825; until common.resave"
script="$script; fill common.resave 0x47c $messages_export_win; press common.resave 1; until common.export"
script="$script; shot 23-message-export; idle; delay 0; command 41826; until common.resave"
script="$script; fill common.resave 0x47c $messages_xls_win; press common.resave 1; idle"
# Enter on a row opens the message in the detail window; a message copied
# to the new folder; the folder emptied into the recycle bin.
script="$script; row 0x4d0 3; idle; key 0x4d0 13; idle; shot 24-message-detail; tab 0; idle; tab 1; idle"
script="$script; row 0x4d0 4; idle; command 42341; idle; node 0x4c8 10; idle; shot 25-copied-to-folder"
script="$script; command 41824; idle; shot 26-folder-emptied"
# The new folder renamed in place (the tree's label edit, Enter).
script="$script; command 41821; idle; type 0x4c8 Bills 2026; key 0x4c8 13; idle; shot 29-folder-renamed"
# A message locked by a click in its lock column; the new folder deleted
# after its question.
script="$script; node 0x4c8 0; idle; cell 0x4d0 2 0; idle; shot 27-message-locked; node 0x4c8 10; idle"
script="$script; command 41822; until common.caption.tip; press common.caption.tip 1; idle; shot 28-folder-deleted"
# A message import from the toolbar's menu (XML, the inbox just exported):
# the open dialog, then the progress window; the phone is read again when it ends.
script="$script; delay 1500; click 0x582; menu 0; until common.open; fill common.open 0x47c $messages_export_win"
script="$script; press common.open 1; until common.import; shot 30-message-import; idle; delay 0; idle"
# The calendar: the month view, the same in Simplified Chinese (lunar days),
# and the list searched.
script="$script; tab 2; idle; click 0x4ff; idle; shot 31-calendar-month; lang zhcn; idle; tab 2; idle"
script="$script; click 0x4ff; idle; shot 32-calendar-month-zh-cn; lang en; idle; tab 2; idle; click 0x4fc; idle"
script="$script; type 0x58e meeting; idle; shot 33-calendar-search; type 0x58e; idle"
# A click on an event shows its details; the week and day views; a new event
# typed into the editor and saved (it appears in the day view).
script="$script; row 0x4d1 2; idle; shot 38-event-detail"
script="$script; click 0x4fe; idle; shot 34-calendar-week; click 0x4fd; idle; shot 35-calendar-day"
script="$script; click 0x585; until pim.calendar.newcalendar; fill pim.calendar.newcalendar 0x643 Lunch"
script="$script; fill pim.calendar.newcalendar 0x64c Canteen; fill pim.calendar.newcalendar 0x646 12:00"
script="$script; fill pim.calendar.newcalendar 0x649 13:00; shot 36-event-editor"
script="$script; press pim.calendar.newcalendar 1; idle; shot 37-event-saved-day; click 0x4fc; idle"
script="$script; tab 0; idle"
script="$script; tab 0; type 0x4cf an; idle; row 0x488 2; idle; shot 04-contacts-search; type 0x4cf; idle"
# The shared contact editor on a contact (menu command 41069, Edit), left with Cancel.
script="$script; row 0x488 3; idle; command 41069; until jorvhelper.newcontact.edit; shot 12-contact-editor"
script="$script; press jorvhelper.newcontact.edit 2; idle"
# The compose window for the selected contact (menu command 41059), left with Cancel.
script="$script; row 0x488 4; idle; command 41059; until jorvhelper.newsms.title; shot 13-compose"
script="$script; press jorvhelper.newsms.title 2; idle"
# An export of the phone contacts (menu command 0xa060): the save dialog, then
# the progress window, shown for a while by answering late. Then the same
# contacts as Excel and as vCards (the folder browser's OK takes the cards' folder).
script="$script; delay 1500; command 0xa060; until common.resave; fill common.resave 0x47c $export_win"
script="$script; press common.resave 1; until common.export; shot 10-export-progress; idle; delay 0; shot 11-export-ended"
script="$script; command 41057; until common.resave; fill common.resave 0x47c $contacts_xlsx_win"
script="$script; press common.resave 1; idle; command 41058; until common.browsefolder; wait 500; press common.browsefolder 1; idle"
script="$script; lang zhcn; idle; row 0x488 3; idle; shot 05-contacts-zh-cn"
script="$script; lang zhtw; idle; shot 06-contacts-zh-tw; lang en"
script="$script; size 1000 640; idle; shot 07-resized; receive 2; wait 500; shot 08-received"
script="$script; disconnect; idle; shot 09-disconnected; connect; exit"
echo "demo: running the host headless; screenshots go to build/screens/"
wine64 "$bin/TamixShell.exe" --handset "$handset_win" --screens "$screens_win" --script "$script"

# (The folder browser carries its English title before the plug-in has chosen
# the start folder in it, so the steps give it a moment before pressing OK.)
# An empty handset: the exported files imported through the plug-in (contacts
# as XML, Excel and vCards, the inbox as XML and Excel).
imported="$root/build/demo/imported.dat"
rm -f "$imported"
script="idle; click 0x4cd; menu 0; until common.open; fill common.open 0x47c $export_win; press common.open 1; idle"
script="$script; shot 39-contacts-imported-xml; click 0x4cd; menu 1; until common.open"
script="$script; fill common.open 0x47c $contacts_xlsx_win; press common.open 1; idle"
script="$script; click 0x4cd; menu 2; until common.browsefolder; wait 500; press common.browsefolder 1; idle"
script="$script; row 0x488 0; idle; shot 40-contacts-imported-three-times; tab 1; idle; click 0x582; menu 0"
script="$script; until common.open; fill common.open 0x47c $messages_export_win; press common.open 1; idle"
script="$script; click 0x582; menu 1; until common.open; fill common.open 0x47c $messages_xls_win"
script="$script; press common.open 1; idle; node 0x4c8 0; idle; shot 41-messages-imported; exit"
echo "demo: importing the exported files into an empty handset"
wine64 "$bin/TamixShell.exe" --handset "$(win "$imported")" --screens "$screens_win" --script "$script"

# A folder of vCards as phones and address books write them, one of them
# broken: imported into another empty handset, the broken card is skipped
# and counted (the library's log says so).
real_world="$root/build/demo/real-world-vcards"
rm -rf "$real_world" "$root/build/demo/real-world.dat"
cp -r "$root/standins/provider/files/tests/data/vcard" "$real_world"
TAMIX_EXPORT_PATH=$(win "$real_world")
script="idle; click 0x4cd; menu 2; until common.browsefolder; wait 500; press common.browsefolder 1; idle; row 0x488 0"
script="$script; idle; shot 42-real-world-vcards; exit"
echo "demo: importing a folder of real-world vCards"
wine64 "$bin/TamixShell.exe" --handset "$(win "$root/build/demo/real-world.dat")" --screens "$screens_win" \
  --script "$script"
grep -a "contacts imported as vCard" "$bin/log/PimPluginInfo.log" | tail -1 | sed 's/^/demo: /'
grep -a "import=vcard: .* skipped" "$bin/log/PimPluginErr.log" | tail -1 | cut -c1-300 | sed 's/^/demo: /' 

# Every format, every record: the sample's contacts and messages exported and
# imported into an empty handset with the library's own code, compared.
"$root/scripts/demo-roundtrip.sh" "$bin" "$sample"

echo "demo: the control gallery"
wine64 "$bin/ControlGallery.exe" --shot "$screens_win\\gallery.png"
wine64 "$bin/ControlGallery.exe" --sheet "$screens_win\\skin-sheet.png"
ls -1 "$screens"/*.png
