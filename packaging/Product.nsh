; What the setup program (Setup.nsi) and the uninstaller (Uninstall.nsi) share. Both are made by
; the build (packaging/CMakeLists.txt), which defines XPV_VERSION, XPV_ARCH (x86 or x64),
; XPV_SHIPPED_FILES (the list of shipped files), XPV_ICON and XPV_OUTFILE.

!if "${XPV_ARCH}" == "x64"
    Target amd64-unicode
!else
    Target x86-unicode
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include "${XPV_SHIPPED_FILES}"

!define PRODUCT "Orlek - XP Vestrim"
!define PUBLISHER "Orlek"
!define PROGRAM "xpvestrim.exe"
!define CONSOLE_PROGRAM "xpvestrim-cli.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orlek XP Vestrim"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

; Exit codes a caller of /S can tell apart (NSIS itself gives 1 when the user cancels). The README
; lists them.
; Nothing was changed: the program is in use, or the earlier installation could not be removed.
!define EXIT_IN_USE 2
; Setup: the folder cannot be written, nothing was changed. Uninstaller: some files could not be
; removed; the uninstaller and its entry stay, to be run again.
!define EXIT_CANNOT_WRITE 3
; Not run as administrator: nothing was changed.
!define EXIT_NOT_ADMINISTRATOR 4

RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
!define MUI_ICON "${XPV_ICON}"
!define MUI_UNICON "${XPV_ICON}"

; The version resource; after the pages and the language.
!macro VersionInformation DESCRIPTION
    VIProductVersion "${XPV_VERSION}.0"
    VIFileVersion "${XPV_VERSION}.0"
    VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
    VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
    VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${DESCRIPTION}"
    VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${XPV_VERSION}"
    VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${XPV_VERSION}"
    VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) Orlek. All rights reserved."
!macroend

Function RefuseWithoutAdministrator
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
        MessageBox MB_OK|MB_ICONSTOP "Installing and removing ${PRODUCT} for all users needs an \
            administrator. Run this program as administrator, or use the portable zip, which runs \
            from any folder you may write." /SD IDOK
        SetErrorLevel ${EXIT_NOT_ADMINISTRATOR}
        Quit
    ${EndIf}
FunctionEnd

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
                SetErrorLevel ${EXIT_IN_USE}
                Quit
            ${EndIf}
        ${Loop}
    ${EndIf}
!macroend
