@echo off
Print "bat ran\r\n";
