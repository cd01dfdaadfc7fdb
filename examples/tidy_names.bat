@zus "%~f0" %* & exit /b
@ The line above runs this file through zus when cmd.exe starts it; zus
@ reads both lines as comments. On Linux: zus examples/tidy_names.bat "My File (2).TXT"

// Prints, for every name given, a tidy file name: lower case, blanks as
// dashes, and nothing but letters, digits, dots, dashes and underscores.
If (argc < 2) {
  Print "Usage: zus tidy_names.bat name...\r\n";
  result = 1;
  Exit;
}
Var tidy;
For i = 1 to argc - 1 {
  tidy = StrLower(Trim(argv[i]));
  tidy = ReplaceRegExpr("[ \t]+", tidy, "-");
  tidy = ReplaceRegExpr("[^a-z0-9._-]", tidy, "");
  Print argv[i] + " -> " + tidy + "\r\n";
}
