; TessalySetup.exe: installs Tessaly Customizable Screen Saver, the 64-bit
; programs on 64-bit Windows and the 32-bit ones elsewhere, writes the
; uninstall log that st6unst.exe reads, registers the program in Add/Remove
; Programs and runs "Tessaly.scr /INSTALL <folder>" for the installing user.
;
; Made by the build (src/setup/CMakeLists.txt), which passes:
;   VERSION, VERSION4 (four parts), COMPANY, PRODUCT  - from the version resource
;   WIN64_FILES, WIN32_FILES  - folders holding Tessaly.scr, qmunins.exe, st6unst.exe
;   HELP_PAGE, SAMPLES, ICON, OUTFILE
;   WIZARD_BITMAP, HEADER_BITMAP  - the welcome/finish pages' picture, the headers' one
;   SIZES  - a header defining SIZE64_KB and SIZE32_KB, what each installation takes
;
; Command line: /S (silent), /D=<folder> (last, unquoted), /DOWNGRADE (replace
; a newer installed version without asking; silently a newer version is
; otherwise kept and the setup ends with error level 2).

!macro Needs NAME
  !ifndef ${NAME}
    !error "${NAME} is not given: TessalySetup.nsi is made by the build (src/setup/CMakeLists.txt)"
  !endif
!macroend
!insertmacro Needs VERSION
!insertmacro Needs VERSION4
!insertmacro Needs COMPANY
!insertmacro Needs PRODUCT
!insertmacro Needs WIN64_FILES
!insertmacro Needs WIN32_FILES
!insertmacro Needs HELP_PAGE
!insertmacro Needs SAMPLES
!insertmacro Needs ICON
!insertmacro Needs OUTFILE
!insertmacro Needs WIZARD_BITMAP
!insertmacro Needs HEADER_BITMAP
!insertmacro Needs SIZES
!include "${SIZES}"

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include WordFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly"
!define APP_KEY "Software\${COMPANY}\${PRODUCT}"
!define LOG_NAME "st6unst.log"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${COMPANY}"
ShowInstDetails show

!define MUI_ICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD_BITMAP}"
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_RIGHT
!define MUI_HEADERIMAGE_BITMAP "${HEADER_BITMAP}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Tessaly Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) 2026 ${COMPANY}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "OriginalFilename" "TessalySetup.exe"

Var InstalledVersion  ; DisplayVersion of an installed copy, "" when none
Var InstalledFolder   ; its InstallLocation
Var Log               ; the uninstall log being written
Var Entries           ; the number of entries written to it
Var Size              ; bytes installed

; ---------------------------------------------------------------------------
; The installation folder

; $0 = why the folder in $INSTDIR cannot hold the program, "" when it can.
; The uninstaller removes only folders that are none of Windows' own, so the
; setup installs into no other.
!macro RefuseAtOrAbove FOLDER
  ${If} $0 == ""
  ${AndIf} "${FOLDER}" != ""
    StrLen $1 "$INSTDIR\"
    StrCpy $2 "${FOLDER}\" $1
    ${If} $2 == "$INSTDIR\"
      StrCpy $0 "$INSTDIR is a folder of Windows, or holds one.  Choose a folder of its own for Tessaly, such as $INSTDIR\Tessaly."
    ${EndIf}
  ${EndIf}
!macroend

Function FolderProblem
  StrCpy $0 ""
  StrLen $1 $INSTDIR
  StrCpy $2 $INSTDIR 1 1
  ${If} $1 <= 3
  ${OrIf} $2 != ":"
    StrCpy $0 "Choose a folder for Tessaly, not the root of a drive."
    Return
  ${EndIf}
  ; Inside the Windows directory
  StrLen $1 "$WINDIR\"
  StrCpy $2 "$INSTDIR\" $1
  ${If} $2 == "$WINDIR\"
    StrCpy $0 "$INSTDIR lies in the Windows directory.  Choose another folder for Tessaly."
    Return
  ${EndIf}
  !insertmacro RefuseAtOrAbove $PROGRAMFILES
  !insertmacro RefuseAtOrAbove $PROGRAMFILES64
  !insertmacro RefuseAtOrAbove $COMMONFILES
  !insertmacro RefuseAtOrAbove $COMMONFILES64
  !insertmacro RefuseAtOrAbove $PROFILE
  !insertmacro RefuseAtOrAbove $APPDATA
  !insertmacro RefuseAtOrAbove $LOCALAPPDATA
  !insertmacro RefuseAtOrAbove $DOCUMENTS
  !insertmacro RefuseAtOrAbove $PICTURES
  !insertmacro RefuseAtOrAbove $MUSIC
  !insertmacro RefuseAtOrAbove $DESKTOP
  SetShellVarContext all
  !insertmacro RefuseAtOrAbove $APPDATA
  !insertmacro RefuseAtOrAbove $DOCUMENTS
  SetShellVarContext current
  ${If} $0 != ""
    Return
  ${EndIf}
  ; The screen saver, its wrapper and the log speak the ANSI code page.
  System::Call 'kernel32::WideCharToMultiByte(i 0, i 0x400, w "$INSTDIR", i -1, p 0, i 0, p 0, *i 0 r2) i .r1'
  ${If} $2 != 0
    StrCpy $0 "$INSTDIR has characters that not every program on this computer can use.  Choose another folder for Tessaly."
  ${EndIf}
FunctionEnd

; The folder page says why it cannot go on.
Function DirectoryLeave
  Call FolderProblem
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONEXCLAMATION $0
    Abort
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------------------
; Start: administrator rights, an installed copy, the default folder

Function .onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "Administrator rights are needed to install ${PRODUCT}." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}

  ; The section holds both architectures' programs; one of them is installed.
  ${If} ${RunningX64}
    SectionSetSize 0 ${SIZE64_KB}
  ${Else}
    SectionSetSize 0 ${SIZE32_KB}
  ${EndIf}

  ReadRegStr $InstalledVersion HKLM "${UNINSTALL_KEY}" "DisplayVersion"
  ReadRegStr $InstalledFolder HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $INSTDIR == ""
    ${If} $InstalledFolder != ""
      StrCpy $INSTDIR $InstalledFolder
    ${ElseIf} ${RunningX64}
      StrCpy $INSTDIR "$PROGRAMFILES64\Tessaly"
    ${Else}
      StrCpy $INSTDIR "$PROGRAMFILES\Tessaly"
    ${EndIf}
  ${EndIf}

  ; A newer installed version is replaced only on request.
  ${If} $InstalledVersion != ""
    ${VersionCompare} $InstalledVersion "${VERSION}" $0
    ${If} $0 == 1
      ${GetParameters} $1
      ClearErrors
      ${GetOptions} $1 "/DOWNGRADE" $2
      ${If} ${Errors}
        MessageBox MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON2 \
          "A newer version of ${PRODUCT} ($InstalledVersion) is installed.$\r$\n$\r$\nDo you want to replace it with version ${VERSION}?" \
          /SD IDNO IDYES replace
        SetErrorLevel 2
        Quit
        replace:
      ${EndIf}
    ${EndIf}
  ${EndIf}

  ${If} ${Silent}
    Call FolderProblem
    ${If} $0 != ""
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------------------
; The user's lists: "Tessaly.scr /INSTALL" writes the sample entries over the
; first entries of both lists, so a user who has lists gets them back as they
; were. Kept on the stack: the values, then their number (-1: no section).

Function SaveSection  ; $R9 = section
  ClearErrors
  EnumRegValue $R1 HKCU "${APP_KEY}\$R9" 0
  ${If} ${Errors}
    Push -1
    Return
  ${EndIf}
  StrCpy $R0 0
  ${Do}
    EnumRegValue $R1 HKCU "${APP_KEY}\$R9" $R0
    ${IfThen} $R1 == "" ${|} ${ExitDo} ${|}
    ReadRegStr $R2 HKCU "${APP_KEY}\$R9" $R1
    Push $R2
    Push $R1
    IntOp $R0 $R0 + 1
  ${Loop}
  Push $R0
FunctionEnd

Function RestoreSection  ; $R9 = section
  Pop $R0
  ${If} $R0 < 0
    Return
  ${EndIf}
  DeleteRegKey HKCU "${APP_KEY}\$R9"
  ; The section exists again even when it holds no entry.
  WriteRegStr HKCU "${APP_KEY}\$R9" "File0" ""
  DeleteRegValue HKCU "${APP_KEY}\$R9" "File0"
  ${DoWhile} $R0 > 0
    Pop $R1
    Pop $R2
    WriteRegStr HKCU "${APP_KEY}\$R9" $R1 $R2
    IntOp $R0 $R0 - 1
  ${Loop}
FunctionEnd

; ---------------------------------------------------------------------------
; The uninstall log

!macro Entry TEXT
  FileWrite $Log "${TEXT}$\r$\n"
  IntOp $Entries $Entries + 1
!macroend

; An installed copy in another folder keeps its files there; its entries for
; that folder go on into the new log, so one uninstall removes both.
Function CarryOverEntries
  ${If} $InstalledFolder == ""
  ${OrIf} $InstalledFolder == $INSTDIR
    Return
  ${EndIf}
  ClearErrors
  FileOpen $R0 "$InstalledFolder\${LOG_NAME}" r
  ${If} ${Errors}
    Return
  ${EndIf}
  StrLen $R3 "File: $InstalledFolder\"
  ${Do}
    ClearErrors
    FileRead $R0 $R1
    ${IfThen} ${Errors} ${|} ${ExitDo} ${|}
    ; Without its line end.
    ${Do}
      StrCpy $R2 $R1 1 -1
      ${If} $R2 == "$\r"
      ${OrIf} $R2 == "$\n"
        StrCpy $R1 $R1 -1
      ${Else}
        ${ExitDo}
      ${EndIf}
    ${Loop}
    StrCpy $R2 $R1 $R3
    ${If} $R1 == "Folder: $InstalledFolder"
    ${OrIf} $R2 == "File: $InstalledFolder\"
      !insertmacro Entry $R1
    ${EndIf}
  ${Loop}
  FileClose $R0
FunctionEnd

; Written whole before anything is copied: should the setup stop half way,
; the uninstaller still knows everything it may have left.
Function WriteLog
  ClearErrors
  FileOpen $Log "$INSTDIR\${LOG_NAME}" w
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "The uninstall log $INSTDIR\${LOG_NAME} cannot be written." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  StrCpy $Entries 0
  FileWrite $Log "Tessaly Uninstall Log 1$\r$\n"
  FileWrite $Log "Product: ${PRODUCT}$\r$\n"
  FileWrite $Log "Version: ${VERSION}$\r$\n"
  !insertmacro Entry "Folder: $INSTDIR"
  !insertmacro Entry "File: $SYSDIR\Tessaly.scr"
  !insertmacro Entry "File: $SYSDIR\TSCSS.htm"
  !insertmacro Entry "File: $WINDIR\st6unst.exe"
  !insertmacro Entry "File: $INSTDIR\qmunins.exe"
  !insertmacro Entry "File: $INSTDIR\Sample1.jpg"
  !insertmacro Entry "File: $INSTDIR\Sample2.jpg"
  !insertmacro Entry "File: $INSTDIR\Sample3.jpg"
  !insertmacro Entry "File: $INSTDIR\Camera.wav"
  !insertmacro Entry "File: $INSTDIR\SlideProjector.wav"
  !insertmacro Entry "File: $INSTDIR\${LOG_NAME}"
  !insertmacro Entry "RegKey: HKLM\${UNINSTALL_KEY}"
  Call CarryOverEntries
  FileWrite $Log "End: $Entries$\r$\n"
  FileClose $Log
FunctionEnd

!macro AddSize FILE
  ClearErrors
  FileOpen $R0 "${FILE}" r
  ${IfNot} ${Errors}
    FileSeek $R0 0 END $R1
    FileClose $R0
    IntOp $Size $Size + $R1
  ${EndIf}
!macroend

; ---------------------------------------------------------------------------

Section "Tessaly"
  SectionIn RO
  SetOverwrite on

  ; The folder in its long form: the log never names a short alias.
  CreateDirectory "$INSTDIR"
  System::Call 'kernel32::GetLongPathNameW(w "$INSTDIR", w .r0, i ${NSIS_MAX_STRLEN}) i .r1'
  ${If} $1 > 0
    StrCpy $INSTDIR $0
  ${EndIf}
  Call WriteLog

  ; The 64-bit saver goes into the real system directory, past the file
  ; system redirection of this 32-bit setup.
  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
  ${EndIf}
  SetOutPath "$SYSDIR"
  ${If} ${RunningX64}
    File "/oname=Tessaly.scr" "${WIN64_FILES}/Tessaly.scr"
  ${Else}
    File "/oname=Tessaly.scr" "${WIN32_FILES}/Tessaly.scr"
  ${EndIf}
  File "/oname=TSCSS.htm" "${HELP_PAGE}"
  SetOutPath "$WINDIR"
  ${If} ${RunningX64}
    File "/oname=st6unst.exe" "${WIN64_FILES}/st6unst.exe"
  ${Else}
    File "/oname=st6unst.exe" "${WIN32_FILES}/st6unst.exe"
  ${EndIf}
  SetOutPath "$INSTDIR"
  ${If} ${RunningX64}
    File "/oname=qmunins.exe" "${WIN64_FILES}/qmunins.exe"
  ${Else}
    File "/oname=qmunins.exe" "${WIN32_FILES}/qmunins.exe"
  ${EndIf}
  File "${SAMPLES}/Sample1.jpg"
  File "${SAMPLES}/Sample2.jpg"
  File "${SAMPLES}/Sample3.jpg"
  File "${SAMPLES}/Camera.wav"
  File "${SAMPLES}/SlideProjector.wav"

  StrCpy $Size 0
  !insertmacro AddSize "$SYSDIR\Tessaly.scr"
  !insertmacro AddSize "$SYSDIR\TSCSS.htm"
  !insertmacro AddSize "$WINDIR\st6unst.exe"
  !insertmacro AddSize "$INSTDIR\qmunins.exe"
  !insertmacro AddSize "$INSTDIR\Sample1.jpg"
  !insertmacro AddSize "$INSTDIR\Sample2.jpg"
  !insertmacro AddSize "$INSTDIR\Sample3.jpg"
  !insertmacro AddSize "$INSTDIR\Camera.wav"
  !insertmacro AddSize "$INSTDIR\SlideProjector.wav"
  !insertmacro AddSize "$INSTDIR\${LOG_NAME}"
  IntOp $Size $Size + 1023
  IntOp $Size $Size / 1024

  ; Add/Remove Programs: qmunins offers the survey, then starts st6unst.exe
  ; with the same arguments.
  DetailPrint "Registering ${PRODUCT} in Add/Remove Programs"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\Tessaly.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $Size
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\qmunins.exe" -n "$INSTDIR\${LOG_NAME}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$WINDIR\st6unst.exe" -n "$INSTDIR\${LOG_NAME}" /S'

  ; The screen saver sets itself up for the installing user: the system
  ; screen saver, the samples in the lists, Display Properties opened on it.
  DetailPrint "Making Tessaly the screen saver"
  StrCpy $R9 "PictureFiles"
  Call SaveSection
  StrCpy $R9 "SoundFiles"
  Call SaveSection
  ClearErrors
  ExecWait '"$SYSDIR\Tessaly.scr" /INSTALL $INSTDIR\'
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONEXCLAMATION "$SYSDIR\Tessaly.scr could not be started to set up the screen saver." /SD IDOK
  ${EndIf}
  StrCpy $R9 "SoundFiles"
  Call RestoreSection
  StrCpy $R9 "PictureFiles"
  Call RestoreSection

  ${If} ${RunningX64}
    ${EnableX64FSRedirection}
  ${EndIf}
SectionEnd
