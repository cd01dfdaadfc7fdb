" ZuScript files: the .zus extension, or a first line "#!... zus".
autocmd BufRead,BufNewFile *.zus setfiletype zuscript
autocmd BufRead,BufNewFile * if getline(1) =~# '^#!.*\<zus\>' | setfiletype zuscript | endif
