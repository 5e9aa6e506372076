; The bench's peer installer: what a clinic's IT department would get from NSIS for the same
; distribution, built with Debian's makensis by scripts/bench. Modern UI 2 pages (welcome,
; directory, components, progress, finish) in Russian; `/S /D=folder` installs silently.
; It installs the folders that Install.exe's run copies (DTAfb, Firebird, UDF, fonts, backup,
; Updater) under the target folder, keeping their relative paths, in one of two ways:
;   makensis -INPUTCHARSET UTF8 -DOUTFILE=peer-copy.exe PeerSetup.nsi
;       CopyFiles from the distribution folder beside the installer ($EXEDIR), as Install.exe
;       copies from its own folder;
;   makensis -INPUTCHARSET UTF8 -DOUTFILE=peer-embedded.exe -DEMBED=DIST PeerSetup.nsi
;       the files of the distribution folder DIST inside the installer (File /r), stored
;       uncompressed. With the 1 GiB database that is about 1.2 GiB of installer data, below
;       NSIS's limit of 2 GiB for it.
; -DTARGET=amd64-unicode builds it for 64-bit Windows, as the bench does where Install.exe is
; built for it (a machine whose Wine runs only 64-bit programs).
; Everything else is NSIS's default, the installer's CRC check included.
Unicode true
!ifdef TARGET
    Target ${TARGET}
!endif
!include "MUI2.nsh"

!ifndef OUTFILE
    !error "PeerSetup.nsi: define OUTFILE"
!endif

Name "Сонтира"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Holter"
RequestExecutionLevel user
SetCompress off

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_LANGUAGE "Russian"

; One folder of the distribution into the same folder under $INSTDIR.
!macro DistributionFolder NAME
    !ifdef EMBED
        SetOutPath "$INSTDIR\${NAME}"
        File /r "${EMBED}/${NAME}/*"
    !else
        CreateDirectory "$INSTDIR\${NAME}"
        CopyFiles /SILENT "$EXEDIR\${NAME}\*.*" "$INSTDIR\${NAME}"
    !endif
!macroend

Section "База данных" SecDatabase
    SectionIn RO
    !insertmacro DistributionFolder "DTAfb"
SectionEnd

Section "Сервер Firebird и функции UDF" SecRuntime
    !insertmacro DistributionFolder "Firebird"
    !insertmacro DistributionFolder "UDF"
SectionEnd

Section "Шрифты" SecFonts
    !insertmacro DistributionFolder "fonts"
SectionEnd

Section "Резервные копии" SecBackup
    !insertmacro DistributionFolder "backup"
SectionEnd

Section "Программа обновления" SecUpdater
    !insertmacro DistributionFolder "Updater"
SectionEnd
