# Installs the Debian packages Numerisphere needs, only those that are missing.
# Sourced by the build scripts; runs apt-get as root, or through sudo otherwise.

nmr_build_packages=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n)
nmr_run_packages=(fonts-ipafont-gothic fonts-ipafont-mincho libqt6sql6-sqlite ca-certificates)
# xdg-utils opens the help and the log; its recommends would bring a terminal editor along.
nmr_lean_packages=(xdg-utils)
nmr_headless_packages=(xvfb xdotool imagemagick)
# What the tests of the real program need: an X server and xdotool, the accessibility bus and its
# Python bindings, the validators of the desktop entry and the AppStream metadata, and what builds
# and checks the Debian package.
nmr_test_packages=(xvfb xdotool dbus-daemon at-spi2-core python3-pyatspi desktop-file-utils appstream
    dpkg-dev file lintian)

nmr_missing() {
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || echo "$package"
    done
}

nmr_apt() {
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    if [ -z "${nmr_apt_updated:-}" ]; then
        "${sudo[@]}" apt-get update
        nmr_apt_updated=1
    fi
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y "$@"
}

# nmr_install_packages [extra package...]: the build packages and the extras given.
nmr_install_packages() {
    local missing
    missing=($(nmr_missing "${nmr_build_packages[@]}" "$@"))
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        nmr_apt "${missing[@]}"
    fi
    missing=($(nmr_missing "${nmr_lean_packages[@]}"))
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        nmr_apt --no-install-recommends "${missing[@]}"
    fi
}

# nmr_took <what>: prints how long <what> took since the last call (or the script's start).
nmr_took() {
    echo "[time] $1: $((SECONDS - ${nmr_since:-0})) s"
    nmr_since=$SECONDS
}

# The default generator (Make on Linux) for a new build folder; an existing one keeps its own.
nmr_build() {
    local root="$1" build="$2"
    cmake -S "$root" -B "$build"
    cmake --build "$build" --parallel "$(nproc)"
}
