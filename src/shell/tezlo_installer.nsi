; The per-user installer of the TEZLO Excel add-in: both DLLs go to the user's local application
; folder; the one matching the installed Excel's bitness is registered for the current user
; (both when the bitness cannot be told). The uninstaller unregisters both and leaves no file
; and no key behind. No administrator rights are needed.
;
; makensis -DDLL64=<64-bit tezlo.dll> -DDLL32=<32-bit tezlo.dll> -DOUTFILE=<setup.exe> tezlo_installer.nsi

Unicode true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "LogicLib.nsh"
!include "x64.nsh"

!define PRODUCT "TEZLO"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TEZLO"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\TEZLO"
ShowInstDetails nevershow
ShowUninstDetails nevershow

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The bitness of the installed Excel into $R0: "64", "32", or "" when no Excel is found. The
; path comes from the App Paths registration (both registry views); the bitness from the
; executable's own header.
Function ExcelBitness
  StrCpy $R0 ""
  StrCpy $R1 ""
  ${If} ${RunningX64}
    SetRegView 64
    ReadRegStr $R1 HKLM "Software\Microsoft\Windows\CurrentVersion\App Paths\excel.exe" ""
    SetRegView 32
  ${EndIf}
  ${If} $R1 == ""
    ReadRegStr $R1 HKLM "Software\Microsoft\Windows\CurrentVersion\App Paths\excel.exe" ""
  ${EndIf}
  ${If} $R1 == ""
    ReadRegStr $R1 HKCU "Software\Microsoft\Windows\CurrentVersion\App Paths\excel.exe" ""
  ${EndIf}
  ${If} $R1 != ""
    ${DisableX64FSRedirection}
    System::Call 'kernel32::GetBinaryTypeW(w R1, *i .R2) i .R3'
    ${EnableX64FSRedirection}
    ${If} $R3 != 0
      ${If} $R2 == 6
        StrCpy $R0 "64"
      ${ElseIf} $R2 == 0
        StrCpy $R0 "32"
      ${EndIf}
    ${EndIf}
  ${EndIf}
FunctionEnd

; regsvr32 of the matching bitness, silently, on $0 (the DLL) with the switches in $1.
!macro Regsvr32 Bits
  ${If} ${Bits} == 64
    ${DisableX64FSRedirection}
    ExecWait '"$SYSDIR\regsvr32.exe" /s $1 "$0"' $2
    ${EnableX64FSRedirection}
  ${Else}
    ${If} ${RunningX64}
      ExecWait '"$WINDIR\SysWOW64\regsvr32.exe" /s $1 "$0"' $2
    ${Else}
      ExecWait '"$SYSDIR\regsvr32.exe" /s $1 "$0"' $2
    ${EndIf}
  ${EndIf}
!macroend

Section "TEZLO"
  SetOutPath "$INSTDIR\x64"
  File "/oname=tezlo.dll" "${DLL64}"
  SetOutPath "$INSTDIR\x86"
  File "/oname=tezlo.dll" "${DLL32}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

  Call ExcelBitness
  StrCpy $1 ""
  ${If} $R0 == "64"
  ${OrIf} $R0 == ""
    ${If} ${RunningX64}
      StrCpy $0 "$INSTDIR\x64\tezlo.dll"
      !insertmacro Regsvr32 64
    ${EndIf}
  ${EndIf}
  ${If} $R0 == "32"
  ${OrIf} $R0 == ""
    StrCpy $0 "$INSTDIR\x86\tezlo.dll"
    !insertmacro Regsvr32 32
  ${EndIf}
SectionEnd

Section "Uninstall"
  StrCpy $1 "/u"
  ${If} ${RunningX64}
    StrCpy $0 "$INSTDIR\x64\tezlo.dll"
    !insertmacro Regsvr32 64
  ${EndIf}
  StrCpy $0 "$INSTDIR\x86\tezlo.dll"
  !insertmacro Regsvr32 32
  Delete "$INSTDIR\x64\tezlo.dll"
  Delete "$INSTDIR\x86\tezlo.dll"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR\x64"
  RMDir "$INSTDIR\x86"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
