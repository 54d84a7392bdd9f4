; Vindelor's installer: per user, no administrator rights. Everything it writes lies under the
; user's own folders and HKEY_CURRENT_USER. The build (target `installer`) passes
;   VERSION  the version, such as 2.0.0
;   PROGRAM  the Vindelor.exe to install
;   ICON     the program's icon
;   OUTFILE  the installer to write
; Exit codes of silent runs: 0 installed, 2 refused while Vindelor runs, 3 refused on a Windows
; older than Windows 10 version 1903.
Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma
AllowSkipFiles off  ; a file that cannot be written ends the install; it is never skipped

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinVer.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vindelor"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "SOFTWARE\Osmerdane\Vindelor\2.0"
!define INSTANCE_MUTEX "Vindelor20"  ; held by every running Vindelor

Name "Vindelor ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vindelor"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Osmerdane"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Vindelor"
VIAddVersionKey /LANG=0 "CompanyName" "Osmerdane"
VIAddVersionKey /LANG=0 "FileDescription" "Vindelor ${VERSION} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (C) 2026 Osmerdane"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Vindelor.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Vindelor now"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Files in use cannot be replaced or removed, and a running copy would keep its tray icon and
; hotkeys. So both installing and removing wait until the user has closed Vindelor. Silent runs
; end with exit code 2 and change nothing.
!macro REFUSE_WHILE_RUNNING PREFIX
  Function ${PREFIX}RefuseWhileRunning
    retry:
      System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${INSTANCE_MUTEX}") p .r0'
      ${If} $0 P<> 0
        System::Call 'kernel32::CloseHandle(p r0)'
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
          "Vindelor is running. Please close it first: right-click its icon in the notification area and choose $\"Close$\". Then choose Retry." \
          /SD IDCANCEL IDRETRY retry
        SetErrorLevel 2
        Quit
      ${EndIf}
  FunctionEnd
!macroend
!insertmacro REFUSE_WHILE_RUNNING ""
!insertmacro REFUSE_WHILE_RUNNING "un."

Section "Vindelor" SectionProgram
  SectionIn RO
  Call RefuseWhileRunning  ; it may have been started while the pages were shown
  SetOutPath "$INSTDIR"
  File "/oname=Vindelor.exe" "${PROGRAM}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Vindelor.lnk" "$INSTDIR\Vindelor.exe" "" "$INSTDIR\Vindelor.exe" 0
  ; Written by the next section when the user keeps that choice.
  DeleteRegValue HKCU "${RUN_KEY}" "Vindelor"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Vindelor"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Osmerdane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Vindelor.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start Vindelor when I sign in" SectionSignIn
  WriteRegStr HKCU "${RUN_KEY}" "Vindelor" '"$INSTDIR\Vindelor.exe"'
SectionEnd

Function .onInit
  ; The program takes names in any script through UTF-8 as its code page, which Windows offers
  ; since Windows 10 version 1903 (build 18362).
  ${IfNot} ${AtLeastWin10}
  ${OrIfNot} ${AtLeastBuild} 18362
    MessageBox MB_OK|MB_ICONSTOP \
      "Vindelor needs Windows 10 version 1903 or later. This Windows is older: nothing was installed." \
      /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}
  Call RefuseWhileRunning
  ; An update keeps the earlier choice about starting at sign-in.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $1 HKCU "${RUN_KEY}" "Vindelor"
  ${If} $0 != ""
  ${AndIf} $1 == ""
    !insertmacro UnselectSection ${SectionSignIn}
  ${EndIf}
FunctionEnd

Function un.onInit
  Call un.RefuseWhileRunning
FunctionEnd

; A file can stay in use a moment after its program has ended: Vindelor just closed, or the
; uninstaller that started this copy of itself and is still on its way out. Deleting is tried
; again for up to ten seconds.
!macro DELETE_ONCE_FREE FILE
  StrCpy $1 0
  ${Do}
    ClearErrors
    Delete "${FILE}"
    ${IfNot} ${Errors}
      ${ExitDo}
    ${EndIf}
    Sleep 250
    IntOp $1 $1 + 1
  ${LoopUntil} $1 >= 40
!macroend

; Only what the installer wrote, by name: the folder goes only when it is empty.
Section "Uninstall"
  !insertmacro DELETE_ONCE_FREE "$INSTDIR\Vindelor.exe"
  !insertmacro DELETE_ONCE_FREE "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Vindelor.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "Vindelor"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  MessageBox MB_YESNO|MB_ICONQUESTION "Also remove Vindelor's settings?" /SD IDNO IDNO done
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "SOFTWARE\Osmerdane\Vindelor"
    DeleteRegKey /ifempty HKCU "SOFTWARE\Osmerdane"
  done:
SectionEnd
