#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the run need.
# Idempotent; works as root or through sudo.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ make pkg-config
  clang-14 libclang-rt-14-dev clang-format
  googletest libgtest-dev libgmock-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 wine32:i386
  # makensis: TessalySetup.exe
  nsis
  # Windows' dialog fonts: Wine's Tahoma and Marlett, and fonts with the
  # metrics of Arial, Times New Roman and Courier New. Without them Wine
  # falls back to fonts whose metrics no Windows has. This Wine does not
  # load the Tahoma of fonts-wine from where the package puts it: every test
  # prefix gets a copy in its Fonts folder, as Windows keeps it. The layout
  # test also puts DejaVu Sans and Liberation Sans Narrow in place of the
  # dialog font, and asks fontconfig for them.
  fonts-wine fonts-liberation fonts-dejavu-core fontconfig
  # The X extensions Wine opens at run time, for both loaders: without
  # Xinerama a Wine sees one monitor only, without XRender no anti-aliased
  # text, without XInput2 no raw mouse input.
  libxinerama1 libxrandr2 libxrender1 libxi6 libxfixes3 libxcursor1 libxcomposite1 libxxf86vm1
  libxinerama1:i386 libxrandr2:i386 libxrender1:i386 libxi6:i386 libxfixes3:i386 libxcursor1:i386
  libxcomposite1:i386 libxxf86vm1:i386
  xvfb xserver-xephyr xdotool x11-utils imagemagick
  libjpeg-turbo-progs python3
  # The help page is checked in a real browser (headless).
  chromium
  alsa-utils libasound2-plugins
)

if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi

# The 32-bit build runs under the 32-bit Wine loader (wine32 from i386).
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup: adding the i386 architecture"
  $SUDO dpkg --add-architecture i386
fi

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi
