; The setup program of one architecture, made by the build (packaging/CMakeLists.txt), which
; defines XPV_VERSION, XPV_ARCH (x86 or x64), XPV_STAGE (the folder of the shipped files),
; XPV_SHIPPED_FILES (their list), XPV_ICON and XPV_OUTFILE.
; Installs for all users under Program Files, with a Start-menu shortcut and an entry in
; Add/Remove Programs; /S installs silently, /D= chooses the folder. The uninstaller removes what
; was installed and nothing else: history.db and every manifest stay unless the user asks for the
; manifests the history lists to be removed.

!if "${XPV_ARCH}" == "x64"
    Target amd64-unicode
!else
    Target x86-unicode
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include "${XPV_SHIPPED_FILES}"

!define PRODUCT "Orlek - XP Vestrim"
!define PUBLISHER "Orlek"
!define PROGRAM "xpvestrim.exe"
!define CONSOLE_PROGRAM "xpvestrim-cli.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orlek XP Vestrim"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${XPV_OUTFILE}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
!if "${XPV_ARCH}" == "x64"
    InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
    InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
; A new version goes where the earlier one was, unless /D= or the user says otherwise.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

!define MUI_ICON "${XPV_ICON}"
!define MUI_UNICON "${XPV_ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${XPV_VERSION}.0"
VIFileVersion "${XPV_VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} ${XPV_ARCH} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${XPV_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${XPV_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) Orlek. All rights reserved."

; Error levels a caller of /S can tell apart: 2 when the user (or silent mode) gave up.
!define EXIT_GAVE_UP 2

!macro RefuseWithoutAdministrator UN
    Function ${UN}RefuseWithoutAdministrator
        UserInfo::GetAccountType
        Pop $0
        ${If} $0 != "Admin"
            MessageBox MB_OK|MB_ICONSTOP "Installing and removing ${PRODUCT} for all users needs an \
                administrator. Run this program as administrator, or use the portable zip, which runs \
                from any folder you may write." /SD IDOK
            SetErrorLevel ${EXIT_GAVE_UP}
            Quit
        ${EndIf}
    FunctionEnd
!macroend
!insertmacro RefuseWithoutAdministrator ""
!insertmacro RefuseWithoutAdministrator "un."

; A running copy keeps its program file open: asks for it to be closed before anything changes,
; and gives up (the files as they were) when it is not. The folder is given in $INSTDIR.
!macro WaitForClosedProgram NAME
    ${If} ${FileExists} "$INSTDIR\${NAME}"
        ${Do}
            ClearErrors
            FileOpen $0 "$INSTDIR\${NAME}" a
            ${IfNot} ${Errors}
                FileClose $0
                ${Break}
            ${EndIf}
            ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${NAME} in $INSTDIR is in use. \
                    Close ${PRODUCT}, then press Retry." /SD IDCANCEL IDRETRY`
                SetErrorLevel ${EXIT_GAVE_UP}
                Quit
            ${EndIf}
        ${Loop}
    ${EndIf}
!macroend

!macro InstallFile NAME
    File "${XPV_STAGE}/${NAME}"
!macroend

!macro RemoveFile NAME
    Delete "$INSTDIR\${NAME}"
    ${If} ${FileExists} "$INSTDIR\${NAME}"
        StrCpy $R9 "$R9$\r$\n${NAME}"
    ${EndIf}
!macroend

Function .onInit
    Call RefuseWithoutAdministrator
    SetShellVarContext all
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
    ; _?= runs the uninstaller in place and waits for it.
    ClearErrors
    ExecWait '"$1\${UNINSTALLER}" /S _?=$1' $2
    ${If} ${Errors}
    ${OrIf} $2 != 0
        MessageBox MB_OK|MB_ICONSTOP "The earlier installation in $1 could not be removed. Close \
            ${PRODUCT} and run this setup again." /SD IDOK
        SetErrorLevel ${EXIT_GAVE_UP}
        Quit
    ${EndIf}
    Delete "$1\${UNINSTALLER}"
    RMDir "$1"
FunctionEnd

Section "Install"
    !insertmacro XPV_FOR_EACH_SHIPPED_PROGRAM WaitForClosedProgram
    Call RemoveEarlierInstallation
    SetOutPath "$INSTDIR"
    !insertmacro XPV_FOR_EACH_SHIPPED_PROGRAM InstallFile
    !insertmacro XPV_FOR_EACH_SHIPPED_DATA_FILE InstallFile
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
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

Function un.onInit
    Call un.RefuseWithoutAdministrator
    SetShellVarContext all
FunctionEnd

; The console program removes, by the window's own rule, the manifest of every history entry.
; Without it there is nothing to offer.
Function un.OfferToRemoveManifests
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

Section "Uninstall"
    !insertmacro XPV_FOR_EACH_SHIPPED_PROGRAM WaitForClosedProgram
    Call un.OfferToRemoveManifests
    ; $R9 collects the files that could not be removed.
    StrCpy $R9 ""
    !insertmacro XPV_FOR_EACH_SHIPPED_PROGRAM RemoveFile
    !insertmacro XPV_FOR_EACH_SHIPPED_DATA_FILE RemoveFile
    ${If} $R9 != ""
        ; The uninstaller and the entry stay, so that it can be run again.
        MessageBox MB_OK|MB_ICONSTOP "These files in $INSTDIR could not be removed:$R9$\r$\n$\r$\nClose \
            ${PRODUCT} and run its uninstaller again." /SD IDOK
        SetErrorLevel ${EXIT_GAVE_UP}
        Return
    ${EndIf}
    Delete "${SHORTCUT}"
    Delete "$INSTDIR\${UNINSTALLER}"
    ; Only when empty: history.db and anything else of the user's stays.
    RMDir "$INSTDIR"
    ; Last, so that whoever waits for the uninstall can watch for it.
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
