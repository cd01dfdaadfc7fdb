@echo off
Print "cmd ran\r\n";
