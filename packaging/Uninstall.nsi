; The uninstaller, uninstall.exe, made by the build before the setup program that installs it.
; Removes what the setup installed and nothing else: history.db and every manifest stay unless the
; user asks for the manifests the history lists to be removed.
;
; Started as documented (uninstall.exe, /S for a silent one) it returns only when it is done, with
; the exit code of the removal: it copies itself to a temporary folder, runs the copy on its own
; folder (/REMOVE=<its process id> /D=<folder>) and waits for it. The copy removes everything but
; uninstall.exe itself, whose file cannot be deleted while it runs: that is left to a third run of
; the copy (/FINISH=<process id> /D=<folder>), which waits for the started uninstall.exe to end,
; then deletes it and the folder when empty. The copy's own file goes at the next start of Windows.
; /KEEP_UNINSTALLER leaves uninstall.exe and its folder to the caller: the setup that removes an
; earlier installation before it installs, maybe into the same folder, deletes them itself.

!include "Product.nsh"

Name "${PRODUCT}"
Caption "${PRODUCT} Uninstall"
OutFile "${XPV_OUTFILE}"

!define MUI_INSTFILESPAGE_FINISHHEADER_TEXT "Uninstallation Complete"
!define MUI_INSTFILESPAGE_FINISHHEADER_SUBTEXT "${PRODUCT} was removed."
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro VersionInformation "${PRODUCT} ${XPV_ARCH} uninstaller"

; The process id of the started uninstall.exe, in the copy.
Var StartedUninstaller
; "/KEEP_UNINSTALLER " when the caller deletes uninstall.exe and its folder itself, else empty.
Var KeepUninstaller

Function .onInit
    SetShellVarContext all
    ${GetParameters} $0
    StrCpy $KeepUninstaller ""
    ClearErrors
    ${GetOptions} $0 "/KEEP_UNINSTALLER" $1
    ${IfNot} ${Errors}
        StrCpy $KeepUninstaller "/KEEP_UNINSTALLER "
    ${EndIf}
    ClearErrors
    ${GetOptions} $0 "/FINISH=" $StartedUninstaller
    ${IfNot} ${Errors}
        Call FinishAfterStartedUninstaller
    ${EndIf}
    ClearErrors
    ${GetOptions} $0 "/REMOVE=" $StartedUninstaller
    ${If} ${Errors}
        Call RemoveFromCopy
    ${EndIf}
    Call RefuseWithoutAdministrator
    ${IfNot} ${Silent}
    ${AndIfNot} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION "Remove ${PRODUCT} from $INSTDIR?" IDYES`
        SetErrorLevel 1
        Quit
    ${EndIf}
FunctionEnd

; The uninstall.exe that was started: runs its copy on this folder, waits, and ends with its code.
Function RemoveFromCopy
    InitPluginsDir
    ClearErrors
    CopyFiles /SILENT "$EXEPATH" "$PLUGINSDIR\${UNINSTALLER}"
    StrCpy $1 ""
    ${If} ${Silent}
        StrCpy $1 "/S "
    ${EndIf}
    System::Call 'kernel32::GetCurrentProcessId() i .r2'
    ${IfNot} ${Errors}
        ExecWait '"$PLUGINSDIR\${UNINSTALLER}" $1$KeepUninstaller/REMOVE=$2 /D=$EXEDIR' $0
    ${EndIf}
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "The uninstaller could not run from the temporary folder \
            $PLUGINSDIR. Nothing was removed." /SD IDOK
        SetErrorLevel ${EXIT_CANNOT_WRITE}
        Quit
    ${EndIf}
    SetErrorLevel $0
    Quit
FunctionEnd

; The console program removes, by the window's own rule, the manifest of every history entry.
; Without it there is nothing to offer.
Function OfferToRemoveManifests
    ${IfNot} ${FileExists} "$INSTDIR\${CONSOLE_PROGRAM}"
        Return
    ${EndIf}
    ${IfNot} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Also remove the XP look from the \
            programs that ${PRODUCT} themed?$\r$\n$\r$\nYes removes the manifests that its history lists. No \
            leaves them, and those programs keep their look." /SD IDNO IDYES`
        Return
    ${EndIf}
    nsExec::ExecToLog '"$INSTDIR\${CONSOLE_PROGRAM}" untheme --from-history'
    Pop $0
    ${If} $0 != 0
        MessageBox MB_OK|MB_ICONEXCLAMATION "Not every manifest could be removed (the lines above say \
            which). Those programs keep their look; their manifests stay beside them." /SD IDOK
    ${EndIf}
FunctionEnd

!macro RemoveFile NAME
    Delete "$INSTDIR\${NAME}"
    ${If} ${FileExists} "$INSTDIR\${NAME}"
        StrCpy $R9 "$R9$\r$\n${NAME}"
    ${EndIf}
!macroend

; The third run: waits for the started uninstall.exe to end (a minute at most), then deletes it and
; the folder when nothing else is left in it.
Function FinishAfterStartedUninstaller
    ; SYNCHRONIZE: may wait for it.
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i $StartedUninstaller) p .r1'
    ${If} $1 P<> 0
        System::Call 'kernel32::WaitForSingleObject(p r1, i 60000)'
        System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    ; This copy's file, in use until it ends.
    Delete /REBOOTOK "$EXEPATH"
    RMDir /REBOOTOK "$EXEDIR"
    Quit
FunctionEnd

Section "Remove"
    !insertmacro XPV_FOR_EACH_SHIPPED_PROGRAM WaitForClosedProgram
    Call OfferToRemoveManifests
    ; $R9 collects the files that could not be removed.
    StrCpy $R9 ""
    !insertmacro XPV_FOR_EACH_SHIPPED_PROGRAM RemoveFile
    !insertmacro XPV_FOR_EACH_SHIPPED_DATA_FILE RemoveFile
    ${If} $R9 != ""
        ; The uninstaller and the entry stay, so that it can be run again.
        MessageBox MB_OK|MB_ICONSTOP "These files in $INSTDIR could not be removed:$R9$\r$\n$\r$\nClose \
            ${PRODUCT} and run its uninstaller again." /SD IDOK
        SetErrorLevel ${EXIT_CANNOT_WRITE}
        Return
    ${EndIf}
    Delete "${SHORTCUT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ; uninstall.exe and the folder, when nothing of the user's is in it, once the started
    ; uninstall.exe has ended.
    ${If} $KeepUninstaller == ""
        Exec '"$EXEPATH" /FINISH=$StartedUninstaller /D=$INSTDIR'
    ${EndIf}
SectionEnd
