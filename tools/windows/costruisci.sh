#!/usr/bin/env bash
# Builds Lettore Giornali for 64-bit Windows on Debian 12: installs what is missing (MinGW-w64 with the posix
# thread model, Wine, NSIS), makes the Windows libraries from Debian's own sources into a cache (Qt 6.4.2 qtbase,
# libarchive, gumbo, LAME, espeak-ng; zlib is Debian's MinGW package), builds the Linux copy whose demo service the Windows tests
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
                     wine wine64 nsis xz-utils patch espeak-ng-data)
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

# Applies a Debian source tree's own patches, in the order of debian/patches/series.
patch_debian() {
    local src=$1 p
    while read -r p; do
        case $p in '' | '#'*) continue ;; esac
        patch -d "$src" -p1 --forward -s <"$src/debian/patches/$p"
    done <"$src/debian/patches/series"
}

# LAME's MP3 encoder with its MP3 decoder (hip_decode*, from mpglib) in the same library, as Debian builds it.
# Debian's patches change configure.in and Makefile.am, which without autotools here could not be turned into
# Makefiles again: configure only writes config.h, and the library's sources are compiled straight into a DLL that
# exports what upstream's include/libmp3lame.sym lists (less lame_init_old, listed there but gone from 3.100).
costruisci_lame() {
    [ -f "$DEPS/bin/libmp3lame-0.dll" ] && return
    echo "Costruzione di LAME 3.100 per Windows dai sorgenti Debian"
    local src=$W/src/lame-3.100 b=$W/build/lame
    if [ ! -d "$src" ]; then
        sorgente_debian lame bookworm
        mkdir -p "$W/src" && tar -C "$W/src" -xf "$W"/debsrc/lame_3.100.orig.tar.gz
        tar -C "$src" -xf "$W"/debsrc/lame_3.100-*.debian.tar.xz
        patch_debian "$src"
    fi
    rm -rf "$b" && mkdir -p "$b" "$DEPS"/{bin,lib/pkgconfig,include/lame}
    (cd "$b" && "$src/configure" --host=x86_64-w64-mingw32 CC=x86_64-w64-mingw32-gcc-posix --disable-frontend \
        --disable-nasm --enable-decoder >configure.log 2>&1) ||
        { echo "LAME: configure non riuscito, vedi $b/configure.log"; exit 1; }
    grep -q '^#define HAVE_MPGLIB 1' "$b/config.h" || { echo "LAME: configure ha escluso il decodificatore"; exit 1; }
    local oggetti=() c
    for c in "$src"/libmp3lame/*.c "$src"/libmp3lame/vector/xmm_quantize_sub.c "$src"/mpglib/*.c; do
        oggetti+=("$b/$(basename "$(dirname "$c")")-$(basename "$c" .c).o")
        x86_64-w64-mingw32-gcc-posix -O2 -DHAVE_CONFIG_H -I"$b" -I"$src/include" -I"$(dirname "$c")" \
            -I"$src/libmp3lame" -I"$src/mpglib" -c "$c" -o "${oggetti[-1]}"
    done
    # Only the symbols the objects define: the list still names functions 3.100 no longer has.
    { echo EXPORTS
      grep -Fxf <(x86_64-w64-mingw32-nm -g --defined-only "${oggetti[@]}" | awk '{print $3}') \
          "$src/include/libmp3lame.sym"; } >"$b/libmp3lame.def"
    x86_64-w64-mingw32-gcc-posix -shared -o "$DEPS/bin/libmp3lame-0.dll" "${oggetti[@]}" "$b/libmp3lame.def" \
        -Wl,--out-implib,"$DEPS/lib/libmp3lame.dll.a"
    cp "$src/include/lame.h" "$DEPS/include/lame/"
    # Debian's record is lame.pc with -I.../include/lame; both spellings of the include work with these.
    local pc
    for pc in mp3lame lame; do
        printf 'prefix=%s\nlibdir=${prefix}/lib\nincludedir=${prefix}/include\nName: lame\nDescription: MP3 encoding library\nVersion: 3.100\nLibs: -L${libdir} -lmp3lame\nCflags: -I${includedir} -I${includedir}/lame\n' \
            "$DEPS" >"$DEPS/lib/pkgconfig/$pc.pc"
    done
}

# eSpeak NG's library for synchronous synthesis only (the program takes the samples through the synth callback):
# no audio output (pcaudiolib), no asynchronous thread, no sonic (so no rates above 450 words a minute), no
# mbrola; the Klatt voices are kept, they are one plain C file. Bookworm's 1.51 tarball is missing from the archive's
# mirror: trixie's 1.52.0, with its patches, has the same interface and reads the same data (phondata version
# 0x014801; Italian from Debian's 1.51 data is sample for sample what 1.52's own data gives). Its sources are
# compiled straight into a DLL, as the Makefile.am lists them; only the functions the headers mark ESPEAK_API or
# ESPEAK_NG_API are exported.
# The voice data cannot be compiled here (the compiler is the library run as a program, which would be a Windows
# one): it is Debian's own espeak-ng-data package, little-endian like Windows, copied into share/espeak-ng-data
# without what belongs to mbrola.
costruisci_espeak() {
    [ -f "$DEPS/bin/libespeak-ng-1.dll" ] && [ -f "$DEPS/share/espeak-ng-data/phondata" ] && return
    echo "Costruzione di eSpeak NG per Windows dai sorgenti Debian"
    local src=$W/src/espeak-ng-1.52.0+dfsg b=$W/build/espeak-ng dati=/usr/lib/x86_64-linux-gnu/espeak-ng-data
    if [ ! -d "$src" ]; then
        sorgente_debian espeak-ng trixie
        mkdir -p "$W/src" && tar -C "$W/src" -xf "$W"/debsrc/espeak-ng_1.52.0+dfsg.orig.tar.gz
        tar -C "$src" -xf "$W"/debsrc/espeak-ng_1.52.0+dfsg-*.debian.tar.xz
        patch_debian "$src"
    fi
    rm -rf "$b" && mkdir -p "$b" "$DEPS"/{bin,lib/pkgconfig,include/espeak-ng,share}
    printf '#define HAVE_MKSTEMP 1\n#define USE_ASYNC 0\n#define USE_KLATT 1\n#define USE_LIBPCAUDIO 0\n#define USE_LIBSONIC 0\n#define USE_MBROLA 0\n#define USE_SPEECHPLAYER 0\n#define PACKAGE_VERSION "1.52.0"\n' \
        >"$b/config.h"
    # MinGW-w64 has no <endian.h>; Windows is little-endian.
    printf '#include <sys/param.h>\n#define le16toh(x) (x)\n#define le32toh(x) (x)\n' >"$b/endian.h"
    local oggetti=() c
    for c in "$src"/src/ucd-tools/src/{case,categories,ctype,proplist,scripts,tostring}.c \
             "$src"/src/libespeak-ng/{common,compiledata,compiledict,dictionary,encoding,error,espeak_api,ieee80}.c \
             "$src"/src/libespeak-ng/{intonation,langopts,mnemonics,numbers,readclause,phoneme,phonemelist}.c \
             "$src"/src/libespeak-ng/{setlengths,soundicon,spect,speech,ssml,synthdata,synthesize,translate}.c \
             "$src"/src/libespeak-ng/{translateword,tr_languages,voices,wavegen,klatt}.c; do
        oggetti+=("$b/$(basename "$c" .c).o")
        # Without PATH_ESPEAK_DATA speech.h's default is no string at all; the program always names the folder.
        # Windows' C library spells strerror_r as strerror_s, with the arguments in another order.
        x86_64-w64-mingw32-gcc-posix -std=c99 -O2 -fno-exceptions -fwrapv -D_DEFAULT_SOURCE \
            -D_POSIX_C_SOURCE=200112L -DLIBESPEAK_NG_EXPORT=1 -DPATH_ESPEAK_DATA='"espeak-ng-data"' \
            -D'strerror_r(e,b,n)=strerror_s(b,n,e)' -I"$b" -I"$src/src/include" -I"$src/src/ucd-tools/src/include" \
            -I"$src/src/libespeak-ng" -c "$c" -o "${oggetti[-1]}"
    done
    x86_64-w64-mingw32-gcc-posix -shared -o "$DEPS/bin/libespeak-ng-1.dll" "${oggetti[@]}" \
        -Wl,--out-implib,"$DEPS/lib/libespeak-ng.dll.a"
    cp "$src"/src/include/espeak-ng/{speak_lib,espeak_ng,encoding}.h "$DEPS/include/espeak-ng/"
    printf 'prefix=%s\nlibdir=${prefix}/lib\nincludedir=${prefix}/include\nName: eSpeak NG\nDescription: multi-lingual software speech synthesizer\nVersion: 1.52.0\nLibs: -L${libdir} -lespeak-ng\nCflags: -I${includedir}\n' \
        "$DEPS" >"$DEPS/lib/pkgconfig/espeak-ng.pc"
    [ -f "$dati/phondata" ] || { echo "eSpeak NG: manca $dati (pacchetto espeak-ng-data)"; exit 1; }
    rm -rf "$DEPS/share/espeak-ng-data" && cp -r "$dati" "$DEPS/share/espeak-ng-data"
    rm -rf "$DEPS"/share/espeak-ng-data/{mbrola_ph,voices/mb,phondata-manifest}
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
costruisci_lame
costruisci_espeak
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
