# The Debian 12 packages MIREL needs to build, test and play (sourced);
# openttd-openmsx and planetblupi-music-midi are General MIDI songs made
# elsewhere, for the sound tests; xvfb, xauth and openbox run the desktop tests;
# clang with its runtime (libFuzzer) and llvm (its symbolizer) the fuzz targets;
# strace slows the game's writes down for the kill tests; qt6-tools-dev and
# qt6-l10n-tools build the comforts' translations (lupdate, lrelease);
# lintian and appstream check the Debian package; Qt's speech module (whose
# CMake files need qt6-declarative-dev) speaks through speech-dispatcher and
# espeak-ng; at-spi2-core, dbus-x11, python3-pyatspi and xdotool let the
# desktop test read the window as a screen reader does.
MIREL_PACKAGES="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-tools-dev qt6-l10n-tools libfluidsynth-dev libsdl2-dev \
timgm6mb-soundfont fonts-ipafont-gothic fonts-liberation qt6-translations-l10n libgtest-dev libgmock-dev libbenchmark-dev file \
openttd-openmsx planetblupi-music-midi \
xvfb xauth openbox \
clang libclang-rt-14-dev llvm strace lintian appstream \
qt6-speech-dev qt6-declarative-dev qt6-speech-speechd-plugin speech-dispatcher espeak-ng \
at-spi2-core dbus dbus-x11 python3-pyatspi xdotool"

# Installs whatever of them is missing (as root, or through sudo).
mirel_install_packages() {
  local missing=""
  for p in $MIREL_PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing:$missing"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
}
