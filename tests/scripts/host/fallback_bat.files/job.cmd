Print "cmd ran\r\n";
