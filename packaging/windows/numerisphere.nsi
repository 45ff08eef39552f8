; The Windows installer: the deployed program folder into Program Files, a Start-menu entry and
; an uninstaller. The installed program keeps the user's files in %APPDATA%\Numerisphere, which
; the uninstaller leaves alone.
;   makensis -DVERSION=<version> -DSOURCE=<deployed folder> -DOUTFILE=<installer> -DICON=<icon>
;            numerisphere.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "x64.nsh"

Name "Numerisphere ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Numerisphere"
InstallDirRegKey HKLM "Software\Numerisphere" "InstallDir"
RequestExecutionLevel admin

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Numerisphere"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Section "Numerisphere"
    SetRegView 64
    SetOutPath "$INSTDIR"
    File /r "${SOURCE}\*.*"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    SetShellVarContext all
    CreateShortcut "$SMPROGRAMS\Numerisphere.lnk" "$INSTDIR\numerisphere.exe"
    WriteRegStr HKLM "Software\Numerisphere" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Numerisphere"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Numerisphere"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\numerisphere.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetRegView 64
    SetShellVarContext all
    Delete "$SMPROGRAMS\Numerisphere.lnk"
    ; What the installer put there, by name: never a whole folder the user may have chosen.
    Delete "$INSTDIR\numerisphere.exe"
    Delete "$INSTDIR\*.dll"
    Delete "$INSTDIR\qt.conf"
    RMDir /r "$INSTDIR\plugins"
    RMDir /r "$INSTDIR\translations"
    RMDir /r "$INSTDIR\nmr-help"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "Software\Numerisphere"
SectionEnd
