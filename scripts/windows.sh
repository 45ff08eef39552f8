#!/usr/bin/env bash
# Builds Qt's base for 64-bit Windows with MinGW-w64 from Debian's own source package, into a
# cache folder that later runs reuse: only what the program and its tests use (Core, Gui,
# Widgets, Sql with SQLite, Concurrent, Test; the Windows and offscreen platform plugins).
# Debian's Qt source leaves SQLite out: its amalgamation is built from Debian's sqlite3 source.
# The configure line is kept beside the build. Then cross-builds the program and its unit tests
# into build-windows/, deploys the program with every library and plug-in it loads, and packs it
# twice: a portable zip and an installer. Run as root on Debian 12.
#   bash scripts/windows.sh [--test]   with --test, the tests under Wine follow
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
qt="${NMR_QT_MINGW:-$HOME/.cache/numerisphere/qt6-mingw}"
work="${NMR_WINDOWS_WORK:-$HOME/.cache/numerisphere/windows-work}"
jobs="$(nproc)"
say() { printf '[windows] %s\n' "$*"; }

if [ ! -f /etc/apt/sources.list.d/numerisphere-src.sources ]; then
    cat > /etc/apt/sources.list.d/numerisphere-src.sources <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
fi
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev cmake ninja-build dpkg-dev tcl \
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev-tools qt6-translations-l10n nsis zip >/dev/null

# A Qt built before the program fetched results lacks the network module: it is built again.
if [ -f "$qt/lib/cmake/Qt6Network/Qt6NetworkConfig.cmake" ]; then
    say "Qt for Windows: reused from $qt"
else
    say "Qt for Windows: building into $qt"
    start=$(date +%s)
    rm -rf "$work" && mkdir -p "$work" && cd "$work"
    apt-get source -qq qt6-base sqlite3 >/dev/null 2>&1
    source_dir="$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)"
    sqlite_dir="$(find "$work" -maxdepth 1 -type d -name 'sqlite3-*' | head -n 1)"
    (cd "$sqlite_dir" && ./configure -q >/dev/null && make -s sqlite3.c sqlite3.h >/dev/null)
    mkdir -p "$source_dir/src/3rdparty/sqlite"
    cp "$sqlite_dir/sqlite3.c" "$sqlite_dir/sqlite3.h" "$source_dir/src/3rdparty/sqlite/"
    configure=("$source_dir/configure" -prefix "$qt" -release -shared
        -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32-
        -qt-host-path /usr -nomake examples -nomake tests
        -no-opengl -no-dbus -no-feature-vulkan -no-feature-xml -schannel -no-openssl
        -no-feature-printsupport -no-feature-tabletevent
        -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre
        -sql-sqlite -qt-sqlite -no-sql-odbc -no-sql-psql -no-sql-mysql -no-sql-ibase -no-sql-db2
        -no-sql-oci
        -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
    mkdir -p "$work/build" && cd "$work/build"
    "${configure[@]}" >"$work/configure.log" 2>&1 || { tail -40 "$work/configure.log"; exit 1; }
    cmake --build . --parallel "$jobs" >"$work/build.log" 2>&1 || { tail -40 "$work/build.log"; exit 1; }
    cmake --install . >/dev/null
    printf '%q ' "${configure[@]}" > "$qt/configure-line.txt"
    say "Qt for Windows: built in $(( $(date +%s) - start )) s"
fi

# Wine, with a prefix of its own, runs the build's own tool that draws the icon, and the tests.
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq wine wine64 xvfb xdotool imagemagick locales \
    fonts-ipafont-gothic fonts-ipafont-mincho >/dev/null
locale -a | grep -qx 'ja_JP.utf8' || localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
runtime=("$qt/bin" "$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
    "$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")")
export WINEPREFIX="${NMR_WINEPREFIX:-$HOME/.cache/numerisphere/wine}" WINEDEBUG=-all
export WINEPATH="$(printf 'Z:%s;' "${runtime[@]}")"
if [ ! -d "$WINEPREFIX" ]; then
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
    wineserver -w
fi

# The program and its unit tests, cross-built with the toolchain file against that Qt.
say "Numerisphere for Windows: building in build-windows/build"
start=$(date +%s)
export NMR_QT_MINGW="$qt"
cmake -S "$root" -B "$root/build-windows/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_CROSSCOMPILING_EMULATOR=wine >/dev/null
cmake --build "$root/build-windows/build" --parallel "$jobs" >/dev/null
say "Numerisphere for Windows: built in $(( $(date +%s) - start )) s"

# The program's folder as it ships: the libraries it and its plug-ins load, found in Qt's and the
# compiler's folders and followed to the end (the system's own are left to Windows), the
# plug-ins, Qt's Japanese texts for the standard buttons, and the help pages.
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build-windows/build/CMakeCache.txt")"
folder="$root/build-windows/Numerisphere-$version"
say "deploying into ${folder#"$root"/}"
rm -rf "$folder" && mkdir -p "$folder/plugins"/{platforms,sqldrivers,styles,tls} "$folder/translations"
cp "$root/build-windows/build/bin/numerisphere.exe" "$folder/"
cp -r "$root/build-windows/build/bin/nmr-help" "$folder/"
cp "$qt/plugins/platforms/qwindows.dll" "$folder/plugins/platforms/"
cp "$qt/plugins/sqldrivers/qsqlite.dll" "$folder/plugins/sqldrivers/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$folder/plugins/styles/"
cp "$qt/plugins/tls/qschannelbackend.dll" "$folder/plugins/tls/"
cp /usr/share/qt6/translations/qtbase_ja.qm "$folder/translations/"
printf '[Paths]\r\nPrefix = .\r\nPlugins = plugins\r\nTranslations = translations\r\n' > "$folder/qt.conf"
pending=("$folder/numerisphere.exe" "$folder"/plugins/*/*.dll)
while [ ${#pending[@]} -gt 0 ]; do
    module="${pending[0]}" && pending=("${pending[@]:1}")
    for name in $(x86_64-w64-mingw32-objdump -p "$module" | sed -n 's/^\s*DLL Name: //p'); do
        [ -e "$folder/$name" ] && continue
        for place in "${runtime[@]}"; do
            if [ -f "$place/$name" ]; then
                cp "$place/$name" "$folder/" && pending+=("$folder/$name")
                break
            fi
        done
    done
done
find "$folder" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

# The portable zip: the program keeps its files beside itself. The installer: a Start-menu
# entry and an uninstaller; the installed program keeps them in %APPDATA%\Numerisphere.
zip_file="$root/build-windows/Numerisphere-$version-win64.zip"
setup_file="$root/build-windows/Numerisphere-$version-setup.exe"
rm -f "$zip_file" "$setup_file"
(cd "$root/build-windows" && zip -q -r -9 "$zip_file" "Numerisphere-$version")
makensis -V2 -DVERSION="$version" -DSOURCE="$folder" -DOUTFILE="$setup_file" \
    -DICON="$root/build-windows/build/icons/numerisphere.ico" \
    "$root/packaging/windows/numerisphere.nsi" >/dev/null
for file in "$zip_file" "$setup_file"; do
    say "$(basename "$file"): $(( $(stat -c %s "$file") / 1024 )) KiB"
done

# With --test: the unit suites under Wine, then the program from outside under Wine and Xvfb in
# a Japanese locale, from its zip and from its installer.
[ "${1:-}" = --test ] || exit 0
say "unit suites under Wine"
(cd "$root/build-windows/build" && ctest --parallel "$jobs" --output-on-failure)
say "the program under Wine"
linux=()
[ -x "$root/build/bin/numerisphere" ] && linux=("$root/build")
/usr/bin/python3 "$root/tests/e2e/windows.py" "$root/build-windows" "$version" "${linux[@]}"
