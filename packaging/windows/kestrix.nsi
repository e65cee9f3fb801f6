; The Kestrix installer: puts Sorbex and keywright into the current user's programs
; folder without administrator rights (so that keywright's Bookmarks folder beside the
; DLL stays writable), adds the Start-menu entries and the .sbx and reg: registrations,
; and writes an uninstaller that takes away exactly that again.
; scripts/package defines VERSION, TARGET (x86-unicode or amd64-unicode), FILES (the
; generated lists of the release's files), COMPRESSOR and OUTFILE.

Unicode true
Target ${TARGET}
!include LogicLib.nsh
!include "${FILES}"

!define PRODUCT "Kestrix"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrix"
!define SBX_CLASS "Kestrix.SorbexResults"
; Where the programs keep the user's settings (removed only when the user says so).
!define KEYWRIGHT_SETTINGS "Software\Velmara\Keywright"
!define SHCNE_ASSOCCHANGED 0x08000000

Name "Kestrix ${VERSION} (Sorbex and keywright)"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Kestrix"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor ${COMPRESSOR}
ShowInstDetails show
ShowUninstDetails show
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Kestrix"
VIAddVersionKey "CompanyName" "Kestrix"
VIAddVersionKey "FileDescription" "Kestrix ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Kestrix"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The .sbx class under ROOT\KEY (HKCU Software\Classes, or HKCR itself).
!macro WRITE_SBX_CLASS ROOT KEY
    WriteRegStr ${ROOT} "${KEY}.sbx" "" "${SBX_CLASS}"
    WriteRegStr ${ROOT} "${KEY}${SBX_CLASS}" "" "Sorbex search results"
    WriteRegStr ${ROOT} "${KEY}${SBX_CLASS}\DefaultIcon" "" "$INSTDIR\Sorbex.exe,0"
    WriteRegStr ${ROOT} "${KEY}${SBX_CLASS}\shell\open\command" "" '"$INSTDIR\Sorbex.exe" "%1"'
!macroend

; Takes the class away, and .sbx only while it still names the class: a program
; installed later may have taken .sbx over.
!macro REMOVE_SBX_CLASS ROOT KEY
    ReadRegStr $0 ${ROOT} "${KEY}.sbx" ""
    ${If} $0 == "${SBX_CLASS}"
        DeleteRegValue ${ROOT} "${KEY}.sbx" ""
        DeleteRegKey /ifempty ${ROOT} "${KEY}.sbx"
    ${EndIf}
    DeleteRegKey ${ROOT} "${KEY}${SBX_CLASS}"
!macroend

Section "Kestrix"
    SetShellVarContext current
    !insertmacro KESTRIX_INSTALL_FILES
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortCut "$SMPROGRAMS\Sorbex.lnk" "$INSTDIR\Sorbex.exe"
    ; The launcher is a console program that ends once the editor runs.
    CreateShortCut "$SMPROGRAMS\Registry Editor with keywright.lnk" "$INSTDIR\kwlaunch.exe" \
        "" "$INSTDIR\kwlaunch.exe" 0 SW_SHOWMINIMIZED

    !insertmacro WRITE_SBX_CLASS HKCU "Software\Classes\"
    ; A shell that does not merge the user's classes into HKEY_CLASSES_ROOT (Wine's)
    ; finds the class only there; it is written there too, and only then.
    ReadRegStr $0 HKCR "${SBX_CLASS}\shell\open\command" ""
    ${If} $0 != '"$INSTDIR\Sorbex.exe" "%1"'
        !insertmacro WRITE_SBX_CLASS HKCR ""
        WriteRegDWORD HKCU "${UNINSTALL_KEY}" "SbxInClassesRoot" 1
    ${EndIf}

    nsExec::ExecToLog '"$INSTDIR\kwlaunch.exe" --register'
    Pop $0
    ${If} $0 != 0
        DetailPrint "reg: links were not registered (kwlaunch --register: $0)"
    ${EndIf}

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Kestrix ${VERSION} (Sorbex and keywright)"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Kestrix"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Sorbex.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    ; While the launcher is still there: it takes reg: away only where it names this
    ; launcher, and leaves another program's handler alone.
    nsExec::ExecToLog '"$INSTDIR\kwlaunch.exe" --unregister'
    Pop $0

    Delete "$SMPROGRAMS\Sorbex.lnk"
    Delete "$SMPROGRAMS\Registry Editor with keywright.lnk"

    !insertmacro REMOVE_SBX_CLASS HKCU "Software\Classes\"
    ReadRegDWORD $1 HKCU "${UNINSTALL_KEY}" "SbxInClassesRoot"
    ${If} $1 == 1
        !insertmacro REMOVE_SBX_CLASS HKCR ""
    ${EndIf}

    MessageBox MB_YESNO|MB_ICONQUESTION \
        "Keep your settings and bookmarks of Sorbex and keywright?$\n$\nChoose No to remove them as well." \
        /SD IDYES IDYES keep
        RMDir /r "$INSTDIR\Bookmarks"
        RMDir /r "$APPDATA\Velmara\Keywright\Bookmarks"
        RMDir "$APPDATA\Velmara\Keywright"
        RMDir "$APPDATA\Velmara"
        DeleteRegKey HKCU "${KEYWRIGHT_SETTINGS}"
        DeleteRegKey /ifempty HKCU "Software\Velmara"
        Delete "$APPDATA\Kestrix\Sorbex.INI"
        RMDir "$APPDATA\Kestrix"
    keep:

    ; The release's own files, one by one; folders go only when nothing else is in them
    ; (an empty Bookmarks folder holds nothing to keep).
    ; Sorbex keeps its cache of converted documents beside the program.
    Delete "$INSTDIR\sbxCache.tmp"
    Delete "$INSTDIR\cach~~14.tmp"
    !insertmacro KESTRIX_REMOVE_FILES
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd
