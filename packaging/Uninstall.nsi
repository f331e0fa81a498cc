; The uninstaller, uninstall.exe, made by the build before the setup program that installs it.
; Removes what the setup installed and nothing else: history.db and every manifest stay unless the
; user asks for the manifests the history lists to be removed.
;
; Started as documented (uninstall.exe, /S for a silent one) it returns only when it is done, with
; the exit code of the removal: it copies itself to a temporary folder, runs the copy on its own
; folder (/REMOVE /D=<folder>) and waits for it. The copy removes the files; the program file of
; the waiting uninstall.exe cannot be deleted while it runs on Windows, so the copy moves it out
; of the folder to the temporary one, where it is deleted at the next start of Windows.

!include "Product.nsh"

Name "${PRODUCT}"
Caption "${PRODUCT} Uninstall"
OutFile "${XPV_OUTFILE}"
; The folder is always given: the setup's own default stands for nothing here.
InstallDir "$PROGRAMFILES\${PRODUCT}"

!define MUI_INSTFILESPAGE_FINISHHEADER_TEXT "Uninstallation Complete"
!define MUI_INSTFILESPAGE_FINISHHEADER_SUBTEXT "${PRODUCT} was removed."
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro VersionInformation "${PRODUCT} ${XPV_ARCH} uninstaller"

; Restart-pending, as Windows Installer says it: everything is removed but uninstall.exe, which goes
; with its folder at the next start of Windows.
!define EXIT_DONE_AT_RESTART 3010

Function .onInit
    SetShellVarContext all
    ClearErrors
    ${GetParameters} $0
    ${GetOptions} $0 "/REMOVE" $1
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
    ${IfNot} ${Errors}
        ExecWait '"$PLUGINSDIR\${UNINSTALLER}" $1/REMOVE /D=$EXEDIR' $0
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

; uninstall.exe, whose started copy is waiting for this one: moved to this copy's temporary folder
; (the same drive as a rule) when it cannot be deleted now, and deleted there at the next start.
; On another drive it stays, with the folder, until then.
Function RemoveWaitingUninstaller
    Delete "$INSTDIR\${UNINSTALLER}"
    ${IfNot} ${FileExists} "$INSTDIR\${UNINSTALLER}"
        Return
    ${EndIf}
    ClearErrors
    Rename "$INSTDIR\${UNINSTALLER}" "$EXEDIR\started-${UNINSTALLER}"
    ${IfNot} ${Errors}
        Delete /REBOOTOK "$EXEDIR\started-${UNINSTALLER}"
        Return
    ${EndIf}
    Delete /REBOOTOK "$INSTDIR\${UNINSTALLER}"
    RMDir /REBOOTOK "$INSTDIR"
    SetErrorLevel ${EXIT_DONE_AT_RESTART}
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
    Call RemoveWaitingUninstaller
    ; Only when empty: history.db and anything else of the user's stays.
    RMDir "$INSTDIR"
    ; Last, so that whoever watches the entry sees it go when all else is done.
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
