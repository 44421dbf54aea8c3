; Purgeon's uninstaller, uninstall.exe in the program's folder; the setup program installs it.
;
; Built by packaging/CMakeLists.txt before the setup program:
;   makensis -DVERSION=x.y.z -DICON=purgeon.ico -DOUTFILE=uninstall.exe uninstall.nsi
;
; It is an ordinary NSIS program, not one written by WriteUninstaller: such an uninstaller starts a
; copy of itself from the temporary folder and ends at once with 0, so whoever started it never
; learns how the removal went. This one does the work itself, in place, and ends with its outcome.
; Only its own file, which no running program can delete, and then the emptied folder go a moment
; after it has ended: a copy of it in the temporary folder removes them (/REMOVEFOLDER=).
;
; Switches: /S, silent; it keeps the settings and the log then.
; Exit codes: 0 done, 1 cancelled, 2 aborted, 3 Purgeon is running (nothing was removed),
; 740 administrator rights needed (a copy installed for everyone, /S from an ordinary account).

!include "${__FILEDIR__}/common.nsh"

Caption "Purgeon Uninstall"
VIAddVersionKey /LANG=1033 "FileDescription" "Purgeon Uninstall"
InstallButtonText "&Uninstall"
CompletedText "Completed"

Var AllUsers          ; 1: the copy in this folder was installed for everyone

!define MUI_ABORTWARNING
!define MUI_ABORTWARNING_TEXT "Are you sure you want to quit Purgeon Uninstall?"
; The pages' own part of the window's caption is a blank, as on MUI's pages.
PageEx custom
  PageCallbacks ConfirmPage
  Caption " "
PageExEnd
!define MUI_PAGE_HEADER_TEXT "Uninstalling"
!define MUI_PAGE_HEADER_SUBTEXT "Please wait while Purgeon is being uninstalled."
!define MUI_INSTFILESPAGE_FINISHHEADER_TEXT "Uninstallation Complete"
!define MUI_INSTFILESPAGE_FINISHHEADER_SUBTEXT "Uninstall was completed successfully."
!define MUI_INSTFILESPAGE_ABORTHEADER_TEXT "Uninstallation Aborted"
!define MUI_INSTFILESPAGE_ABORTHEADER_SUBTEXT "Uninstall was not completed successfully."
!insertmacro MUI_PAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

!insertmacro DefineRequireAdmin "$1"

; The folder is the one this program is in. A copy installed for everyone has its uninstall entry
; under HKLM, naming this folder.
Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVEFOLDER=" $R1
  ${IfNot} ${Errors}
    ${If} $R1 != ""
      Call RemoveFolder
    ${EndIf}
    Quit
  ${EndIf}

  StrCpy $INSTDIR $EXEDIR
  Call EnsureNotRunning
  StrCpy $AllUsers 0
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    StrCpy $AllUsers 1
    Call RequireAdmin
    ${If} $0 == ""
      Abort
    ${EndIf}
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

Function ConfirmPage
  !insertmacro MUI_HEADER_TEXT "Uninstall Purgeon" "Remove Purgeon from your computer."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 24u "Purgeon will be uninstalled from the following folder. Click Uninstall to start the uninstallation."
  Pop $0
  ${NSD_CreateLabel} 0 40u 20% 12u "Uninstalling from:"
  Pop $0
  ${NSD_CreateText} 20% 38u 80% 12u "$INSTDIR"
  Pop $0
  SendMessage $0 ${EM_SETREADONLY} 1 0
  nsDialogs::Show
FunctionEnd

; The uninstaller's file in the folder $R1 is free once that uninstaller has ended: this copy, in
; the temporary folder, removes it then, and the folder if nothing else is in it. After a minute it
; gives up and marks both for deletion at the next restart, as it marks its own file (Windows
; honours that only for a program with administrator rights).
Function RemoveFolder
  SetOutPath "$TEMP"
  StrCpy $0 0
  ${Do}
    Delete "$R1\uninstall.exe"
    ${IfNot} ${FileExists} "$R1\uninstall.exe"
      RMDir "$R1"
      ${ExitDo}
    ${EndIf}
    IntOp $0 $0 + 1
    ${If} $0 >= 600
      Delete /REBOOTOK "$R1\uninstall.exe"
      RMDir /REBOOTOK "$R1"
      ${ExitDo}
    ${EndIf}
    Sleep 100
  ${Loop}
  Delete /REBOOTOK "$EXEPATH"
  RMDir /REBOOTOK "$EXEDIR"
FunctionEnd

; Hands this program's own file and the folder to a copy of it that outlives it.
Function HandOverFolder
  GetTempFileName $0
  Delete $0
  ClearErrors
  CreateDirectory $0
  CopyFiles /SILENT "$EXEPATH" "$0\uninstall.exe"
  ${IfNot} ${Errors}
    Exec '"$0\uninstall.exe" /S /REMOVEFOLDER="$INSTDIR"'
  ${EndIf}
  ${If} ${Errors}
    Delete /REBOOTOK "$EXEPATH"
    RMDir /REBOOTOK "$INSTDIR"
  ${EndIf}
FunctionEnd

Section "Remove"
  Call EnsureNotRunning
  ; The folder must not stay this program's current folder: it could not be removed.
  SetOutPath "$TEMP"
  ; Purgeon held open by someone else (another user's session) cannot go: nothing else goes either.
  ${If} ${FileExists} "$INSTDIR\purgeon.exe"
    ClearErrors
    Delete "$INSTDIR\purgeon.exe"
    ${If} ${Errors}
      MessageBox MB_OK|MB_ICONEXCLAMATION "$INSTDIR\purgeon.exe is in use: nothing was removed." /SD IDOK
      DetailPrint "purgeon.exe is in use: nothing was removed."
      SetErrorLevel ${EXIT_RUNNING}
      Quit
    ${EndIf}
  ${EndIf}
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

  ; The Explorer's verb goes when it starts this copy.
  ReadRegStr $0 SHCTX "${VERB_FILES_KEY}\command" ""
  ${If} $0 == '"$INSTDIR\purgeon.exe" /wipe "%1"'
    DeleteRegKey SHCTX "${VERB_FILES_KEY}"
    DeleteRegKey SHCTX "${VERB_FOLDERS_KEY}"
  ${EndIf}

  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  Call HandOverFolder
SectionEnd
