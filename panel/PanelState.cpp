/* The module-wide state's one definition. Everything starts null, zero or
 * empty, except Settings, which Settings.cpp defines beside its table of
 * defaults, from which it starts. */
#include "PanelState.h"

ModuleData Module;
LifecycleData Lifecycle;
FrameData Frames;
AnimData Anim;
ColourData Colour;
AboutData About;
ModalData Modal;
WindowData Panel;
SurfaceData Surface;
