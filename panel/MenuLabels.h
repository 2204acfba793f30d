/* Menu labels, in UTF-16 for the wide menu calls: they read the same
 * whatever the system's code page. */
#pragma once

#define LABEL_ABOUT L"\u30D0\u30FC\u30B8\u30E7\u30F3\u60C5\u5831(&A)..." /* バージョン情報(&A)... */
#define LABEL_ALWAYS L"\u5E38\u306BTuftling(&L)" /* 常にTuftling(&L) */
#define LABEL_NOHIDE L"\u96A0\u308C\u306A\u3044(&N)" /* 隠れない(&N) */
#define LABEL_COPY L"\u30B3\u30D4\u30FC(&C)" /* コピー(&C) */
#define LABEL_SIZE L"\u30B5\u30A4\u30BA(&S)" /* サイズ(&S) */
#define LABEL_SIZE_SMALL L"\u5C0F(&S)" /* 小(&S) */
#define LABEL_SIZE_MEDIUM L"\u4E2D(&M)" /* 中(&M) */
#define LABEL_SIZE_LARGE L"\u5927(&L)" /* 大(&L) */
