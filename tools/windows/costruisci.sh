#!/usr/bin/env bash
# Builds Lettore Giornali for 64-bit Windows on Debian 12: installs what is missing (MinGW-w64 with the posix
# thread model, Wine, NSIS), makes the Windows libraries from Debian's own sources into a cache (Qt 6.4.2 qtbase,
# libarchive, gumbo; zlib is Debian's MinGW package), builds the Linux copy whose demo service the Windows tests
# talk to, cross-builds the program, its extraction library, the sample-issue generator and every test into
# build-windows, and writes the installer build-windows/lettore-giornali-<versione>-setup.exe.
#
# The cache is $LETTORE_GIORNALI_WINDOWS_CACHE (~/.cache/lettore-giornali-windows); the prebuilt Qt and libarchive
# of ../shared/windows (or $LETTORE_GIORNALI_WINDOWS_PRONTI) are unpacked there when present, else built.
set -euo pipefail
cd "$(dirname "$0")/../.."
SORGENTI=$PWD
STRUMENTI=$SORGENTI/tools/windows
W=${LETTORE_GIORNALI_WINDOWS_CACHE:-$HOME/.cache/lettore-giornali-windows}
PRONTI=${LETTORE_GIORNALI_WINDOWS_PRONTI:-$SORGENTI/../shared/windows}
LINUX=${LETTORE_GIORNALI_BUILD_LINUX:-$SORGENTI/build}
WINDOWS=${LETTORE_GIORNALI_BUILD_WINDOWS:-$SORGENTI/build-windows}
JOBS=${JOBS:-$(nproc)}
QT=$W/qt6-mingw64
DEPS=$W/mingw64-deps
mkdir -p "$W"

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)

installa_pacchetti() {
    local pacchetti=(mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev
                     wine wine64 nsis xz-utils patch)
    local mancanti=()
    for p in "${pacchetti[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || mancanti+=("$p")
    done
    if [ ${#mancanti[@]} -gt 0 ]; then
        echo "Installazione dei pacchetti mancanti: ${mancanti[*]}"
        "${sudo[@]}" apt-get update -q
        "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${mancanti[@]}"
    fi
}

# A Debian source package into $W/debsrc, through an apt list of our own: the system's apt sources stay as they are.
sorgente_debian() {
    local nome=$1 suite=$2 liste=$W/apt-$2
    mkdir -p "$liste/lists/partial" "$W/debsrc"
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian $suite main" \
        >"$liste/src.list"
    local opzioni=(-o Dir::Etc::sourcelist="$liste/src.list" -o Dir::Etc::sourceparts=- -o Dir::State::Lists="$liste/lists")
    [ -f "$liste/lists/.aggiornate" ] || { apt-get "${opzioni[@]}" update -qq && touch "$liste/lists/.aggiornate"; }
    (cd "$W/debsrc" && apt-get "${opzioni[@]}" source --download-only "$nome") || true
}

costruisci_qt() {
    [ -f "$QT/bin/Qt6Core.dll" ] && return
    if [ -f "$PRONTI/qt6-mingw64-6.4.2.tar.xz" ]; then
        echo "Qt per Windows da $PRONTI"
        tar -C "$W" -xJf "$PRONTI/qt6-mingw64-6.4.2.tar.xz"
        return
    fi
    echo "Costruzione di Qt 6.4.2 per Windows dai sorgenti Debian (circa 20 minuti su 2 core)"
    local src=$W/src/qtbase-everywhere-src-6.4.2
    if [ ! -d "$src" ]; then
        sorgente_debian qt6-base bookworm
        mkdir -p "$W/src" && tar -C "$W/src" -xf "$W"/debsrc/qt6-base_6.4.2+dfsg.orig.tar.xz
        # Debian's tarball leaves out WinTab: the windows plugin is built without it (tablets still work).
        patch -d "$src" -p1 <"$STRUMENTI/qtbase-senza-wintab.patch"
    fi
    cmake -G Ninja -S "$src" -B "$W/build/qtbase" -DCMAKE_TOOLCHAIN_FILE="$STRUMENTI/mingw64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$QT" -DBUILD_SHARED_LIBS=ON \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_vulkan=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF \
        -DFEATURE_xml=OFF -DFEATURE_printsupport=OFF -DFEATURE_direct2d=ON -DFEATURE_icu=OFF \
        -DFEATURE_openssl=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF \
        -DFEATURE_system_jpeg=OFF -DFEATURE_freetype=ON
    cmake --build "$W/build/qtbase" --parallel "$JOBS"
    cmake --install "$W/build/qtbase"
}

# libarchive with Windows' own cryptography (CNG), which password-protected archives with AES need; the prebuilt
# copy of ../shared/windows has none, so it is always built here.
costruisci_libarchive() {
    [ -f "$DEPS/bin/libarchive.dll" ] && [ -f "$DEPS/.cng" ] && return
    local src=$W/src/libarchive-3.6.2
    if [ ! -d "$src" ]; then
        sorgente_debian libarchive bookworm
        mkdir -p "$W/src" && tar -C "$W/src" -xf "$W"/debsrc/libarchive_3.6.2.orig.tar.xz
        tar -C "$src" -xf "$W"/debsrc/libarchive_3.6.2-*.debian.tar.xz
        while read -r p; do
            [ -n "$p" ] && patch -d "$src" -p1 --forward -s <"$src/debian/patches/$p"
        done <"$src/debian/patches/series"
    fi
    local spenti=(OPENSSL MBEDTLS NETTLE LIBB2 LZ4 LZO LZMA ZSTD BZip2 LIBXML2 EXPAT PCREPOSIX ICONV ACL XATTR
                  TAR CPIO CAT TEST)
    local opzioni=()
    for s in "${spenti[@]}"; do opzioni+=("-DENABLE_$s=OFF"); done
    # libarchive asks for "Bcrypt.h" and "-lBcrypt", which MinGW-w64 spells in lower case: on Linux case matters.
    mkdir -p "$W/build/bcrypt" && echo '#include <bcrypt.h>' >"$W/build/bcrypt/Bcrypt.h"
    ln -sf /usr/x86_64-w64-mingw32/lib/libbcrypt.a "$W/build/bcrypt/libBcrypt.a"
    cmake -G Ninja -S "$src" -B "$W/build/libarchive" -DCMAKE_TOOLCHAIN_FILE="$STRUMENTI/mingw64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$DEPS" -DENABLE_ZLIB=ON -DENABLE_CNG=ON "${opzioni[@]}" \
        -DCMAKE_C_FLAGS="-I$W/build/bcrypt" -DCMAKE_SHARED_LINKER_FLAGS="-L$W/build/bcrypt" >/dev/null
    grep -q '^HAVE_BCRYPT_H:INTERNAL=1' "$W/build/libarchive/CMakeCache.txt" ||
        { echo "libarchive: la crittografia di Windows (bcrypt.h) non è stata trovata"; exit 1; }
    cmake --build "$W/build/libarchive" --parallel "$JOBS"
    cmake --install "$W/build/libarchive" >/dev/null
    touch "$DEPS/.cng"
}

# gumbo is plain C99 without dependencies: its sources are compiled straight into a DLL. Bookworm's 0.10.1 tarball
# is missing from the archive's mirror; trixie's 0.13.0 has the same C interface.
costruisci_gumbo() {
    [ -f "$DEPS/bin/libgumbo-1.dll" ] && return
    sorgente_debian gumbo-parser trixie
    rm -rf "$W/src/gumbo" && mkdir -p "$W/src/gumbo" "$W/build/gumbo" "$DEPS"/{bin,lib/pkgconfig,include}
    tar -C "$W/src/gumbo" --strip-components=1 -xf "$W"/debsrc/gumbo-parser_0.13.0+dfsg.orig.tar.xz
    local oggetti=()
    for c in "$W"/src/gumbo/src/*.c; do
        oggetti+=("$W/build/gumbo/$(basename "$c" .c).o")
        x86_64-w64-mingw32-gcc-posix -std=gnu99 -O2 -c "$c" -I"$W/src/gumbo/src" -o "${oggetti[-1]}"
    done
    x86_64-w64-mingw32-gcc-posix -shared -o "$DEPS/bin/libgumbo-1.dll" "${oggetti[@]}" \
        -Wl,--out-implib,"$DEPS/lib/libgumbo.dll.a" -Wl,--export-all-symbols
    cp "$W"/src/gumbo/src/{gumbo.h,tag_enum.h} "$DEPS/include/"
    printf 'prefix=%s\nlibdir=${prefix}/lib\nincludedir=${prefix}/include\nName: gumbo\nDescription: HTML5 parser\nVersion: 0.13.0\nLibs: -L${libdir} -lgumbo\nCflags: -I${includedir}\n' \
        "$DEPS" >"$DEPS/lib/pkgconfig/gumbo.pc"
}

# The tests run under Wine with Italian regional settings, which Wine takes from LC_ALL: the host needs that locale,
# or Wine cannot turn accented Windows file names into Linux ones.
prepara_locale() {
    locale -a 2>/dev/null | grep -qix 'it_IT.utf8' && return
    echo "Generazione della localizzazione it_IT.UTF-8"
    dpkg-query -W -f='${Status}' locales 2>/dev/null | grep -q 'install ok installed' ||
        "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends locales
    "${sudo[@]}" sed -i 's/^# *it_IT.UTF-8 UTF-8/it_IT.UTF-8 UTF-8/' /etc/locale.gen
    "${sudo[@]}" locale-gen
}

# Wine's own folder of settings for the tests and the installer, made once. Only Wine's 64-bit half is used (the
# program, its tests and its installer are 64-bit), so a kernel without 32-bit support runs them too.
prepara_wine() {
    export WINEPREFIX=$W/wine WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINELOADER=/usr/lib/wine/wine64
    [ -e "$WINEPREFIX/system.reg" ] && return
    echo "Preparazione di Wine in $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    /usr/lib/wine/wine64 wineboot -i
    wineserver -w
}

bash tools/dipendenze.sh
installa_pacchetti
prepara_locale
costruisci_qt
costruisci_libarchive
costruisci_gumbo
prepara_wine

# The Linux copy: its demo service serves the Windows tests over loopback.
cmake -S . -B "$LINUX" -G Ninja >/dev/null
cmake --build "$LINUX" --target lettore-giornali-servizio-demo

export GIORNALI_WINDOWS_PREFISSI="$QT;$DEPS" # the toolchain file reads it on the first configure too
"$QT/bin/qt-cmake" -S . -B "$WINDOWS" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$STRUMENTI/mingw64.cmake" -DGIORNALI_WINDOWS_PREFISSI="$QT;$DEPS" \
    -DGIORNALI_WINEPREFIX="$WINEPREFIX" -DGIORNALI_SERVIZIO_DEMO_LINUX="$LINUX/lettore-giornali-servizio-demo"
cmake --build "$WINDOWS" --parallel "$JOBS"
cmake --build "$WINDOWS" --target installatore
