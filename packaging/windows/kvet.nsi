; The installer of kvet for the hall's Windows PC (NSIS 3, UTF-8 source: build it
; with packaging/windows/make-installer.sh, which passes -INPUTCHARSET UTF8 and
; the defines below).
;
;   KVET_VERSION  1.2.3
;   KVET_DIST     folder holding kvet.exe, kvet-demo.exe, kvet-check.exe,
;                 kvet-keeper.exe and the documents shipped beside them
;   KVET_OUTFILE  the installer to write
;   KVET_FILES    an include file of `File` lines (what is installed)
;   KVET_REMOVALS an include file of `Delete` lines (what the uninstaller removes)
;
; Silent install (an administrator's command line):
;   kvet-setup-1.0.0.exe /S /SERVER=dbserver\SQLEXPRESS /DATABASE=billing /USER=dashboard "/PASSWORD=pass word"
; The options are read the way Windows splits a command line into arguments
; (CommandLineToArgvW), so `"/PASSWORD=a b"` and `/PASSWORD="a b"` both give
; `a b`, and `\"` gives a quote. With an existing kvet.ini the four options are
; not needed and are ignored. Exit codes: 0 installed; 1 cancelled; 2 the
; settings are missing in a silent install; 3 not a 64-bit Windows 10 or 11;
; 4 not run as an administrator; 5 files could not be written. Every install
; and uninstall appends its outcome to %TEMP%\kvet-setup.log.
;
; Silent uninstall: "C:\Program Files\kvet\uninstall.exe" /S [/REMOVEINI]
; kvet.ini (the hall's settings) stays unless /REMOVEINI is given.

Unicode true
Target amd64-unicode ; a 32-bit installer would land in Program Files (x86)
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!ifndef KVET_VERSION | KVET_DIST | KVET_OUTFILE | KVET_FILES | KVET_REMOVALS
  !error "Build with make-installer.sh: KVET_VERSION, KVET_DIST, KVET_OUTFILE, KVET_FILES and KVET_REMOVALS are needed"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\kvet"
!define PUBLISHER "kvet"
!define LOG_FILE "$TEMP\kvet-setup.log"
; SQL Server's own limit on a login's password.
!define PASSWORD_MAX 128

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinVer.nsh
!include x64.nsh
!include nsDialogs.nsh

Name "kvet ${KVET_VERSION}"
OutFile "${KVET_OUTFILE}"
InstallDir "$PROGRAMFILES64\kvet"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "kvet ${KVET_VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${KVET_VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "kvet"
VIAddVersionKey /LANG=2052 "FileDescription" "kvet 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${KVET_VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${KVET_VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${PUBLISHER}"

; The install guide, when the build ships one.
!if /FileExists "${KVET_DIST}/安装说明.html"
  !define KVET_GUIDE "安装说明.html"
!else if /FileExists "${KVET_DIST}/安装说明.txt"
  !define KVET_GUIDE "安装说明.txt"
!else if /FileExists "${KVET_DIST}/README-zh-CN.txt"
  !define KVET_GUIDE "README-zh-CN.txt"
!endif

Var Server
Var Database
Var Login
Var Password
Var GivenOptions   ; how many of the four settings the command line gave
Var IniKept        ; 1: an existing kvet.ini was kept

Var ServerField
Var DatabaseField
Var LoginField
Var PasswordField

Var B64Out
Var B64Group
Var B64Bytes

;--------------------------------------------------------------------------------
; Pages

!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE "安装 kvet ${KVET_VERSION}"
!define MUI_WELCOMEPAGE_TEXT "kvet 是营业厅的大屏显示程序，从 SQL Server 收费数据库读取数据。$\r$\n$\r$\n\
本机要求：64 位的 Windows 10 或 Windows 11（kvet 使用的 Qt 6 需要），并用管理员身份安装。$\r$\n$\r$\n\
安装后，每个用户登录时 kvet 都会自动全屏启动；kvet 意外退出时会在 10 秒后自动重新打开。\
双击屏幕顶部的横幅可关闭 kvet（关闭后直到下次登录都不会自动重开）。$\r$\n$\r$\n\
点击“下一步”继续。"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
Page custom SettingsPage SettingsPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "kvet 已安装"
!define MUI_FINISHPAGE_TEXT "kvet 已安装到 $INSTDIR，数据库设置在其中的 kvet.ini。$\r$\n$\r$\n\
下次登录时 kvet 会自动启动。请先运行“开始”菜单 kvet 文件夹中的 kvet-check，检查数据库连接。"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "现在启动 kvet（全屏；双击顶部横幅关闭）"
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!define MUI_FINISHPAGE_RUN_FUNCTION StartKvetNow
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"

;--------------------------------------------------------------------------------
; The log: one line per outcome, in %TEMP%\kvet-setup.log (UTF-16LE, so that
; Notepad shows the Chinese right), and in the details list.

!macro DefineLogLine prefix
  Function ${prefix}LogLine
    Exch $0
    Push $1
    Push $R0
    Push $R1
    Push $R2
    Push $R3
    Push $R4
    Push $R5
    Push $R6
    DetailPrint "$0"
    ClearErrors
    FileOpen $1 "${LOG_FILE}" a
    ${IfNot} ${Errors}
      FileSeek $1 0 END
      ${GetTime} "" "L" $R0 $R1 $R2 $R3 $R4 $R5 $R6
      FileWriteUTF16LE $1 "$R2-$R1-$R0 $R4:$R5:$R6 $0$\r$\n"
      FileClose $1
    ${EndIf}
    Pop $R6
    Pop $R5
    Pop $R4
    Pop $R3
    Pop $R2
    Pop $R1
    Pop $R0
    Pop $1
    Pop $0
  FunctionEnd
!macroend
!insertmacro DefineLogLine ""
!insertmacro DefineLogLine "un."

!macro Log text
  Push "${text}"
  !ifdef __UNINSTALL__
    Call un.LogLine
  !else
    Call LogLine
  !endif
!macroend

; Starts the log with a byte-order mark when it is new.
!macro StartLog
  ${IfNot} ${FileExists} "${LOG_FILE}"
    FileOpen $0 "${LOG_FILE}" w
    FileWriteWord $0 0xFEFF
    FileClose $0
  ${EndIf}
!macroend

;--------------------------------------------------------------------------------
; The command line, split as Windows splits it for any program.

Function ReadCommandLineSettings
  StrCpy $GivenOptions 0
  ; The process's own command line by pointer: quotes in it (a password's)
  ; must not reach System's call syntax.
  System::Call 'kernel32::GetCommandLineW() p .r0'
  System::Call 'shell32::CommandLineToArgvW(p r0, *i .r1) p .r2'
  ${If} $2 P= 0
    Return
  ${EndIf}
  StrCpy $3 1 ; argument 0 is the program
  ${While} $3 < $1
    IntPtrOp $4 $3 * ${NSIS_PTR_SIZE}
    IntPtrOp $4 $2 + $4
    System::Call '*$4(p .r5)'
    System::Call 'kernel32::lstrcpynW(w .r6, p r5, i ${NSIS_MAX_STRLEN})'
    StrCpy $7 $6 8
    StrCpy $8 $6 10
    StrCpy $9 $6 6
    ${If} $7 == "/SERVER="
      StrCpy $Server $6 "" 8
      IntOp $GivenOptions $GivenOptions | 1
    ${ElseIf} $8 == "/DATABASE="
      StrCpy $Database $6 "" 10
      IntOp $GivenOptions $GivenOptions | 2
    ${ElseIf} $9 == "/USER="
      StrCpy $Login $6 "" 6
      IntOp $GivenOptions $GivenOptions | 4
    ${ElseIf} $8 == "/PASSWORD="
      StrCpy $Password $6 "" 10
      IntOp $GivenOptions $GivenOptions | 8
    ${EndIf}
    IntOp $3 $3 + 1
  ${EndWhile}
  System::Call 'kernel32::LocalFree(p r2)'
FunctionEnd

;--------------------------------------------------------------------------------
; Trims spaces and tabs at both ends, as Windows' profile functions do when they
; read a value back: the page and kvet.ini then agree.

Function TrimValue
  Exch $0
  Push $1
  ${Do}
    StrCpy $1 $0 1
    ${If} $1 == " "
    ${OrIf} $1 == "$\t"
      StrCpy $0 $0 "" 1
    ${Else}
      ${Break}
    ${EndIf}
  ${Loop}
  ${Do}
    StrCpy $1 $0 1 -1
    ${If} $1 == " "
    ${OrIf} $1 == "$\t"
      StrCpy $0 $0 -1
    ${Else}
      ${Break}
    ${EndIf}
  ${Loop}
  Pop $1
  Exch $0
FunctionEnd

; Empty when the settings can be written, else the reason (Chinese, for the
; page and the log).
Function CheckSettings
  Push $0
  Push $Server
  Call TrimValue
  Pop $Server
  Push $Database
  Call TrimValue
  Pop $Database
  Push $Login
  Call TrimValue
  Pop $Login
  StrLen $0 $Password
  ${If} $Server == ""
    StrCpy $0 "没有填写数据库服务器（/SERVER=）"
  ${ElseIf} $Database == ""
    StrCpy $0 "没有填写数据库名（/DATABASE=）"
  ${ElseIf} $Login == ""
    StrCpy $0 "没有填写登录名（/USER=）"
  ${ElseIf} $0 > ${PASSWORD_MAX}
    StrCpy $0 "密码太长：SQL Server 的密码最多 ${PASSWORD_MAX} 个字符"
  ${Else}
    StrCpy $0 ""
  ${EndIf}
  Exch $0
FunctionEnd

;--------------------------------------------------------------------------------
; Base64 of the password's UTF-8 bytes, as kvet decodes it. NSIS has no way to
; take a character's code, so the text goes through a scratch file as UTF-16
; and comes back a 16-bit unit at a time.

!define B64_ALPHABET "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"

; Appends the first $R8 sextets of the 24-bit group to the output.
Function B64Emit
  StrCpy $R7 0
  ${While} $R7 < $R8
    IntOp $R6 $R7 * 6
    IntOp $R6 18 - $R6
    IntOp $R5 $B64Group >> $R6
    IntOp $R5 $R5 & 63
    StrCpy $R4 "${B64_ALPHABET}" 1 $R5
    StrCpy $B64Out "$B64Out$R4"
    IntOp $R7 $R7 + 1
  ${EndWhile}
FunctionEnd

; One byte ($R9) into the current group.
Function B64Byte
  IntOp $B64Group $B64Group << 8
  IntOp $B64Group $B64Group | $R9
  IntOp $B64Bytes $B64Bytes + 1
  ${If} $B64Bytes = 3
    StrCpy $R8 4
    Call B64Emit
    StrCpy $B64Group 0
    StrCpy $B64Bytes 0
  ${EndIf}
FunctionEnd

; The UTF-8 bytes of one code point ($R3).
Function Utf8CodePoint
  ${If} $R3 < 0x80
    StrCpy $R9 $R3
    Call B64Byte
  ${ElseIf} $R3 < 0x800
    IntOp $R9 $R3 >> 6
    IntOp $R9 $R9 | 0xC0
    Call B64Byte
    IntOp $R9 $R3 & 0x3F
    IntOp $R9 $R9 | 0x80
    Call B64Byte
  ${ElseIf} $R3 < 0x10000
    IntOp $R9 $R3 >> 12
    IntOp $R9 $R9 | 0xE0
    Call B64Byte
    IntOp $R9 $R3 >> 6
    IntOp $R9 $R9 & 0x3F
    IntOp $R9 $R9 | 0x80
    Call B64Byte
    IntOp $R9 $R3 & 0x3F
    IntOp $R9 $R9 | 0x80
    Call B64Byte
  ${Else}
    IntOp $R9 $R3 >> 18
    IntOp $R9 $R9 | 0xF0
    Call B64Byte
    IntOp $R9 $R3 >> 12
    IntOp $R9 $R9 & 0x3F
    IntOp $R9 $R9 | 0x80
    Call B64Byte
    IntOp $R9 $R3 >> 6
    IntOp $R9 $R9 & 0x3F
    IntOp $R9 $R9 | 0x80
    Call B64Byte
    IntOp $R9 $R3 & 0x3F
    IntOp $R9 $R9 | 0x80
    Call B64Byte
  ${EndIf}
FunctionEnd

; In: the text on the stack. Out: its Base64 on the stack.
Function Base64OfUtf8
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $R3
  Push $R4
  Push $R5
  Push $R6
  Push $R7
  Push $R8
  Push $R9
  StrCpy $B64Out ""
  StrCpy $B64Group 0
  StrCpy $B64Bytes 0
  InitPluginsDir
  FileOpen $1 "$PLUGINSDIR\units" w
  FileWriteUTF16LE $1 $0
  FileClose $1
  StrCpy $0 "" ; the password no longer lingers in a register
  FileOpen $1 "$PLUGINSDIR\units" r
  StrCpy $3 "" ; a unit read ahead that was not a low surrogate
  ${Do}
    ${If} $3 != ""
      StrCpy $2 $3
      StrCpy $3 ""
    ${Else}
      ClearErrors
      FileReadWord $1 $2
      ${IfThen} ${Errors} ${|} ${Break} ${|}
    ${EndIf}
    StrCpy $R3 $2
    ${If} $2 >= 0xD800
    ${AndIf} $2 <= 0xDBFF
      ClearErrors
      FileReadWord $1 $3
      ${If} ${Errors}
        StrCpy $3 ""
        StrCpy $R3 0xFFFD ; a lone high surrogate at the end
      ${ElseIf} $3 >= 0xDC00
      ${AndIf} $3 <= 0xDFFF
        IntOp $R3 $2 - 0xD800
        IntOp $R3 $R3 << 10
        IntOp $R3 $R3 + $3
        IntOp $R3 $R3 - 0xDC00
        IntOp $R3 $R3 + 0x10000
        StrCpy $3 ""
      ${Else}
        StrCpy $R3 0xFFFD ; a lone high surrogate; $3 is read again next
      ${EndIf}
    ${ElseIf} $2 >= 0xDC00
    ${AndIf} $2 <= 0xDFFF
      StrCpy $R3 0xFFFD ; a lone low surrogate
    ${EndIf}
    Call Utf8CodePoint
  ${Loop}
  FileClose $1
  Delete "$PLUGINSDIR\units"
  ${If} $B64Bytes = 1
    IntOp $B64Group $B64Group << 16
    StrCpy $R8 2
    Call B64Emit
    StrCpy $B64Out "$B64Out=="
  ${ElseIf} $B64Bytes = 2
    IntOp $B64Group $B64Group << 8
    StrCpy $R8 3
    Call B64Emit
    StrCpy $B64Out "$B64Out="
  ${EndIf}
  StrCpy $0 $B64Out
  Pop $R9
  Pop $R8
  Pop $R7
  Pop $R6
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

;--------------------------------------------------------------------------------
; kvet.ini as Windows' profile functions read it: UTF-16LE with a byte-order
; mark, so that Chinese values arrive whatever the PC's code page. Written under
; another name and renamed, so that an interrupted install leaves no half file
; for the next install to keep.

Function WriteSettings
  Push $0
  Push $1
  Push $Password
  Call Base64OfUtf8
  Pop $1
  Delete "$INSTDIR\kvet.ini.new"
  ClearErrors
  FileOpen $0 "$INSTDIR\kvet.ini.new" w
  ${If} ${Errors}
    !insertmacro Log "无法写入 $INSTDIR\kvet.ini"
    SetErrorLevel 5
    Abort
  ${EndIf}
  FileWriteUTF16LE /BOM $0 "[option]$\r$\n"
  FileWriteUTF16LE $0 "mydata=$Database$\r$\n"
  FileWriteUTF16LE $0 "my=$Server$\r$\n"
  FileWriteUTF16LE $0 "user=$Login$\r$\n"
  FileWriteUTF16LE $0 "password=$1$\r$\n"
  FileClose $0
  StrCpy $1 ""
  ClearErrors
  Rename "$INSTDIR\kvet.ini.new" "$INSTDIR\kvet.ini"
  ${If} ${Errors}
    Delete "$INSTDIR\kvet.ini.new"
    !insertmacro Log "无法写入 $INSTDIR\kvet.ini"
    SetErrorLevel 5
    Abort
  ${EndIf}
  !insertmacro Log "已写入数据库设置：$INSTDIR\kvet.ini（服务器 $Server，数据库 $Database，登录名 $Login）"
  ; The password is only Base64 in the file: only administrators and SYSTEM
  ; may change the file, and the hall's users (the accounts kvet runs as) may
  ; only read it; nothing is inherited from the folder. By SID, since the
  ; groups' names differ by Windows language.
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR\kvet.ini" /inheritance:r /grant:r *S-1-5-32-544:(F) *S-1-5-18:(F) *S-1-5-32-545:(R)'
  Pop $0
  ${If} $0 != 0
    !insertmacro Log "注意：未能设置 kvet.ini 的访问权限（icacls 返回 $0），请手动检查该文件的权限"
  ${Else}
    !insertmacro Log "kvet.ini 的访问权限：管理员和 SYSTEM 完全控制，Users 只读"
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

;--------------------------------------------------------------------------------
; Start-up checks

Function .onInit
  SetShellVarContext all
  !insertmacro StartLog
  ${IfNot} ${RunningX64}
  ${OrIfNot} ${AtLeastWin10}
    !insertmacro Log "kvet ${KVET_VERSION} 未安装：需要 64 位的 Windows 10 或 Windows 11"
    MessageBox MB_OK|MB_ICONSTOP "kvet 需要 64 位的 Windows 10 或 Windows 11（kvet 使用的 Qt 6 的要求）。$\r$\n本机不符合要求，安装已取消。" /SD IDOK
    SetErrorLevel 3
    Abort
  ${EndIf}
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    !insertmacro Log "kvet ${KVET_VERSION} 未安装：需要以管理员身份运行安装程序"
    MessageBox MB_OK|MB_ICONSTOP "请以管理员身份运行 kvet 安装程序。" /SD IDOK
    SetErrorLevel 4
    Abort
  ${EndIf}
  Call ReadCommandLineSettings
  ${If} ${Silent}
  ${AndIfNot} ${FileExists} "$INSTDIR\kvet.ini"
    Call CheckSettings
    Pop $0
    ${If} $GivenOptions != 15
      StrCpy $0 "静默安装需要 /SERVER= /DATABASE= /USER= /PASSWORD= 四个参数"
    ${EndIf}
    ${If} $0 != ""
      !insertmacro Log "kvet ${KVET_VERSION} 未安装：$0"
      SetErrorLevel 2
      Abort
    ${EndIf}
  ${EndIf}
FunctionEnd

;--------------------------------------------------------------------------------
; The settings page: only when there is no kvet.ini yet (an upgrade or a
; reinstall keeps the hall's settings as they are, and kvet-check shows them).

Function SettingsPage
  ${If} ${FileExists} "$INSTDIR\kvet.ini"
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "数据库设置" "kvet 连接的 SQL Server 收费数据库（写入 kvet.ini）"
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}
  ${NSD_CreateLabel} 0 0 100% 20u "请填写收费数据库的连接信息。安装后可运行“开始”菜单中的 kvet-check 检查连接。"
  Pop $0
  ${NSD_CreateLabel} 0 26u 25% 12u "服务器："
  Pop $0
  ${NSD_CreateText} 27% 24u 73% 12u "$Server"
  Pop $ServerField
  ${NSD_CreateLabel} 0 44u 25% 12u "数据库名："
  Pop $0
  ${NSD_CreateText} 27% 42u 73% 12u "$Database"
  Pop $DatabaseField
  ${NSD_CreateLabel} 0 62u 25% 12u "登录名："
  Pop $0
  ${NSD_CreateText} 27% 60u 73% 12u "$Login"
  Pop $LoginField
  ${NSD_CreateLabel} 0 80u 25% 12u "密码："
  Pop $0
  ${NSD_CreatePassword} 27% 78u 73% 12u "$Password"
  Pop $PasswordField
  ${NSD_CreateLabel} 0 98u 100% 40u "服务器的写法：主机名或 IP、主机名\实例名，或 主机名,端口（如 192.168.1.10,1433）。$\r$\n\
登录名是 SQL Server 身份验证的登录名。$\r$\n\
密码以 Base64 形式保存在 kvet.ini 中（不是加密）；安装程序会把该文件设为只有管理员可以修改。"
  Pop $0
  nsDialogs::Show
FunctionEnd

Function SettingsPageLeave
  ${NSD_GetText} $ServerField $Server
  ${NSD_GetText} $DatabaseField $Database
  ${NSD_GetText} $LoginField $Login
  ${NSD_GetText} $PasswordField $Password
  Call CheckSettings
  Pop $0
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONEXCLAMATION "$0"
    Abort
  ${EndIf}
  ${If} $Password == ""
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "密码为空。确定这个登录名没有密码吗？" IDYES +2
    Abort
  ${EndIf}
FunctionEnd

; From the elevated installer, start the keeper through Explorer, so that kvet
; runs as the logged-on user and not as an administrator.
Function StartKvetNow
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\kvet-keeper.exe"'
FunctionEnd

;--------------------------------------------------------------------------------

Section "kvet" SectionMain
  SectionIn RO
  SetShellVarContext all
  SetRegView 64
  ; An upgrade: the running keeper and kvet hold their files open. The keeper
  ; first, or it would start kvet again.
  nsExec::ExecToLog '"$SYSDIR\taskkill.exe" /F /IM kvet-keeper.exe'
  Pop $0
  nsExec::ExecToLog '"$SYSDIR\taskkill.exe" /F /IM kvet.exe'
  Pop $0

  SetOutPath "$INSTDIR"
  SetOverwrite on
  ClearErrors
  !include "${KVET_FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ${If} ${Errors}
    !insertmacro Log "kvet ${KVET_VERSION} 安装失败：无法写入 $INSTDIR 中的文件"
    SetErrorLevel 5
    Abort
  ${EndIf}

  ${If} ${FileExists} "$INSTDIR\kvet.ini"
    StrCpy $IniKept 1
    !insertmacro Log "保留已有的数据库设置 $INSTDIR\kvet.ini（未修改）"
  ${Else}
    Call WriteSettings
  ${EndIf}

  ; Start menu for all users; working folder: the install folder.
  SetOutPath "$INSTDIR"
  CreateDirectory "$SMPROGRAMS\kvet"
  CreateShortcut "$SMPROGRAMS\kvet\kvet.lnk" "$INSTDIR\kvet-keeper.exe" "" "$INSTDIR\kvet.exe" 0
  ; kvet-check in a cmd window that stays open, so that its report can be read.
  CreateShortcut "$SMPROGRAMS\kvet\kvet-check.lnk" "$SYSDIR\cmd.exe" '/k "$INSTDIR\kvet-check.exe"' "$INSTDIR\kvet-check.exe" 0
  CreateShortcut "$SMPROGRAMS\kvet\kvet-demo.lnk" "$INSTDIR\kvet-demo.exe"
  CreateShortcut "$SMPROGRAMS\kvet\卸载 kvet.lnk" "$INSTDIR\uninstall.exe"
  !ifdef KVET_GUIDE
    CreateShortcut "$SMPROGRAMS\kvet\安装说明.lnk" "$INSTDIR\${KVET_GUIDE}"
  !endif
  ; At every user's logon: the keeper, which starts kvet and brings it back.
  CreateShortcut "$SMSTARTUP\kvet.lnk" "$INSTDIR\kvet-keeper.exe" "" "$INSTDIR\kvet.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "kvet"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${KVET_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kvet.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  !insertmacro Log "kvet ${KVET_VERSION} 已安装到 $INSTDIR"
SectionEnd

;--------------------------------------------------------------------------------
; Uninstall

Function un.onInit
  SetShellVarContext all
  !insertmacro StartLog
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  SetRegView 64
  ; The keeper first, or it would start kvet again.
  nsExec::ExecToLog '"$SYSDIR\taskkill.exe" /F /IM kvet-keeper.exe'
  Pop $0
  nsExec::ExecToLog '"$SYSDIR\taskkill.exe" /F /IM kvet.exe'
  Pop $0

  Delete "$SMSTARTUP\kvet.lnk"
  Delete "$SMPROGRAMS\kvet\kvet.lnk"
  Delete "$SMPROGRAMS\kvet\kvet-check.lnk"
  Delete "$SMPROGRAMS\kvet\kvet-demo.lnk"
  Delete "$SMPROGRAMS\kvet\卸载 kvet.lnk"
  Delete "$SMPROGRAMS\kvet\安装说明.lnk"
  RMDir "$SMPROGRAMS\kvet"

  !include "${KVET_REMOVALS}"
  Delete "$INSTDIR\kvet.ini.new"
  Delete "$INSTDIR\uninstall.exe"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ; kvet.ini holds the hall's database settings: kept unless asked otherwise,
  ; so that a reinstall finds them.
  ${If} ${FileExists} "$INSTDIR\kvet.ini"
    ClearErrors
    ${GetOptions} $CMDLINE "/REMOVEINI" $0
    ${If} ${Errors}
      MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "是否同时删除数据库设置文件 kvet.ini？$\r$\n$\r$\n\
选择“否”（默认）将保留 $INSTDIR\kvet.ini，以后重新安装 kvet 时会沿用其中的设置。" /SD IDNO IDYES removeIni
      !insertmacro Log "kvet 已卸载；保留了数据库设置 $INSTDIR\kvet.ini"
      Goto iniDone
    ${EndIf}
    removeIni:
    Delete "$INSTDIR\kvet.ini"
    !insertmacro Log "kvet 已卸载；数据库设置 kvet.ini 已删除"
    iniDone:
  ${Else}
    !insertmacro Log "kvet 已卸载"
  ${EndIf}
  RMDir "$INSTDIR" ; only when empty: a kept kvet.ini keeps its folder
SectionEnd
