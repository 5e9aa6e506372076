@echo off
rem Sample backup script: records that it ran, in which folder, into the installation folder.
>>"%~dp0..\..\backup-ran.txt" echo R150320 ran in %CD%
