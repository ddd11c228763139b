@echo off
rem Installs the add-on "My Tool" into the Tovaro IDE, one DOVE60 command a step,
rem silently: /UNATTENDED writes every box to the log instead of waiting for a
rem person, and the exit code tells what happened (see the user guide).
rem Put this file beside DOVE60.EXE, or set DOVE to where it lies.
setlocal
if not defined DOVE set DOVE=%~dp0DOVE60.EXE
set DOVE60_LOG=%~dp0install.log

rem Register the add-on's template with the IDE (starts the IDE when it is not running).
"%DOVE%" /UNATTENDED REG C:\MyTool\MyTool.tpl
if errorlevel 1 goto failed
rem Put "My Tool" into the IDE's Tools menu: + is a blank, - a menu level.
"%DOVE%" /UNATTENDED USERMENU MyTool Tools-My+Tool C:\MyTool\MyTool.exe /project+current
if errorlevel 1 goto failed
rem Make an existing template chain include the add-on's template.
"%DOVE%" /UNATTENDED INCLUDE C:\MyTool\Chain.tpl MyTool.tpl
if errorlevel 1 goto failed
rem Point the IDE at this add-on's copy of the ABC library sources.
"%DOVE%" /UNATTENDED LIBSRC C:\MyTool\LibSrc
if errorlevel 1 goto failed
echo My Tool is installed.
exit /b 0

:failed
echo DOVE60 ended with exit code %ERRORLEVEL%; see %DOVE60_LOG%
exit /b 1
