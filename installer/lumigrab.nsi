; The Windows installer: a per-user install (no administrator) into
; %LOCALAPPDATA%\Programs\Lumigrab, where lumigrab.cfg beside the program stays writable.
; Built by CMake (the installer target) with:
;   makensis -DARCH=i686|x86_64 -DVERSION=x.y.z -DDIST=<dist/Lumigrab> -DICON=<lumigrab.ico>
;            -DOUTFILE=<Lumigrab-setup-arch.exe> lumigrab.nsi
; The settings files (lumigrab.cfg, oteditor.cfg, lumigrab.ini) are the user's: never
; shipped, never overwritten, kept by the uninstaller unless the user says otherwise.

Unicode true
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
!if "${ARCH}" == "x86_64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh

!define FRAME_CLASS "LumigrabFrame"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumigrab"
!define PUBLISHER "Lumigrab 开发者"
; Exit code of a silent run that found the program running and could not close it.
!define EXIT_PROGRAM_RUNNING 2

Name "Lumigrab"
Caption "Lumigrab ${VERSION} 安装"
UninstallCaption "Lumigrab ${VERSION} 卸载"
BrandingText "Lumigrab ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Lumigrab"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "Lumigrab"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileDescription" "Lumigrab 安装程序"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\lumigrab.exe"
!define MUI_FINISHPAGE_RUN_TEXT "现在启动 Lumigrab"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; Files cannot be replaced or removed while the program runs. Interactively the user
; is asked to quit it; a silent run asks the program's frame to close (as its close
; box does) and waits five seconds for the process to end, else it stops with
; EXIT_PROGRAM_RUNNING, so that unsaved images, which the program asks about, are
; never lost to an unattended run.
!macro DEFINE_CLOSE_RUNNING_PROGRAM prefix
Function ${prefix}CloseRunningProgram
  ${Do}
    FindWindow $0 "${FRAME_CLASS}"
    ${IfThen} $0 = 0 ${|} ${Break} ${|}
    ${If} ${Silent}
      System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
      System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'
      System::Call 'user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0)'
      System::Call 'kernel32::WaitForSingleObject(p r2, i 5000) i .r3'
      System::Call 'kernel32::CloseHandle(p r2)'
      ${If} $3 <> 0
        SetErrorLevel ${EXIT_PROGRAM_RUNNING}
        Quit
      ${EndIf}
    ${Else}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Lumigrab 正在运行。$\r$\n请先退出 Lumigrab（托盘图标菜单中的“退出”），然后单击“重试”。" \
        IDRETRY +2
      Quit
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_RUNNING_PROGRAM ""
!insertmacro DEFINE_CLOSE_RUNNING_PROGRAM "un."

Section "程序文件和开始菜单快捷方式" SecProgram
  SectionIn RO
  Call CloseRunningProgram
  SetOutPath "$INSTDIR\tessdata"
  File "${DIST}/tessdata/chi_sim.traineddata"
  File "${DIST}/tessdata/eng.traineddata"
  SetOutPath "$INSTDIR\licences"
  File "${DIST}/licences/giflib-COPYING.txt"
  File "${DIST}/licences/giflib.copyright"
  File "${DIST}/licences/leptonica-license.txt"
  File "${DIST}/licences/leptonica.copyright"
  File "${DIST}/licences/libjpeg-turbo-LICENSE.txt"
  File "${DIST}/licences/libjpeg-turbo-README-ijg.txt"
  File "${DIST}/licences/libjpeg-turbo.copyright"
  File "${DIST}/licences/libpng-LICENSE.txt"
  File "${DIST}/licences/libpng.copyright"
  File "${DIST}/licences/mingw-w64.copyright"
  File "${DIST}/licences/tesseract-LICENSE.txt"
  File "${DIST}/licences/tesseract.copyright"
  File "${DIST}/licences/tesseract-ocr-chi-sim.copyright"
  File "${DIST}/licences/tesseract-ocr-eng.copyright"
  File "${DIST}/licences/zlib-LICENSE.txt"
  File "${DIST}/licences/zlib.copyright"
  ; Last: the shortcut starts the program in the folder that is current here.
  SetOutPath "$INSTDIR"
  File "${DIST}/lumigrab.exe"
  File "${DIST}/snapcore.dll"
  File "${DIST}/lumiocr.dll"
  File "${DIST}/help.chm"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Lumigrab.lnk" "$INSTDIR\lumigrab.exe"
SectionEnd

Section "桌面快捷方式" SecDesktop
SectionEnd

Section "随 Windows 启动（在通知区域）" SecStartWithWindows
SectionEnd

; The optional parts are applied both ways, so that installing again without one
; removes what an earlier install made.
Section "-Options and the uninstall entry"
  ${If} ${SectionIsSelected} ${SecDesktop}
    CreateShortcut "$DESKTOP\Lumigrab.lnk" "$INSTDIR\lumigrab.exe"
  ${Else}
    Delete "$DESKTOP\Lumigrab.lnk"
  ${EndIf}
  ; The program's own options page writes and reads exactly this value.
  ${If} ${SectionIsSelected} ${SecStartWithWindows}
    WriteRegStr HKCU "${RUN_KEY}" "Lumigrab" '"$INSTDIR\lumigrab.exe" /tray'
  ${Else}
    DeleteRegValue HKCU "${RUN_KEY}" "Lumigrab"
  ${EndIf}

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Lumigrab"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lumigrab.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Installing again offers the choices of the install that is there: the desktop
; shortcut and starting with Windows stay as the user left them.
Function .onInit
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    ${IfNot} ${FileExists} "$DESKTOP\Lumigrab.lnk"
      !insertmacro UnselectSection ${SecDesktop}
    ${EndIf}
    ClearErrors
    ReadRegStr $1 HKCU "${RUN_KEY}" "Lumigrab"
    ${If} ${Errors}
      !insertmacro UnselectSection ${SecStartWithWindows}
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningProgram
  Delete "$INSTDIR\lumigrab.exe"
  Delete "$INSTDIR\snapcore.dll"
  Delete "$INSTDIR\lumiocr.dll"
  Delete "$INSTDIR\help.chm"
  Delete "$INSTDIR\tessdata\chi_sim.traineddata"
  Delete "$INSTDIR\tessdata\eng.traineddata"
  RMDir "$INSTDIR\tessdata"
  Delete "$INSTDIR\licences\giflib-COPYING.txt"
  Delete "$INSTDIR\licences\giflib.copyright"
  Delete "$INSTDIR\licences\leptonica-license.txt"
  Delete "$INSTDIR\licences\leptonica.copyright"
  Delete "$INSTDIR\licences\libjpeg-turbo-LICENSE.txt"
  Delete "$INSTDIR\licences\libjpeg-turbo-README-ijg.txt"
  Delete "$INSTDIR\licences\libjpeg-turbo.copyright"
  Delete "$INSTDIR\licences\libpng-LICENSE.txt"
  Delete "$INSTDIR\licences\libpng.copyright"
  Delete "$INSTDIR\licences\mingw-w64.copyright"
  Delete "$INSTDIR\licences\tesseract-LICENSE.txt"
  Delete "$INSTDIR\licences\tesseract.copyright"
  Delete "$INSTDIR\licences\tesseract-ocr-chi-sim.copyright"
  Delete "$INSTDIR\licences\tesseract-ocr-eng.copyright"
  Delete "$INSTDIR\licences\zlib-LICENSE.txt"
  Delete "$INSTDIR\licences\zlib.copyright"
  RMDir "$INSTDIR\licences"
  Delete "$SMPROGRAMS\Lumigrab.lnk"
  Delete "$DESKTOP\Lumigrab.lnk"
  ; Only the value that starts this copy; a portable copy may have set its own.
  ReadRegStr $0 HKCU "${RUN_KEY}" "Lumigrab"
  ${If} $0 == '"$INSTDIR\lumigrab.exe" /tray'
    DeleteRegValue HKCU "${RUN_KEY}" "Lumigrab"
  ${EndIf}
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  MessageBox MB_YESNO|MB_ICONQUESTION \
    "是否保留 Lumigrab 的设置（lumigrab.cfg、oteditor.cfg 和 lumigrab.ini）？$\r$\n保留后，再次安装时仍使用这些设置。" \
    /SD IDYES IDYES keepSettings
    Delete "$INSTDIR\lumigrab.cfg"
    Delete "$INSTDIR\oteditor.cfg"
    Delete "$INSTDIR\lumigrab.ini"
  keepSettings:
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
