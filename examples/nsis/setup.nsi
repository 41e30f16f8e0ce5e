; Example NSIS package: installs VELDAR with a database script beside the archiver's
; uninstall.exe, runs the script unattended and hidden, applies the archiver's setup
; silently, and leaves an uninstaller that starts the archiver's own uninstall.
;
; Build with makensis (Debian's package nsis):
;   makensis -DKIT=/path/to/kit -DARCH=x64 -DSERVER=dbhost -DPASSWORD=secret setup.nsi
; KIT is the folder with the files to ship: VELDAR.exe and uninstall.exe of one bitness
; (ARCH x64 for a 64-bit archiver, x86 for a 32-bit one), the script (SCRIPT, by default
; VELDAR.SQL) and Uninstall.lst, which names the files of the installation folder,
; Uninst.exe (this package's uninstaller) among them. SERVER, LOGIN and PASSWORD are
; VELDAR's -S, -U and -P; left out, VELDAR takes the computer's name, "sa" and no password.
; OUTFILE names the package (setup.exe).
;
; Run it silently with "setup.exe /S". Exit codes: 0 installed; 10 + VELDAR's exit code
; when the script failed, and 10 when VELDAR could not be started (nothing of the
; package stays then); NSIS's own 1 (cancelled by the user) and 2 (aborted).

Unicode true
!include LogicLib.nsh

!ifndef KIT
  !error "KIT must name the folder with the files to ship"
!endif
!ifndef ARCH
  !define ARCH x64
!endif
!ifndef SCRIPT
  !define SCRIPT VELDAR.SQL
!endif
!ifndef SERVER
  !define SERVER ""
!endif
!ifndef LOGIN
  !define LOGIN ""
!endif
!ifndef PASSWORD
  !define PASSWORD ""
!endif
!ifndef OUTFILE
  !define OUTFILE setup.exe
!endif

; The archiver's entry in the list of programs, which its setup writes.
!define ARCHIVER_ENTRY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zendra archiver"

Name "Zendra"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
!if ${ARCH} == x64
  InstallDir "$PROGRAMFILES64\Zendra"
!else
  InstallDir "$PROGRAMFILES\Zendra"
!endif

Page directory
Page instfiles
UninstPage instfiles

; The 64-bit programs keep their entries in the 64-bit view of the registry.
!macro UseProgramsRegistryView
  !if ${ARCH} == x64
    SetRegView 64
  !endif
!macroend
Function .onInit
  !insertmacro UseProgramsRegistryView
FunctionEnd
Function un.onInit
  !insertmacro UseProgramsRegistryView
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  File "${KIT}\VELDAR.exe"
  File "${KIT}\uninstall.exe"
  File "${KIT}\${SCRIPT}"
  File "${KIT}\Uninstall.lst"

  ; Any argument makes VELDAR's run unattended: no questions, and it ends by itself.
  ; nsExec starts it hidden and waits for its exit code ("error" if it did not start).
  DetailPrint "Running the database script ${SCRIPT}"
  nsExec::Exec '"$INSTDIR\VELDAR.exe" -S "${SERVER}" -U "${LOGIN}" -P "${PASSWORD}" -F "${SCRIPT}"'
  Pop $0
  ${If} $0 S!= 0
    Call VeldarFailed
  ${EndIf}

  ; The archiver's setup with its stored or default choices, started in the
  ; installation folder (SetOutPath made it the current folder), as its installer does.
  ExecWait '"$INSTDIR\uninstall.exe" /setup /s'

  ; One entry in the list of programs: the archiver's, turned to this uninstaller.
  WriteUninstaller "$INSTDIR\Uninst.exe"
  WriteRegStr HKLM "${ARCHIVER_ENTRY}" "UninstallString" '"$INSTDIR\Uninst.exe"'
SectionEnd

; Says what VELDAR's exit code ($0) means (the codes of veldar/Main/ExitCodes.h), removes
; what the package installed and ends the installation with 10 + that code.
Function VeldarFailed
  ${If} $0 S== error
    StrCpy $1 "VELDAR.exe could not be started."
    StrCpy $0 0
  ${ElseIf} $0 = 1
    StrCpy $1 "The database script failed: a batch, or a program that it starts, ended with an error. VELDAR's error file (C:\ and the script's name with .ERR) says which."
  ${ElseIf} $0 = 2
    StrCpy $1 "VELDAR could not connect to the database server. Check the server, the login and the password."
  ${ElseIf} $0 = 3
    StrCpy $1 "The database installation was cancelled before it ended."
  ${ElseIf} $0 = 4
    StrCpy $1 "VELDAR could not read its script, or could not write its log or error file in C:\."
  ${Else}
    StrCpy $1 "VELDAR ended with the unknown exit code $0."
  ${EndIf}
  DetailPrint "$1"
  MessageBox MB_OK|MB_ICONSTOP "$1" /SD IDOK
  ; The folder is the current one: leave it, so that it can go.
  SetOutPath "$TEMP"
  Delete "$INSTDIR\VELDAR.exe"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$INSTDIR\${SCRIPT}"
  Delete "$INSTDIR\Uninstall.lst"
  RMDir "$INSTDIR"
  IntOp $0 $0 + 10
  SetErrorLevel $0
  Abort "$1"
FunctionEnd

Section Uninstall
  ; The archiver's own uninstall, started as its entry in the list of programs starts it:
  ; it asks the user, removes the archiver's registration and entry and the files that
  ; Uninstall.lst names, this uninstaller among them, and leaves a batch that deletes
  ; uninstall.exe and the folder once it has ended. This process must not keep the
  ; folder as its current one.
  SetOutPath "$TEMP"
  ExecWait '"$INSTDIR\uninstall.exe"'
  ; The uninstall deletes its list last: a list still there means that the user said No
  ; (or that nothing could be done), and everything stays.
  ${If} ${FileExists} "$INSTDIR\Uninstall.lst"
    Abort "Zendra was not removed."
  ${EndIf}
SectionEnd
