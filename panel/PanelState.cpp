/* The module-wide state's one definition. Everything starts null, zero or
 * empty; LoadSettings fills the settings, defaults included, before anything
 * reads them. */
#include "PanelState.h"

ModuleData Module;
SettingsData Settings;
FrameData Frames;
AnimData Anim;
ColourData Colour;
AboutData About;
WindowData Panel;
SurfaceData Surface;
