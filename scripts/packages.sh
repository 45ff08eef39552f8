# Installs the Debian packages Numerisphere needs, only those that are missing.
# Sourced by the build scripts; runs apt-get as root, or through sudo otherwise.

nmr_packages=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n)

nmr_install_packages() {
    local missing=()
    local package
    for package in "${nmr_packages[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y "${missing[@]}"
}
