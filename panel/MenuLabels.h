/* Menu labels, as the cp932 bytes the ANSI menu functions are given. */
#pragma once

#define LABEL_ABOUT "\x83o\x81[\x83W\x83\x87\x83\x93\x8f\xee\x95\xf1(&A)..." /* バージョン情報(&A)... */
#define LABEL_ALWAYS "\x8f\xed\x82\xc9Tuftling(&L)"                          /* 常にTuftling(&L) */
#define LABEL_NOHIDE "\x89" "B\x82\xea\x82\xc8\x82\xa2(&N)"                   /* 隠れない(&N) */
#define LABEL_COPY "\x83R\x83s\x81[(&C)"                                      /* コピー(&C) */
#define LABEL_SIZE "\x83T\x83" "C\x83Y(&S)"                                   /* サイズ(&S) */
#define LABEL_SIZE_SMALL "\x8f\xac(&S)"                                       /* 小(&S) */
#define LABEL_SIZE_MEDIUM "\x92\x86(&M)"                                      /* 中(&M) */
#define LABEL_SIZE_LARGE "\x91\xe5(&L)"                                       /* 大(&L) */
