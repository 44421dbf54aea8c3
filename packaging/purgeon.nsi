; Purgeon's setup program and uninstaller: per-user by default, machine-wide on request.
;
; Built by packaging/CMakeLists.txt, which passes the version, the program and its icon:
;   makensis -DVERSION=x.y.z -DEXE=purgeon.exe -DICON=purgeon.ico -DOUTFILE=setup.exe purgeon.nsi
;
; Switches of the setup program:
;   /S                 silent
;   /ALLUSERS          for everyone on this computer (Program Files; needs administrator rights)
;   /CURRENTUSER       only for the current user (the default)
;   /STARTWITHWINDOWS  with /S: start Purgeon with Windows, as the finish page's box does
;   /D=folder          install there (last on the command line, without quotes)
; Switches of the uninstaller: /S, silent; it keeps the settings and the log then.
; Exit codes: 0 done, 1 cancelled, 2 aborted, 3 Purgeon was running, 740 administrator rights needed.

Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!macro RequireDefine NAME
  !ifndef ${NAME}
    !error "${NAME} is not defined: pass -D${NAME}=... to makensis"
  !endif
!macroend
!insertmacro RequireDefine VERSION
!insertmacro RequireDefine EXE
!insertmacro RequireDefine ICON
!insertmacro RequireDefine OUTFILE

!define PUBLISHER "Purgeon"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Purgeon"
; The program's own autostart value (its name keeps the leading space of the program's title) and
; the key of its settings, with the preference behind its "Start up with windows" box.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE " Purgeon"
!define PROGRAM_KEY "Software\Purgeon"
!define SETTINGS_KEY "Software\Purgeon\Settings"
; Held by a running Purgeon for as long as it runs.
!define INSTANCE_MUTEX "Local\Purgeon.SingleInstance"
!define SYNCHRONIZE 0x00100000
!define EXIT_RUNNING 3
!define EXIT_ELEVATION_REQUIRED 740

Name "Purgeon"
OutFile "${OUTFILE}"
BrandingText "Purgeon ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Purgeon"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "Purgeon Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) Purgeon"

!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; The icon on the splash screen's blue, 164 x 314 (made from res/purgeon.ico with ImageMagick).
!define MUI_WELCOMEFINISHPAGE_BITMAP "${__FILEDIR__}/wizard.bmp"

Var AllUsers          ; 1: machine-wide
Var ModeChosen        ; 1: /ALLUSERS or /CURRENTUSER was given, the choice page is skipped
Var FolderChosen      ; 1: /D= was given
Var StartWithWindows  ; 1: /STARTWITHWINDOWS was given
Var RadioCurrentUser
Var RadioAllUsers

Page custom ModePage ModePageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Purgeon now"
!define MUI_FINISHPAGE_RUN_FUNCTION LaunchPurgeon
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Start Purgeon with &Windows"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION WriteAutostart
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Purgeon cannot be replaced or removed while it runs: the user closes it, or the work stops
; with EXIT_RUNNING (at once when silent).
!macro DefineEnsureNotRunning PREFIX
Function ${PREFIX}EnsureNotRunning
  retry:
  System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${INSTANCE_MUTEX}") p .r0'
  ${If} $0 P<> 0
    System::Call 'kernel32::CloseHandle(p r0)'
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Purgeon is running. Close it first: click its icon in the notification area and choose Exit.$\r$\n$\r$\nThen click Retry." \
      /SD IDCANCEL IDRETRY retry
    DetailPrint "Purgeon is running: nothing was changed."
    SetErrorLevel ${EXIT_RUNNING}
    Quit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro DefineEnsureNotRunning ""
!insertmacro DefineEnsureNotRunning "un."

; Machine-wide work needs administrator rights. Without them, a silent run stops; otherwise
; Windows is asked to start PROGRAM elevated with ARGUMENTS, and this one ends. $0 is "" when the
; rights are not there and could not be had.
!macro DefineRequireAdmin PREFIX PROGRAM ARGUMENTS
Function ${PREFIX}RequireAdmin
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    Return
  ${EndIf}
  ${If} ${Silent}
    SetErrorLevel ${EXIT_ELEVATION_REQUIRED}
    Quit
  ${EndIf}
  ${GetParameters} $1
  ClearErrors
  ExecShell "runas" "${PROGRAM}" "${ARGUMENTS}"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONEXCLAMATION "Purgeon can be installed or removed for everyone on this computer only with administrator rights."
    StrCpy $0 ""
    Return
  ${EndIf}
  Quit
FunctionEnd
!macroend
!insertmacro DefineRequireAdmin "" "$EXEPATH" "/ALLUSERS $1"
; The uninstaller runs from a copy of itself: the one in the program's folder starts afresh.
!insertmacro DefineRequireAdmin "un." "$INSTDIR\uninstall.exe" ""

; The shell folders, the registry root of the uninstall entry and the default folder follow the
; install mode.
Function ApplyMode
  ${If} $AllUsers == 1
    SetShellVarContext all
    ${If} $FolderChosen != 1
      StrCpy $INSTDIR "$PROGRAMFILES64\Purgeon"
    ${EndIf}
  ${Else}
    SetShellVarContext current
    ${If} $FolderChosen != 1
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Purgeon"
    ${EndIf}
  ${EndIf}
FunctionEnd

Function .onInit
  StrCpy $FolderChosen 0
  ${If} $INSTDIR != ""
    StrCpy $FolderChosen 1
  ${EndIf}
  StrCpy $AllUsers 0
  StrCpy $ModeChosen 0
  StrCpy $StartWithWindows 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/CURRENTUSER" $R1
  ${IfNot} ${Errors}
    StrCpy $ModeChosen 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
    StrCpy $ModeChosen 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/STARTWITHWINDOWS" $R1
  ${IfNot} ${Errors}
    StrCpy $StartWithWindows 1
  ${EndIf}
  ${If} $AllUsers == 1
    Call RequireAdmin
    ${If} $0 == ""
      Abort
    ${EndIf}
  ${EndIf}
  Call ApplyMode
FunctionEnd

Function ModePage
  ${If} $ModeChosen == 1
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Installation type" "Choose who will use Purgeon on this computer."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateRadioButton} 0 0 100% 12u "&Only for me (recommended)"
  Pop $RadioCurrentUser
  ${NSD_CreateLabel} 12u 13u -12u 20u "Installs into your own profile. No administrator rights are needed."
  Pop $0
  ${NSD_CreateRadioButton} 0 40u 100% 12u "&For everyone who uses this computer"
  Pop $RadioAllUsers
  ${NSD_CreateLabel} 12u 53u -12u 20u "Installs into Program Files. Administrator rights are needed."
  Pop $0
  ${If} $AllUsers == 1
    ${NSD_Check} $RadioAllUsers
  ${Else}
    ${NSD_Check} $RadioCurrentUser
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $RadioAllUsers $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $AllUsers 1
    Call RequireAdmin
    ${If} $0 == ""
      StrCpy $AllUsers 0
      Abort
    ${EndIf}
  ${Else}
    StrCpy $AllUsers 0
  ${EndIf}
  Call ApplyMode
FunctionEnd

Function FinishPageShow
  ${If} $StartWithWindows == 1
    ${NSD_Check} $mui.FinishPage.ShowReadme
  ${EndIf}
FunctionEnd

; What the program itself writes when "Start up with windows" is ticked: the Run value with its
; full path in double quotes. The preference goes with it, so that the program keeps the value
; instead of removing it when its window closes.
Function WriteAutostart
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\purgeon.exe"'
  WriteRegStr HKCU "${SETTINGS_KEY}" "autostart" "1"
FunctionEnd

; The finish page starts the program before it handles its second box: autostart comes first, so
; that the program starts with its preference in place.
Function LaunchPurgeon
  ${NSD_GetState} $mui.FinishPage.ShowReadme $0
  ${If} $0 == ${BST_CHECKED}
    Call WriteAutostart
  ${EndIf}
  Exec '"$INSTDIR\purgeon.exe"'
FunctionEnd

Section "Purgeon"
  Call EnsureNotRunning
  SetOutPath "$INSTDIR"
  File "/oname=purgeon.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Purgeon.lnk" "$INSTDIR\purgeon.exe" "" "$INSTDIR\purgeon.exe" 0

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Purgeon"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\purgeon.exe",0'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; The finish page asks when the user sees it; a silent install follows the switch.
  ${If} ${Silent}
  ${AndIf} $StartWithWindows == 1
    Call WriteAutostart
  ${EndIf}
SectionEnd

; A copy installed for everyone has its uninstall entry under HKLM, naming this folder.
Function un.onInit
  StrCpy $AllUsers 0
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    StrCpy $AllUsers 1
    Call un.RequireAdmin
    ${If} $0 == ""
      Abort
    ${EndIf}
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.EnsureNotRunning
  Delete "$INSTDIR\purgeon.exe"
  Delete "$INSTDIR\uninstall.exe"
  ; Only the folder, if nothing else was put into it.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Purgeon.lnk"

  ; The Run value goes when it starts this copy; another copy's value is that copy's.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == '"$INSTDIR\purgeon.exe"'
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}

  ${If} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Remove Purgeon's settings and its log as well?" /SD IDNO IDYES`
    DeleteRegKey HKCU "${PROGRAM_KEY}"
    SetShellVarContext current
    RMDir /r "$LOCALAPPDATA\Purgeon"
    ${If} $AllUsers == 1
      SetShellVarContext all
    ${EndIf}
  ${EndIf}

  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
