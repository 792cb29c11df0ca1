#!/usr/bin/env bash
# Tries the Windows installer under Wine (64-bit only): a silent installation, the installed copy run by itself
# with --verifica, a silent uninstallation that removes the program, its Start menu entry and its Add/Remove
# Programs entry and leaves the user's data alone.
#
#   prova-installatore.sh SETUP.exe WINEPREFIX
#
# WINEPREFIX is a Wine prefix of the test's own: it is made when missing, and made again when a previous run left
# it dirty (only if this script made it). Each step has a time limit; a failure says which step failed.
set -uo pipefail

setup=${1:?uso: prova-installatore.sh SETUP.exe WINEPREFIX}
prefisso=${2:?uso: prova-installatore.sh SETUP.exe WINEPREFIX}
wine=${GIORNALI_WINE64:-/usr/lib/wine/wine64}
wineserver=${GIORNALI_WINESERVER:-wineserver}
limite=${GIORNALI_LIMITE_PASSO:-120}

nome="Lettore Giornali"
cartella_win="C:\\Program Files\\$nome"
chiave='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\LettoreGiornali'
marca_creato=.creato-da-prova-installatore
marca_in_corso=.prova-installatore-in-corso

fallito() {
    echo "FALLITO: $*" >&2
    "$wineserver" -k >/dev/null 2>&1
    exit 1
}
passo() { echo "== $*"; }

# Only the installed files: no search path, no plugin path, no platform from the caller's environment.
while read -r variabile; do unset "$variabile"; done < <(compgen -e | grep -E '^(WINEQT_|QT_)')
unset WINEPATH
export WINEPREFIX=$prefisso WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

[ -f "$setup" ] || fallito "l'installatore $setup non esiste (cmake --build <build> --target installatore)"
[ -x "$wine" ] || fallito "$wine non trovato (pacchetto wine64)"
setup=$(realpath "$setup")

# Runs a Windows program with a time limit; its output goes to stdout.
esegui() {
    timeout "$limite" "$wine" "$@"
}
attendi_wine() {
    timeout "$limite" "$wineserver" -w || fallito "i processi di Wine non sono terminati entro $limite s"
}

# --- The prefix -------------------------------------------------------------------------------------------------
programmi_unix="$prefisso/drive_c/Program Files/$nome"
if [ -e "$prefisso/$marca_in_corso" ] || [ -e "$programmi_unix" ]; then
    [ -e "$prefisso/$marca_creato" ] ||
        fallito "il prefisso $prefisso contiene già $nome ma non è stato creato da questa prova: usarne un altro"
    passo "Prefisso sporco da una prova precedente: lo ricreo"
    "$wineserver" -k >/dev/null 2>&1
    rm -rf -- "$prefisso"
fi
if [ ! -e "$prefisso/system.reg" ]; then
    passo "Creazione del prefisso Wine $prefisso"
    [ -e "$prefisso" ] && [ -n "$(ls -A "$prefisso")" ] && fallito "$prefisso esiste, non è vuoto e non è un prefisso Wine"
    mkdir -p "$prefisso" && touch "$prefisso/$marca_creato"
    esegui wineboot -i >/dev/null 2>&1 || fallito "wineboot -i non ha creato il prefisso $prefisso"
    attendi_wine
fi
touch "$prefisso/$marca_in_corso"

# Where the user's data and the shared Start menu are, as Wine names them.
cartella_unix() {
    local win
    win=$(esegui cmd.exe /c echo "%$1%" | tr -d '\r') || fallito "cmd.exe non risponde (%$1%)"
    esegui winepath.exe -u "$win" | tr -d '\r'
}
appdata=$(cartella_unix APPDATA)
programdata=$(cartella_unix ProgramData)
[ -d "$appdata" ] || fallito "la cartella APPDATA di Wine non esiste: '$appdata'"
dati="$appdata/lettore-giornali"
collegamento="$programdata/Microsoft/Windows/Start Menu/Programs/$nome.lnk"
rm -rf -- "$dati"

# --- Installation -----------------------------------------------------------------------------------------------
passo "Installazione silenziosa: $setup /S"
esegui "$setup" /S
codice=$?
attendi_wine
[ $codice -eq 0 ] || fallito "l'installatore è uscito con il codice $codice"
for file in lettore-giornali.exe lettore-giornali-genera-giornale.exe unzip32.dll disinstalla.exe qt.conf \
            Qt6Core.dll Qt6Widgets.dll platforms/qwindows.dll styles/qwindowsvistastyle.dll; do
    [ -f "$programmi_unix/$file" ] || fallito "manca $cartella_win\\${file//\//\\} dopo l'installazione"
done
echo "installati: $(cd "$programmi_unix" && find . -type f | wc -l) file in $cartella_win"
[ -f "$collegamento" ] || fallito "manca il collegamento del menu Start: $collegamento"

voce_registro() {
    esegui reg.exe query "$chiave" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}
[ "$(voce_registro DisplayName)" = "$nome" ] || fallito "Installazione applicazioni: DisplayName non è '$nome'"
[ -n "$(voce_registro DisplayVersion)" ] || fallito "Installazione applicazioni: manca DisplayVersion"
[ "$(voce_registro InstallLocation)" = "$cartella_win" ] ||
    fallito "Installazione applicazioni: InstallLocation è '$(voce_registro InstallLocation)'"
[ "$(voce_registro QuietUninstallString)" = "\"$cartella_win\\disinstalla.exe\" /S" ] ||
    fallito "Installazione applicazioni: QuietUninstallString è '$(voce_registro QuietUninstallString)'"
echo "registro: $chiave DisplayName=$(voce_registro DisplayName) DisplayVersion=$(voce_registro DisplayVersion)"

# --- The installed copy, by itself ------------------------------------------------------------------------------
passo "Avvio della copia installata: lettore-giornali.exe --verifica"
uscita=$(esegui "$cartella_win\\lettore-giornali.exe" --verifica 2>&1 | tr -d '\r')
codice=$? # pipefail: the status of wine, tr never fails
[ -n "$uscita" ] && printf '%s\n' "$uscita" | sed 's/^/  | /'
[ "$codice" -eq 0 ] || fallito "lettore-giornali.exe --verifica è uscito con il codice $codice"
if [ -n "$uscita" ]; then
    libreria=$(printf '%s\n' "$uscita" | sed -n 's/^Libreria di decompressione: \(.*\.dll\).*/\1/Ip')
    cartella=$(printf '%s\n' "$uscita" | sed -n 's/^Cartella del programma: //p')
    [[ "${libreria,,}" == "${cartella_win,,}\\unzip32.dll" || "${libreria,,}" == "${cartella_win//\\//}/unzip32.dll" ]] ||
        fallito "la libreria di decompressione non è quella installata: '$libreria'"
    [[ "${cartella,,}" == *'\appdata\roaming\lettore-giornali' ]] ||
        fallito "la cartella del programma non è in AppData\\Roaming\\lettore-giornali: '$cartella'"
else
    echo "  (nessun output da lettore-giornali.exe: si controllano solo il codice di uscita e i file)"
fi
# --verifica makes the program folder as a start would: the data of an installed copy go to the user's AppData.
[ -d "$dati/Giornali" ] || fallito "--verifica non ha creato la cartella dei dati $dati/Giornali"
[ ! -e "$programmi_unix/Giornali" ] || fallito "la copia installata ha scritto i dati nella cartella del programma"

# The window: Qt finds its platform plugin and style in the installed folder (through qt.conf) and the program
# reaches its event loop. The plugin is chosen by name only; it is still running when the time limit ends it.
avvia_finestra() { # descrizione, plugin, comando che precede wine...
    local descrizione=$1 plugin=$2
    shift 2
    passo "Avvio della finestra ($descrizione)"
    "$wineserver" -k >/dev/null 2>&1
    "$wineserver" -w
    uscita=$("$@" env WINEQT_FORCE_STDERR_LOGGING=1 WINEQT_DEBUG_PLUGINS=1 \
             timeout 8 "$wine" "$cartella_win\\lettore-giornali.exe" 2>&1 | tr -d '\r')
    codice=$? # pipefail: the status of wine, tr never fails
    "$wineserver" -k >/dev/null 2>&1
    "$wineserver" -w
    local caricati
    caricati=$(printf '%s\n' "$uscita" | grep -i 'loaded library' | sed 's/^/  | /')
    printf '%s\n' "$caricati"
    [ "$codice" -eq 124 ] || {
        printf '%s\n' "$uscita" | tail -20 | sed 's/^/  | /'
        fallito "lettore-giornali.exe ($descrizione) è terminato da solo con il codice $codice invece di restare aperto"
    }
    grep -qiF "${cartella_win//\\//}/platforms/$plugin\" loaded library" <<<"$caricati" ||
        fallito "lettore-giornali.exe ($descrizione) non ha caricato platforms/$plugin dalla cartella installata"
}
avvia_finestra "piattaforma offscreen" qoffscreen.dll \
    env WINEQT_QPA_PLATFORM=offscreen WINEQT_QPA_FONTDIR=Z:/usr/share/fonts/truetype/dejavu
if command -v xvfb-run >/dev/null; then
    avvia_finestra "piattaforma windows in Xvfb" qwindows.dll xvfb-run -a -s "-screen 0 1280x1024x24"
    grep -qiF "${cartella_win//\\//}/styles/qwindowsvistastyle.dll\" loaded library" <<<"$uscita" ||
        fallito "lettore-giornali.exe non ha caricato styles/qwindowsvistastyle.dll dalla cartella installata"
else
    echo "  (xvfb-run non c'è: la piattaforma windows non è provata)"
fi

# --- Uninstallation ---------------------------------------------------------------------------------------------
echo "dati dell'utente" >"$dati/prova-dati-utente.txt"
passo "Disinstallazione silenziosa: disinstalla.exe /S"
# The uninstaller copies itself into the temporary folder, starts the copy and ends at once: wineserver -w waits
# for the copy as well (the prefix is the test's own).
esegui "$cartella_win\\disinstalla.exe" /S
codice=$?
attendi_wine
[ $codice -eq 0 ] || fallito "disinstalla.exe è uscito con il codice $codice"
if [ -e "$programmi_unix" ]; then
    rimasti=$(cd "$programmi_unix" && find . -mindepth 1 | head -20 | tr '\n' ' ')
    fallito "la cartella $cartella_win esiste ancora dopo la disinstallazione (contiene: ${rimasti:-niente})"
fi
[ ! -e "$collegamento" ] || fallito "il collegamento del menu Start esiste ancora: $collegamento"
esegui reg.exe query "$chiave" >/dev/null 2>&1 && fallito "la chiave $chiave esiste ancora dopo la disinstallazione"
[ -f "$dati/prova-dati-utente.txt" ] || fallito "la disinstallazione ha cancellato i dati dell'utente in $dati"
[ -d "$dati/Giornali" ] || fallito "la disinstallazione ha cancellato la cartella $dati/Giornali"
echo "dati dell'utente conservati: $dati"

# The prefix goes back as it was, ready for the next run.
rm -rf -- "$dati"
rm -f -- "$prefisso/$marca_in_corso"
attendi_wine
echo "RIUSCITO: installazione, avvio e disinstallazione di $(basename "$setup")"
