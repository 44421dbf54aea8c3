; What the setup program (purgeon.nsi) and the uninstaller (uninstall.nsi) share: the names they
; agree on, the version resource, and the checks both make before they change anything.
;
; Both are built as ordinary NSIS programs, the uninstaller too: it runs its own code from the
; first moment, so what it finds (Purgeon running, no rights) is its exit code, seen by whoever
; started it.

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
; The Explorer's "Wipe with Purgeon" for files and for folders (under HKCU or HKLM, as installed).
!define VERB_FILES_KEY "Software\Classes\*\shell\Purgeon.Wipe"
!define VERB_FOLDERS_KEY "Software\Classes\Directory\shell\Purgeon.Wipe"
!define VERB_TEXT "Wipe with Purgeon"
; Held by a running Purgeon for as long as it runs.
!define INSTANCE_MUTEX "Local\Purgeon.SingleInstance"
!define SYNCHRONIZE 0x00100000
!define EXIT_RUNNING 3
!define EXIT_ELEVATION_REQUIRED 740

Name "Purgeon"
OutFile "${OUTFILE}"
BrandingText "Purgeon ${VERSION}"
ShowInstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Purgeon"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) Purgeon"

!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"

; Purgeon cannot be replaced or removed while it runs: the user closes it, or the work stops
; with EXIT_RUNNING (at once when silent).
Function EnsureNotRunning
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

; Machine-wide work needs administrator rights. Without them, a silent run stops; otherwise
; Windows is asked to start this program again elevated, with its own switches and ARGUMENTS, and
; this one ends. $0 is "" when the rights are not there and could not be had.
!macro DefineRequireAdmin ARGUMENTS
Function RequireAdmin
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
  ExecShell "runas" "$EXEPATH" "${ARGUMENTS}"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONEXCLAMATION "Purgeon can be installed or removed for everyone on this computer only with administrator rights."
    StrCpy $0 ""
    Return
  ${EndIf}
  Quit
FunctionEnd
!macroend
