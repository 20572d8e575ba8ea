#!/usr/bin/env bash
# Installs the Debian packages the editor (or, with "test", its tests) needs
# and this machine lacks. As root it uses apt-get; otherwise it prints the
# exact command to run and fails.
#
#   scripts/install-deps.sh editor   build and run the editor
#   scripts/install-deps.sh xvfb     the same, on a virtual X server (run-editor.sh --xvfb)
#   scripts/install-deps.sh test     also build and run every test, on a bare
#                                    virtual X server and under the window
#                                    managers openbox and i3
set -euo pipefail

what=${1:-editor}
packages=(cmake g++ make freeglut3-dev libglu1-mesa-dev)
case "$what" in
  editor) ;;
  xvfb) packages+=(xvfb) ;;
  test) packages+=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xdotool x11-utils
                   imagemagick libx11-dev libxtst-dev libxdamage-dev openbox i3-wm) ;;
  *)
    echo "usage: $0 [editor|xvfb|test]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}"
  echo "Install them as root, then run this again:"
  echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}"
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
