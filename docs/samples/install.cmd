@echo off
rem Installs the add-on "My Tool" into the Tovaro IDE, one DOVE60 command a step.
rem DOVE60 is a Windows program: "start /wait" lets each step end before the next.
rem Put this file beside DOVE60.EXE, or set DOVE to where it lies.
setlocal
if not defined DOVE set DOVE=%~dp0DOVE60.EXE

rem Register the add-on's template with the IDE (starts the IDE when it is not running).
start "" /wait "%DOVE%" REG C:\MyTool\MyTool.tpl
rem Put "My Tool" into the IDE's Tools menu: + is a blank, - a menu level.
start "" /wait "%DOVE%" USERMENU MyTool Tools-My+Tool C:\MyTool\MyTool.exe /project+current
rem Make an existing template chain include the add-on's template.
start "" /wait "%DOVE%" INCLUDE C:\MyTool\Chain.tpl MyTool.tpl
rem Point the IDE at this add-on's copy of the ABC library sources (asks before going on).
start "" /wait "%DOVE%" LIBSRC C:\MyTool\LibSrc
rem Show the list of commands.
start "" /wait "%DOVE%" CMD
