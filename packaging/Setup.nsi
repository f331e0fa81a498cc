; The setup program of one architecture, made by the build (packaging/CMakeLists.txt), which
; defines, beside what Product.nsh names, XPV_STAGE (the folder of the shipped files) and
; XPV_UNINSTALLER (the uninstaller made from Uninstall.nsi).
; Installs for all users under Program Files, with a Start-menu shortcut and an entry in
; Add/Remove Programs; /S installs silently, /D= chooses the folder. Nothing is changed until the
; folder is known to be writable and no installed program is running.

!include "Product.nsh"

Name "${PRODUCT}"
OutFile "${XPV_OUTFILE}"
; A file that cannot be written ends the setup (with an error, silent or not) instead of being
; left out.
AllowSkipFiles off
!if "${XPV_ARCH}" == "x64"
    InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
    InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
; A new version goes where the earlier one was, unless /D= or the user says otherwise.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_LANGUAGE "English"
!insertmacro VersionInformation "${PRODUCT} ${XPV_ARCH} setup"

!macro InstallFile NAME
    File "${XPV_STAGE}/${NAME}"
!macroend

Function .onInit
    Call RefuseWithoutAdministrator
    SetShellVarContext all
FunctionEnd

; NSIS puts its default folder in place of a /D= folder it finds invalid (a file where a folder of
; its path should be): a silent setup takes the folder asked for from the command line as given,
; so that it is refused rather than another one used.
Function UseFolderAskedFor
    ${IfNot} ${Silent}
        Return
    ${EndIf}
    System::Call 'kernel32::GetCommandLine() t .r0'
    ClearErrors
    ${WordFind} "$0" " /D=" "E+1}" $1
    ${IfNot} ${Errors}
        StrCpy $INSTDIR "$1"
    ${EndIf}
FunctionEnd

; Makes the folder and writes a file in it, before anything else is changed. When that fails, the
; folders made here are removed again and the setup ends: nothing was changed.
Function CheckFolderWritable
    ; $R1: the outermost of the folders that do not exist yet, which CreateDirectory makes.
    StrCpy $R0 "$INSTDIR"
    StrCpy $R1 ""
    ${Do}
        ${If} ${FileExists} "$R0\*.*"
            ${Break}
        ${EndIf}
        StrCpy $R1 "$R0"
        ${GetParent} "$R0" $R0
    ${LoopUntil} $R0 == ""
    ClearErrors
    CreateDirectory "$INSTDIR"
    FileOpen $0 "$INSTDIR\xpvestrim-setup-check.tmp" w
    ${IfNot} ${Errors}
        FileClose $0
        Delete "$INSTDIR\xpvestrim-setup-check.tmp"
        Return
    ${EndIf}
    ${If} $R1 != ""
        StrCpy $R0 "$INSTDIR"
        ${Do}
            RMDir "$R0"
            ${If} $R0 == $R1
                ${Break}
            ${EndIf}
            ${GetParent} "$R0" $R0
        ${Loop}
    ${EndIf}
    MessageBox MB_OK|MB_ICONSTOP "The folder $INSTDIR cannot be written. Nothing was changed; choose \
        another folder, or run the setup as an administrator who may write it." /SD IDOK
    SetErrorLevel ${EXIT_CANNOT_WRITE}
    Quit
FunctionEnd

; An earlier installation is removed by its own uninstaller first, so that files it shipped and
; this version does not are gone too, wherever it was installed. Silent, it keeps the manifests.
Function RemoveEarlierInstallation
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $1 == ""
    ${OrIfNot} ${FileExists} "$1\${UNINSTALLER}"
        Return
    ${EndIf}
    DetailPrint "Removing the earlier installation in $1"
    ; The uninstaller returns when it is done and leaves itself and its folder to this setup, which
    ; may install into the same folder; that of 1.2.0 and earlier does so when run in place (_?=).
    ClearErrors
    ExecWait '"$1\${UNINSTALLER}" /S /KEEP_UNINSTALLER _?=$1' $2
    ${If} ${Errors}
    ${OrIf} $2 != 0
        MessageBox MB_OK|MB_ICONSTOP "The earlier installation in $1 could not be removed. Close \
            ${PRODUCT} and run this setup again." /SD IDOK
        SetErrorLevel ${EXIT_IN_USE}
        Quit
    ${EndIf}
    Delete "$1\${UNINSTALLER}"
    RMDir "$1"
FunctionEnd

Section "Install"
    Call UseFolderAskedFor
    Call CheckFolderWritable
    !insertmacro XPV_FOR_EACH_SHIPPED_PROGRAM WaitForClosedProgram
    Call RemoveEarlierInstallation
    SetOutPath "$INSTDIR"
    !insertmacro XPV_FOR_EACH_SHIPPED_PROGRAM InstallFile
    !insertmacro XPV_FOR_EACH_SHIPPED_DATA_FILE InstallFile
    File "/oname=${UNINSTALLER}" "${XPV_UNINSTALLER}"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} (${XPV_ARCH})"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${XPV_VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ; In KB, as Add/Remove Programs counts.
    SectionGetSize 0 $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd
