; The Windows installer of navcal, in Russian and English: navcal.scr where
; Windows lists screen savers, the user's data folder, navcal made the
; current screen saver, Start menu entries that write the year out and put
; it on the desktop, and an uninstaller in Apps & Features.
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0 -DSCR=path\navcal.scr -DOUTFILE=setup.exe navcal.nsi

Unicode true
; A 64-bit installer: $SYSDIR is the real System32, where a 64-bit .scr belongs.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\navcal"
!define DESKTOP_KEY "Control Panel\Desktop"
; The Start menu's entries that write the year out into the user's Documents
; folder and open it there ("--open" in place of a file).
!define MENU_FOLDER "$SMPROGRAMS\Военно-морской календарь"
!define MENU_ICS "Праздники — в календарь (.ics).lnk"
!define MENU_PDF "Календарь на год (PDF).lnk"
; And the two that put today's calendar on the desktop and take it away.
!define MENU_ON "Календарь — на рабочий стол.lnk"
!define MENU_OFF "Убрать с рабочего стола.lnk"

Name "Военно-морской календарь"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\navcal"
BrandingText "navcal ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=0 "ProductName" "Военно-морской календарь"
VIAddVersionKey /LANG=0 "FileDescription" "Военно-морской календарь: установка"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "© 2026 navcal developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_TEXT "$(FinishText)"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(OpenFolder)"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenDataFolder

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Russian"
!insertmacro MUI_LANGUAGE "English"

LangString FinishText ${LANG_RUSSIAN} "Хранитель экрана «Военно-морской календарь» установлен и выбран.$\r$\n$\r$\nСвою картинку (1.jpg), музыку (muzz.mid, muzz.mp3 или muzz.wav) и свои праздники (holidays.txt) положите в папку$\r$\n$LOCALAPPDATA\navcal"
LangString FinishText ${LANG_ENGLISH} "The «Военно-морской календарь» screen saver is installed and chosen.$\r$\n$\r$\nPut your own picture (1.jpg), music (muzz.mid, muzz.mp3 or muzz.wav) and holidays (holidays.txt) into the folder$\r$\n$LOCALAPPDATA\navcal"
LangString OpenFolder ${LANG_RUSSIAN} "Открыть эту папку"
LangString OpenFolder ${LANG_ENGLISH} "Open that folder"

Function .onInit
    !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Function OpenDataFolder
    ExecShell "open" "$LOCALAPPDATA\navcal"
FunctionEnd

Section "navcal"
    SetShellVarContext current
    SetOutPath "$SYSDIR"
    File "/oname=navcal.scr" "${SCR}"
    CreateDirectory "$LOCALAPPDATA\navcal"

    ; The current screen saver, as the settings dialog would make it. The
    ; switch's earlier state is kept for the uninstaller to put back.
    ClearErrors
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${IfNot} ${Errors}
        WriteRegStr HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActive" "$0"
    ${EndIf}
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\navcal.scr"
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
    ; SPI_SETSCREENSAVEACTIVE, told to every window: the change holds at once.
    System::Call "user32::SystemParametersInfoW(i 17, i 1, p 0, i 2)"

    CreateDirectory "${MENU_FOLDER}"
    CreateShortCut "${MENU_FOLDER}\${MENU_ICS}" "$SYSDIR\navcal.scr" "--ics --open" "$SYSDIR\navcal.scr" 0
    CreateShortCut "${MENU_FOLDER}\${MENU_PDF}" "$SYSDIR\navcal.scr" "--pdf --open" "$SYSDIR\navcal.scr" 0
    CreateShortCut "${MENU_FOLDER}\${MENU_ON}" "$SYSDIR\navcal.scr" "--wallpaper" "$SYSDIR\navcal.scr" 0
    CreateShortCut "${MENU_FOLDER}\${MENU_OFF}" "$SYSDIR\navcal.scr" "--wallpaper off" "$SYSDIR\navcal.scr" 0

    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Военно-морской календарь"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\navcal.scr,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    ; The user's desktop gets its own background back, and the daily task and
    ; the pictures go, while the program is still there to do it.
    ExecWait '"$SYSDIR\navcal.scr" --wallpaper off'
    ; Still the current screen saver: no saver rather than a missing file.
    ; The settings dialog may have written the path in any letter case or in
    ; its short form, so the file name decides.
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    StrCpy $1 $0 "" -11
    ${If} $1 == "\navcal.scr"
        DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        ClearErrors
        ReadRegStr $2 HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
        ${If} ${Errors}
            DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
        ${Else}
            WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "$2"
        ${EndIf}
        System::Call "user32::SystemParametersInfoW(i 17, i 0, p 0, i 2)"
    ${EndIf}
    Delete "$SYSDIR\navcal.scr"
    Delete "${MENU_FOLDER}\${MENU_ICS}"
    Delete "${MENU_FOLDER}\${MENU_PDF}"
    Delete "${MENU_FOLDER}\${MENU_ON}"
    Delete "${MENU_FOLDER}\${MENU_OFF}"
    RMDir "${MENU_FOLDER}"
    ; Only when empty: the user's own pictures and music stay.
    RMDir "$LOCALAPPDATA\navcal"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
