#!/usr/bin/env bash
# One-time (idempotent) set-up of a Debian machine for building and running the
# product: the mingw-w64 cross compiler, Wine, fonts, Xvfb, and a project-local
# headless Wine prefix in build/wine. Safe to run again; it only does what is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  cmake make
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  wine64 fonts-wine fonts-noto-cjk
  xvfb xauth x11-apps imagemagick
  googletest
  # Readers and writers of the import and export files that are not ours,
  # for the interoperability test (tests/interop).
  python3 python3-openpyxl python3-xlrd python3-xlwt python3-vobject libxml2-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The project's Wine prefix; PIM_WINEPREFIX and PIM_WINE_GRAPHICS choose
# another one (make demo uses a second prefix with the X11 driver).
. "$root/scripts/wine-env.sh"
graphics=${PIM_WINE_GRAPHICS:-null}
if [ ! -f "$WINEPREFIX/.pim-ready" ]; then
  echo "setup: creating the Wine prefix in $WINEPREFIX ($graphics display driver)"
  mkdir -p "$WINEPREFIX"
  (
    unset DISPLAY
    wine64 wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    if [ "$graphics" = null ]; then
      # Windows without an X server: the null display driver.
      wine64 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    fi
    # No window manager under Xvfb: unmanaged windows hide without a stall.
    wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # Debian's Wine does not find its own fonts (Tahoma, MS Shell Dlg) otherwise.
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -w
  )
  touch "$WINEPREFIX/.pim-ready"
fi

# Chinese text: Tahoma (the skin's face, and the dialogs' and menus' through
# MS Shell Dlg) borrows its Chinese characters from Noto Sans CJK SC, regular
# and bold. Wine links a bold Tahoma only through its own "Tahoma Bold" entry.
# WenQuanYi Zen Hei, linked before, drew the skin's 11-13 pixel sizes from its
# embedded bitmaps with strokes missing (docs/ARCHITECTURE.md, platform notes).
# Done on new and existing prefixes alike, until the prefix's registry holds it.
cjk=/usr/share/fonts/opentype/noto
fonts_dir="$WINEPREFIX/drive_c/windows/Fonts"
if ! grep -q 'NotoSansCJK-Bold.ttc' "$WINEPREFIX/system.reg" 2>/dev/null || [ ! -f "$fonts_dir/NotoSansCJK-Bold.ttc" ] ||
   ! grep -q '"SimSun"="Noto Sans CJK SC"' "$WINEPREFIX/system.reg" 2>/dev/null; then
  echo "setup: Chinese fonts for the Wine prefix in $WINEPREFIX"
  (
    unset DISPLAY
    cp "$cjk/NotoSansCJK-Regular.ttc" "$cjk/NotoSansCJK-Bold.ttc" "$fonts_dir/"
    rm -f "$fonts_dir/wqy-zenhei.ttc"
    links='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
    for face in Tahoma 'Microsoft Sans Serif'; do
      wine64 reg add "$links" /v "$face" /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK SC' /f >/dev/null 2>&1
    done
    wine64 reg add "$links" /v 'Tahoma Bold' /t REG_MULTI_SZ /d 'NotoSansCJK-Bold.ttc,Noto Sans CJK SC' /f >/dev/null 2>&1
    wine64 reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v '微软雅黑' /d 'Noto Sans CJK SC' /f >/dev/null 2>&1
    # Edit controls draw through Uniscribe, whose Chinese fallback is SimSun.
    wine64 reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v 'SimSun' /d 'Noto Sans CJK SC' /f >/dev/null 2>&1
    # The registry reaches system.reg when the server ends; a server that a
    # test session keeps alive is not waited for (the step runs again if the
    # file does not hold it yet).
    timeout 30 wineserver -w || true
  )
fi

# A program that crashes ends at once instead of waiting for Wine's crash
# debugger, which has nobody to talk to headless and would hold a test run
# until its time-out. Done on new and existing prefixes alike.
if grep -q '"Debugger"="winedbg' "$WINEPREFIX/system.reg" 2>/dev/null; then
  (
    unset DISPLAY
    wine64 reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1
    timeout 30 wineserver -w || true
  )
fi
