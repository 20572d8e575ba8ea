#!/usr/bin/env bash
# Installs the Debian packages the editor (or, with "test", its tests) needs
# and this machine lacks. As root it uses apt-get; otherwise it prints the
# exact command to run and fails.
#
#   scripts/install-deps.sh editor       build and run the editor
#   scripts/install-deps.sh xvfb         the same, on a virtual X server (run-editor.sh --xvfb)
#   scripts/install-deps.sh test         also build and run every test, on a bare
#                                        virtual X server and under the window
#                                        managers openbox and i3, and the
#                                        builds with clang's libc++
#   scripts/install-deps.sh screenshots  what scripts/screenshots.sh uses
#   scripts/install-deps.sh windows      cross-build for Windows (MinGW-w64) and run
#                                        its tests under Wine; also makes freeglut's
#                                        source package available to apt-get source
set -euo pipefail

what=${1:-editor}
packages=(cmake g++ make freeglut3-dev libglu1-mesa-dev)
case "$what" in
  editor) ;;
  xvfb) packages+=(xvfb) ;;
  test)
    packages+=(libgtest-dev googletest clang libclang-rt-14-dev libc++-dev libc++abi-dev xvfb x11-utils
               libx11-dev libxtst-dev libxdamage-dev libxdo-dev libpng-dev openbox i3-wm) ;;
  screenshots) packages+=(xvfb xdotool imagemagick) ;;
  windows)
    packages=(cmake make g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 wine dpkg-dev
              googletest) ;;
  *)
    echo "usage: $0 [editor|xvfb|test|screenshots|windows]" >&2
    exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# Windows: freeglut is built from Debian's source package, which apt-get
# source finds only through a deb-src entry. One is added beside the Debian
# list, with the same archive and suites.
src_list=/etc/apt/sources.list.d/debian-src.sources
need_src_list=no
if [ "$what" = windows ] && ! apt-get source --print-uris freeglut >/dev/null 2>&1; then
  need_src_list=yes
fi

[ ${#missing[@]} -eq 0 ] && [ "$need_src_list" = no ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Missing packages: ${missing[*]}"
    echo "Install them as root, then run this again:"
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}"
  fi
  if [ "$need_src_list" = yes ]; then
    echo "apt-get source cannot fetch freeglut: no deb-src entry. As root, run:"
    echo "  sudo $0 windows"
  fi
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if [ "$need_src_list" = yes ]; then
  # The archive of the first entry of Debian's own list (a mirror or a
  # snapshot on some machines), else the main archive.
  uri=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
  uri=${uri:-http://deb.debian.org/debian}
  echo "Adding $src_list (deb-src, $uri, bookworm and bookworm-updates)"
  cat > "$src_list" <<LIST
Types: deb-src
URIs: $uri
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
LIST
fi
apt-get -o DPkg::Lock::Timeout=600 update -qq
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
