/* What the old-style fake plug-in (OldPanel.c) and its tests share: its
 * controls' identifiers, its classes and the messages the test sends it. */
#ifndef OLD_PANEL_H
#define OLD_PANEL_H

enum {
    OLD_ID_LABEL = 101, /* made by name, then its text set */
    OLD_ID_ECHO,        /* the label's text read back, set by dialog item */
    OLD_ID_SENT,        /* the echo read back, set by WM_SETTEXT */
    OLD_ID_FOUND,       /* the note's text, set through GetProcAddress */
    OLD_ID_CODEPAGE,    /* "符号 5 OK" when the code page checks pass */
    OLD_ID_FILES,       /* the files found and the settings read back */
    OLD_ID_MODULE,      /* the module's file title */
    OLD_ID_ITEM,        /* item 1's text from the services */
    OLD_ID_NOTE = 120   /* a hidden window of the plug-in's own ANSI class */
};

#define OLD_PANEL_CLASS TEXT("OldPanel")
#define OLD_NOTE_CLASS TEXT("OldNote")
#define OLD_COPY (WM_APP + 1) /* puts "クリップボード" on the clipboard */
#define OLD_BOX (WM_APP + 2)  /* shows the message box "本文です" / "題名" */

#endif
