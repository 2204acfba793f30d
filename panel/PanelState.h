/* TuftlingPanel's module-wide state, in one group per owner. A loaded module
 * serves one panel at a time, so there is one of each. Every module-wide
 * variable is a member of one of these groups, so that a global reads as one
 * wherever it is used (Settings.Size, Anim.FrameIndex, Panel.Window), and a
 * module reaches the state here, never by including a higher module.
 *
 * The owner makes, changes and releases its group; where others change a
 * member as well, its comment says so. */
#pragma once
#include "FrameStore.h"

#include <windows.h>
#include <stdint.h>
#include <string>
#include <vector>

/* The module itself (Entry.cpp): its instance handle, recorded on attach. */
struct ModuleData {
    HINSTANCE Instance;
};
extern ModuleData Module;

/* The panel's life (Lifecycle.cpp): the settings file's path, composed by
 * PanelCreate from the host's folder and kept for PanelDestroy, which writes
 * the settings back there; empty when the host gave no usable folder. */
enum { PATH_BYTES = 300 };
struct LifecycleData {
    char IniPath[PATH_BYTES];
};
extern LifecycleData Lifecycle;

/* The six settings (Settings.cpp). They hold their defaults until the first
 * panel is made, are read when a panel is made and all six written back when
 * it goes; in between the animation counts dances into Count and the menu
 * flips Hide and Always and sets Size. */
enum { POINTS_SMALL = 7, POINTS_MEDIUM = 10, POINTS_LARGE = 12 }; // the menu's font sizes
struct SettingsData {
    int32_t Count;      // dances so far
    int32_t Hide;       // non-zero: hide after HideTimer ms without attention
    int32_t Always;     // non-zero: dance without end
    int32_t DanceTimer; // ms each dance frame is shown
    int32_t HideTimer;  // ms of quiet before hiding
    int32_t Size;       // points of the frame font
};
extern SettingsData Settings;

/* The mascot's frames (Frames.cpp): filled at every panel creation, kept
 * until the next one or until the module unloads. */
struct FrameData {
    FrameStore List;
    // The frame last shown, as stored and in UTF-16: painting the same frame
    // again converts nothing.
    std::string ShownBytes;
    std::vector<wchar_t> ShownWide;
};
extern FrameData Frames;

/* The animation (Anim.cpp): what the mascot is doing and the index into
 * Frames.List of the frame on show. */
enum AnimStates : int32_t { ANIM_NORMAL = 0, ANIM_HIDDEN = 1, ANIM_DANCING = 2 };
struct AnimData {
    int32_t State;
    int32_t FrameIndex;
};
extern AnimData Anim;

/* The colour cycle of the text: switched by a middle click (PanelWindow.cpp),
 * its phase stepped by every paint (Paint.cpp). */
struct ColourData {
    bool Cycling;
    double Phase;
};
extern ColourData Colour;

/* The about box (About.cpp): its window while it is open, which the
 * animation tells with WM_COUNT_CHANGED when Count grows. */
enum : UINT { WM_COUNT_CHANGED = WM_APP + 1 };
struct AboutData {
    HWND Window;
};
extern AboutData About;

/* The plug-in's own modal loops (ModalLoop.cpp): whether its context menu
 * is being tracked, set and cleared around it by Commands.cpp; how many
 * panels PanelDestroy has ended, which tells a loop that returns whether its
 * panel went away meanwhile; and how many references on the module such
 * loops kept, to be given back at the next PanelCreate. */
struct ModalData {
    bool MenuOpen;
    uint32_t PanelsDestroyed;
    uint32_t KeptReferences;
};
extern ModalData Modal;

/* The panel window (PanelWindow.cpp). */
struct WindowData {
    HWND Window;
};
extern WindowData Panel;

/* The off-screen surface every paint draws into and the frame font selected
 * into it (Surface.cpp). SavedFont is the surface's own font, put back
 * before Font is deleted. */
struct SurfaceData {
    HDC DC;
    HBITMAP Bitmap;
    HFONT Font;
    HFONT SavedFont;
};
extern SurfaceData Surface;
