; The Windows installer of Korr2LD (NSIS; scripts/make-installer builds it):
; korr2ld-setup-VERSION-ARCH.exe. Defines given by the script:
;   VERSION, ARCH (x64 or x86), BIN (the build's bin folder), ROOT (the
;   source tree, for the README and the licence), OUTFILE.
;
; A per-user install without administrator rights: the programs in
; %LOCALAPPDATA%\Programs\Korr2LD, a Start-menu entry "Korrin File
; Conversion", an entry in the system's list of apps (with its uninstaller)
; and an "Open with" entry for .txt exports that never becomes the default.
; The data system's library folder is asked for (or found from the data
; system's own uninstall entry) and kept in the user's settings; the stand-in
; libraries of the build are never installed, so nothing of ours can shadow
; the data system's own. Removal takes away every file it installed and
; says that the user's settings are kept.
Unicode true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!if ${ARCH} == "x64"
  ; A 64-bit installer for the 64-bit programs (amd64 stub and plug-ins).
  Target amd64-unicode
  !include x64.nsh
!endif

!define PRODUCT "Korrin File Conversion"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Korr2LD"
!define PROGID "Korr2LD.Export"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Korr2LD"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Korr2LD"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Licensed under the Apache License 2.0"

Var DataSystemFolder

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${ROOT}\LICENSE"
!insertmacro MUI_PAGE_DIRECTORY
!define MUI_PAGE_HEADER_TEXT "Data system"
!define MUI_PAGE_HEADER_SUBTEXT "Where are the Lumenda data system's libraries (Ferrox.dll, Ostrel.dll)?"
!define MUI_DIRECTORYPAGE_TEXT_TOP "Korr2LD uses the data system's own record and settings libraries. Choose the folder that holds Ferrox.dll and Ostrel.dll; leave it as found when the data system is installed there."
!define MUI_DIRECTORYPAGE_VARIABLE $DataSystemFolder
!define MUI_DIRECTORYPAGE_VERIFYONLEAVE
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckDataSystemFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetShellVarContext current
  !if ${ARCH} == "x64"
    ${IfNot} ${RunningX64}
      MessageBox MB_OK|MB_ICONSTOP "This is the 64-bit Korr2LD; this Windows needs the 32-bit one (x86)."
      Abort
    ${EndIf}
    SetRegView 64
  !endif
  ; /DATASYSTEM=folder on the command line (a silent install's way), else
  ; the data system's own uninstall entry, else nothing.
  ${GetParameters} $0
  ${GetOptions} $0 "/DATASYSTEM=" $DataSystemFolder
  ${If} $DataSystemFolder == ""
    ReadRegStr $DataSystemFolder HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumenda" "InstallLocation"
  ${EndIf}
FunctionEnd

Function CheckDataSystemFolder
  ${IfNot} ${FileExists} "$DataSystemFolder\Ferrox.dll"
  ${OrIfNot} ${FileExists} "$DataSystemFolder\Ostrel.dll"
    MessageBox MB_YESNO|MB_ICONEXCLAMATION "$DataSystemFolder does not hold both Ferrox.dll and Ostrel.dll. Use it all the same (the programs will say what is missing when they start)?" IDYES +2
    Abort
  ${EndIf}
FunctionEnd

Section "Korr2LD"
  SetOutPath "$INSTDIR"
  File "${BIN}\korr2ld.exe"
  File "${BIN}\korr2ld-cli.exe"
  File "/oname=README.md" "${ROOT}\README.md"
  File "/oname=LICENSE.txt" "${ROOT}\LICENSE"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\korr2ld.exe" "" "$INSTDIR\korr2ld.exe" 0

  ; "Open with" for .txt exports: a program identifier offered beside the
  ; others, never the type's default.
  WriteRegStr HKCU "Software\Classes\${PROGID}" "" "Korrin export"
  WriteRegStr HKCU "Software\Classes\${PROGID}" "FriendlyTypeName" "Korrin export"
  WriteRegStr HKCU "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\korr2ld.exe,0"
  WriteRegStr HKCU "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\korr2ld.exe" "%1"'
  WriteRegStr HKCU "Software\Classes\.txt\OpenWithProgids" "${PROGID}" ""
  WriteRegStr HKCU "Software\Classes\Applications\korr2ld.exe" "FriendlyAppName" "${PRODUCT}"
  WriteRegStr HKCU "Software\Classes\Applications\korr2ld.exe\SupportedTypes" ".txt" ""
  WriteRegStr HKCU "Software\Classes\Applications\korr2ld.exe\shell\open\command" "" '"$INSTDIR\korr2ld.exe" "%1"'

  ; The system's list of apps.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Korr2LD developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\korr2ld.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; The data system's folder, kept in the user's settings as
  ; korr2ld-cli data-system set keeps it.
  ${If} $DataSystemFolder != ""
    ; The settings' folder, which korr2ld-cli does not make itself.
    CreateDirectory "$APPDATA\Korr2LD"
    nsExec::ExecToLog '"$INSTDIR\korr2ld-cli.exe" data-system set "$DataSystemFolder"'
    Pop $0
    ${If} $0 != 0
      DetailPrint "The data system's folder could not be kept: korr2ld-cli ended with $0."
    ${EndIf}
  ${EndIf}
SectionEnd

Function un.onInit
  SetShellVarContext current
  !if ${ARCH} == "x64"
    SetRegView 64
  !endif
FunctionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\korr2ld.exe"
  Delete "$INSTDIR\korr2ld-cli.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "Software\Classes\${PROGID}"
  DeleteRegValue HKCU "Software\Classes\.txt\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKCU "Software\Classes\.txt\OpenWithProgids"
  DeleteRegKey HKCU "Software\Classes\Applications\korr2ld.exe"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${IfNot} ${Silent}
    MessageBox MB_OK|MB_ICONINFORMATION "${PRODUCT} has been removed. Your settings (Korr2LD.INI in $APPDATA\Korr2LD) and conversion log ($LOCALAPPDATA\Korr2LD) are kept; delete those folders to remove them too."
  ${EndIf}
  DetailPrint "Removed; the settings in $APPDATA\Korr2LD and $LOCALAPPDATA\Korr2LD are kept."
SectionEnd
