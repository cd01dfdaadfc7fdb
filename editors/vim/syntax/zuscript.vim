" Vim syntax file
" Language: ZuScript (.zus)
" Keywords, comments, strings and numbers as the ZuScript loader and
" evaluator read them. Names are matched without regard to letter case.

if exists("b:current_syntax")
  finish
endif
let s:cpo_save = &cpo
set cpo&vim

syn case ignore

" The loader's keyword table (the first word of a statement); "?" is Print.
syn keyword zuKeyword Const Var Array If Else ElseIf For While Break Continue
syn keyword zuKeyword Read Write Print Delete Exit Stop Func Include Import Object
syn match zuKeyword "?"

syn keyword zuPredefined true false result argc argv stdout

" The built-in functions.
syn keyword zuBuiltin Chr Ord Str Hex Num Int Frac Crc16Str Crc16File Crc32Str Crc32File
syn keyword zuBuiltin Date Time FormatDateTime AsDateTime Day Month Year Hour Minute Second
syn keyword zuBuiltin DayOfWeek StrPos Substr StrWord StrLen StrUpper StrLower StrRepl Trim
syn keyword zuBuiltin StrPad StrLPad RegExpr ReplaceRegExpr Exec Rnd Sleep Beep Env Not
syn keyword zuBuiltin ExtractFilePath ExtractFileName

syn match zuNumber "\<\d\+\>"
syn match zuNumber "\<0[xX]\x\+\>"
syn match zuFloat "\%(\<\d\+\.\d*\|\.\d\+\)"

" All operators have the same rank: an expression is worked out from left
" to right.
syn match zuOperator "&&\|||\|<>\|<=\|>=\|==\|<<\|>>\|[-+*/%&|^<>=]"

" A literal ends at its own quote unless one backslash stands before it (two
" backslashes do end it). Backslash pairs other than the escapes stay as
" written.
syn match zuBackslashPair contained +\\.+
syn match zuEscape contained +\\\%([nrt"\\!]\|[xX]\x\{1,3}\|[0-9-]\{1,2}\)+
syn region zuString start=+"+ skip=+\\.+ end=+"+ contains=zuBackslashPair,zuEscape
syn region zuString start=+'+ skip=+\\.+ end=+'+ contains=zuBackslashPair,zuEscape

" /* runs to the first / after a * (the star of /* counts: /*/ is a whole
" comment); // and @ run to the end of the line; a first line #! is a comment.
syn region zuComment start="/\*" end="\*\@<=/" contains=@Spell
syn match zuComment "//.*$" contains=@Spell
syn match zuComment "@.*$" contains=@Spell
syn match zuComment "\%^#!.*$"

hi def link zuKeyword Statement
hi def link zuPredefined Constant
hi def link zuBuiltin Function
hi def link zuNumber Number
hi def link zuFloat Float
hi def link zuOperator Operator
hi def link zuString String
hi def link zuEscape SpecialChar
hi def link zuComment Comment

let b:current_syntax = "zuscript"
let &cpo = s:cpo_save
unlet s:cpo_save
