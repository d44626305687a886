; Pimblo's installer: for the current user, without elevation, into
; %LOCALAPPDATA%\Programs\Pimblo, with a Start-menu entry and an uninstaller
; registered under HKCU. Built by scripts/release, which passes:
;   VERSION   x.y.z from CMake          EXE     the 64-bit Pimblo.exe
;   GUIDE_ZH  使用说明.txt              GUIDE_EN  ReadMe.txt
;   ICON      the program's icon        OUTFILE   the setup program to write
;   SKINPACK  the 64-bit skinpack.exe, which packs a user's own skin
;   WIZARD    the welcome and finish pages' picture, 164 x 314
; The stub is 64-bit (it starts on 64-bit Windows only) and carries the 64-bit
; build; 32-bit Windows takes the win32 zip.

Unicode true
Target amd64-unicode
ManifestDPIAware true
ManifestSupportedOS all
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define APP "Pimblo"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pimblo"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "pimblorun"
!define MARKER "C:\a.bat"

Name "${APP}"
Caption "${APP} ${VERSION}"
BrandingText "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Pimblo"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${APP}"
VIAddVersionKey /LANG=0 "CompanyName" "Vantry"
VIAddVersionKey /LANG=0 "FileDescription" "Pimblo desktop pet setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Vantry"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Pimblo.exe"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The user's language picks one of these; the first is the fallback.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString Closing ${LANG_SIMPCHINESE} "正在关闭运行中的 Pimblo ..."
LangString Closing ${LANG_ENGLISH} "Closing the running Pimblo ..."
LangString RunRemoved ${LANG_SIMPCHINESE} "已删除开机自动运行值 pimblorun。"
LangString RunRemoved ${LANG_ENGLISH} "Removed the start-with-Windows value pimblorun."
LangString RunKept ${LANG_SIMPCHINESE} "开机自动运行值 pimblorun 指向另一个 Pimblo，保留不动："
LangString RunKept ${LANG_ENGLISH} "The start-with-Windows value pimblorun starts another copy of Pimblo and is kept:"
LangString NoRights ${LANG_SIMPCHINESE} "Pimblo 已卸载，但开机自动运行值无法删除：它在 HKEY_LOCAL_MACHINE 下，需要管理员权限。$\r$\n$\r$\n请以管理员身份运行注册表编辑器 (regedit)，在$\r$\nHKEY_LOCAL_MACHINE\${RUN_KEY}$\r$\n下删除名为 pimblorun 的值。$\r$\n$\r$\n不删除也无害：它指向的程序已经不存在，Windows 登录时会跳过它。"
LangString NoRights ${LANG_ENGLISH} "Pimblo is removed, but its start-with-Windows value could not be: it is under HKEY_LOCAL_MACHINE, which needs an administrator.$\r$\n$\r$\nRun the Registry Editor (regedit) as administrator and delete the value named pimblorun under$\r$\nHKEY_LOCAL_MACHINE\${RUN_KEY}$\r$\n$\r$\nLeft there it does no harm: the program it names is gone, and Windows skips it at log-on."

; Asks a running Pimblo to quit, as its menu item 退出桌面Pimblo does, so
; that its program file can be replaced or removed. Its hidden main window is
; class TPimbloForm, title "u".
!macro CloseRunningPimblo
  StrCpy $R1 0
  ${Do}
    FindWindow $R0 "TPimbloForm" "u"
    ${If} $R0 == 0
    ${OrIf} $R1 >= 20
      ${Break}
    ${EndIf}
    ${If} $R1 == 0
      DetailPrint "$(Closing)"
    ${EndIf}
    SendMessage $R0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
    Sleep 250
    IntOp $R1 $R1 + 1
  ${Loop}
!macroend

; The Run value under ROOT (HKLM or HKCU, spelt out as ROOT_NAME) goes when the
; program it names is gone now (this copy, or one removed before); a value that
; starts a copy still there is that copy's and stays. Only the machine's key can
; refuse: then the user is told how to remove the value by hand.
!macro RemoveRunValue ROOT ROOT_NAME
  ClearErrors
  ReadRegStr $0 ${ROOT} "${RUN_KEY}" "${RUN_VALUE}"
  ${IfNot} ${Errors}
    StrCpy $1 $0
    StrCpy $2 $1 1
    ${If} $2 == '"'
      StrCpy $1 $1 "" 1
      StrCpy $2 $1 1 -1
      ${If} $2 == '"'
        StrCpy $1 $1 -1
      ${EndIf}
    ${EndIf}
    ${If} ${FileExists} "$1"
      DetailPrint "$(RunKept) $0"
    ${Else}
      DeleteRegValue ${ROOT} "${RUN_KEY}" "${RUN_VALUE}"
      ClearErrors
      ReadRegStr $2 ${ROOT} "${RUN_KEY}" "${RUN_VALUE}"
      ${If} ${Errors}
        DetailPrint "$(RunRemoved) (${ROOT_NAME})"
      ${Else}
        DetailPrint "${ROOT_NAME}\${RUN_KEY} pimblorun: $0"
        !if "${ROOT}" == "HKLM"
          MessageBox MB_OK|MB_ICONINFORMATION "$(NoRights)" /SD IDOK
        !endif
      ${EndIf}
    ${EndIf}
  ${EndIf}
!macroend

Section "Pimblo"
  SetShellVarContext current
  !insertmacro CloseRunningPimblo
  SetOutPath "$INSTDIR"
  File "/oname=Pimblo.exe" "${EXE}"
  File "/oname=skinpack.exe" "${SKINPACK}"
  File "/oname=使用说明.txt" "${GUIDE_ZH}"
  File "/oname=ReadMe.txt" "${GUIDE_EN}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Pimblo.lnk" "$INSTDIR\Pimblo.exe" "" "$INSTDIR\Pimblo.exe" 0 SW_SHOWNORMAL "" "Pimblo desktop pet"

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "Vantry"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Pimblo.exe,0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  !insertmacro CloseRunningPimblo

  Delete "$INSTDIR\Pimblo.exe"
  Delete "$INSTDIR\skinpack.exe"
  Delete "$INSTDIR\使用说明.txt"
  Delete "$INSTDIR\ReadMe.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"  ; only when empty: files the user put there stay
  Delete "$SMPROGRAMS\Pimblo.lnk"
  DeleteRegKey HKCU "${UNINST_KEY}"

  ; The first-start marker, where it is the program's own: the one in the
  ; user's folder, and C:\a.bat only when it holds exactly what the program
  ; writes there (a file of that name may well be the user's own).
  Delete "$APPDATA\Pimblo\a.bat"
  RMDir "$APPDATA\Pimblo"
  ClearErrors
  FileOpen $0 "${MARKER}" r
  ${IfNot} ${Errors}
    FileSeek $0 0 END $1
    FileSeek $0 0 SET
    FileRead $0 $2
    FileRead $0 $3
    FileRead $0 $4
    FileClose $0
    ${If} $1 == 11
    ${AndIf} $2 == "Me$\r$\n"
    ${AndIf} $3 == "mo$\r$\n"
    ${AndIf} $4 == "1$\r$\n"
      Delete "${MARKER}"
    ${EndIf}
  ${EndIf}

  ; Start with Windows: the program writes its quoted path under the
  ; machine's Run key when it may and under the user's own otherwise; either
  ; value goes by the same rule.
  SetRegView 64
  !insertmacro RemoveRunValue HKLM HKEY_LOCAL_MACHINE
  !insertmacro RemoveRunValue HKCU HKEY_CURRENT_USER
  SetRegView default
SectionEnd
