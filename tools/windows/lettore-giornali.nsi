; The installer of Lettore Giornali for 64-bit Windows. The target `installatore` (Installatore.cmake) stages the
; installed build in a folder, writes the list of its files for the uninstaller and runs
;   makensis -DVERSIONE=0.1 -DVERSIONE_FILE=0.1.0.0 -DCONTENUTO=<staged folder> -DELENCO=<list.nsh>
;            -DUSCITA=<setup.exe> lettore-giornali.nsi
; Only the standard pages of the Modern UI with their default buttons, so that screen readers read every page;
; /S installs (and uninstalls) silently, /D=<folder> chooses the folder.
;
; The uninstaller is disinstalla.exe beside the program: the program takes its presence as the sign of an installed
; copy and then keeps its data in %APPDATA%\lettore-giornali, which the uninstaller leaves alone. It removes only
; the files the installer put there (the list ELENCO), so a folder chosen by mistake, such as C:\Program Files
; itself, never loses anything else.

Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

!macro Richiesto NOME_DEFINE
    !ifndef ${NOME_DEFINE}
        !error "Manca -D${NOME_DEFINE}: vedere l'inizio di lettore-giornali.nsi"
    !endif
!macroend
!insertmacro Richiesto VERSIONE
!insertmacro Richiesto CONTENUTO
!insertmacro Richiesto ELENCO
!insertmacro Richiesto USCITA

!define NOME "Lettore Giornali"
!define PROGRAMMA "lettore-giornali.exe"
!define DISINSTALLATORE "disinstalla.exe"
!define EDITORE "Sviluppatori di Lettore Giornali"
!define CHIAVE "Software\Microsoft\Windows\CurrentVersion\Uninstall\LettoreGiornali"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

Name "${NOME}"
OutFile "${USCITA}"
InstallDir "$PROGRAMFILES64\${NOME}"
; A new version goes where the previous one is.
InstallDirRegKey HKLM "${CHIAVE}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${NOME} ${VERSIONE}"
ShowInstDetails show
ShowUninstDetails show

!ifdef VERSIONE_FILE
    VIProductVersion "${VERSIONE_FILE}"
    VIFileVersion "${VERSIONE_FILE}"
    VIAddVersionKey /LANG=0 "ProductName" "${NOME}"
    VIAddVersionKey /LANG=0 "ProductVersion" "${VERSIONE}"
    VIAddVersionKey /LANG=0 "FileVersion" "${VERSIONE}"
    VIAddVersionKey /LANG=0 "FileDescription" "Installazione di ${NOME}"
    VIAddVersionKey /LANG=0 "CompanyName" "${EDITORE}"
    VIAddVersionKey /LANG=0 "LegalCopyright" "${EDITORE}"
!endif

; Pages: welcome, folder, progress, end (with the choice of starting the program); the uninstaller asks for
; confirmation, then shows its progress and its end.
!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAMMA}"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "Italian"

!macro RichiediAmministratore
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "admin"
        MessageBox MB_OK|MB_ICONSTOP "Per installare o disinstallare ${NOME} servono i diritti di amministratore." /SD IDOK
        SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
        Quit
    ${EndIf}
!macroend

Function .onInit
    SetShellVarContext all
    SetRegView 64
    !insertmacro RichiediAmministratore
FunctionEnd

Function un.onInit
    SetShellVarContext all
    SetRegView 64
    !insertmacro RichiediAmministratore
FunctionEnd

Section "${NOME}"
    SetOutPath "$INSTDIR"
    File /r "${CONTENUTO}/*"
    WriteUninstaller "$INSTDIR\${DISINSTALLATORE}"

    ; The Start menu entry; the working folder is the program's (the current output path).
    SetOutPath "$INSTDIR"
    CreateShortCut "$SMPROGRAMS\${NOME}.lnk" "$INSTDIR\${PROGRAMMA}" "" "$INSTDIR\${PROGRAMMA}" 0 SW_SHOWNORMAL "" \
        "Legge i giornali con la tastiera e la sintesi vocale"

    ; The entry of Settings > Apps (Add or remove programs).
    WriteRegStr HKLM "${CHIAVE}" "DisplayName" "${NOME}"
    WriteRegStr HKLM "${CHIAVE}" "DisplayVersion" "${VERSIONE}"
    WriteRegStr HKLM "${CHIAVE}" "Publisher" "${EDITORE}"
    WriteRegStr HKLM "${CHIAVE}" "DisplayIcon" "$INSTDIR\${PROGRAMMA}"
    WriteRegStr HKLM "${CHIAVE}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${CHIAVE}" "UninstallString" '"$INSTDIR\${DISINSTALLATORE}"'
    WriteRegStr HKLM "${CHIAVE}" "QuietUninstallString" '"$INSTDIR\${DISINSTALLATORE}" /S'
    WriteRegDWORD HKLM "${CHIAVE}" "NoModify" 1
    WriteRegDWORD HKLM "${CHIAVE}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${CHIAVE}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\${NOME}.lnk"
    DeleteRegKey HKLM "${CHIAVE}"

    ; The files the installer put in the folder, then its subfolders and the folder itself when they are empty.
    ; The user's data (%APPDATA%\lettore-giornali) stays where it is.
    !include "${ELENCO}"
    Delete "$INSTDIR\${DISINSTALLATORE}"
    RMDir "$INSTDIR"
    ${If} ${FileExists} "$INSTDIR\*.*"
        DetailPrint "La cartella $INSTDIR contiene altri file: resta al suo posto."
    ${EndIf}
SectionEnd
