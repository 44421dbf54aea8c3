; Purgeon's setup program: per-user by default, machine-wide on request. It installs the
; uninstaller built from uninstall.nsi beside the program.
;
; Built by packaging/CMakeLists.txt, which passes the version, the program, the uninstaller and
; the icon:
;   makensis -DVERSION=x.y.z -DEXE=purgeon.exe -DUNINSTALLER=uninstall.exe -DICON=purgeon.ico
;            -DOUTFILE=setup.exe purgeon.nsi
;
; Switches:
;   /S                 silent
;   /ALLUSERS          for everyone on this computer (Program Files; needs administrator rights)
;   /CURRENTUSER       only for the current user (the default)
;   /STARTWITHWINDOWS  with /S: start Purgeon with Windows, as the finish page's box does
;   /D=folder          install there (last on the command line, without quotes)
; Both modes add "Wipe with Purgeon" to the Explorer's menu of files and folders.
; Exit codes: 0 done, 1 cancelled, 2 aborted, 3 Purgeon was running, 740 administrator rights needed.

!include "${__FILEDIR__}/common.nsh"
!insertmacro RequireDefine EXE
!insertmacro RequireDefine UNINSTALLER

VIAddVersionKey /LANG=1033 "FileDescription" "Purgeon Setup"

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

!insertmacro MUI_LANGUAGE "English"

!insertmacro DefineRequireAdmin "/ALLUSERS $1"

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
  File "/oname=uninstall.exe" "${UNINSTALLER}"
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
  ; "Wipe with Purgeon" on files and folders: the program asks first, as its Secure Wipe tab does.
  WriteRegStr SHCTX "${VERB_FILES_KEY}" "" "${VERB_TEXT}"
  WriteRegStr SHCTX "${VERB_FILES_KEY}" "Icon" '"$INSTDIR\purgeon.exe",0'
  WriteRegStr SHCTX "${VERB_FILES_KEY}\command" "" '"$INSTDIR\purgeon.exe" /wipe "%1"'
  WriteRegStr SHCTX "${VERB_FOLDERS_KEY}" "" "${VERB_TEXT}"
  WriteRegStr SHCTX "${VERB_FOLDERS_KEY}" "Icon" '"$INSTDIR\purgeon.exe",0'
  WriteRegStr SHCTX "${VERB_FOLDERS_KEY}\command" "" '"$INSTDIR\purgeon.exe" /wipe "%1"'

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; The finish page asks when the user sees it; a silent install follows the switch.
  ${If} ${Silent}
  ${AndIf} $StartWithWindows == 1
    Call WriteAutostart
  ${EndIf}
SectionEnd
