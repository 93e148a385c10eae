#!/usr/bin/env bash
# One-time (idempotent) set-up of a Debian machine for building and running the
# product: the mingw-w64 cross compiler, Wine, fonts, Xvfb, and a project-local
# headless Wine prefix in build/wine. Safe to run again; it only does what is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  cmake make
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  wine64 fonts-wine fonts-wqy-zenhei
  xvfb xauth x11-apps imagemagick
  googletest
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
    cp /usr/share/fonts/truetype/wqy/wqy-zenhei.ttc "$WINEPREFIX/drive_c/windows/Fonts/"
    wine64 reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v '微软雅黑' /d 'WenQuanYi Zen Hei' /f >/dev/null 2>&1
    wine64 reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v Tahoma /t REG_MULTI_SZ /d 'wqy-zenhei.ttc,WenQuanYi Zen Hei' /f >/dev/null 2>&1
    wine64 reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v 'Microsoft Sans Serif' /t REG_MULTI_SZ /d 'wqy-zenhei.ttc,WenQuanYi Zen Hei' /f >/dev/null 2>&1
    wineserver -w
  )
  touch "$WINEPREFIX/.pim-ready"
fi
