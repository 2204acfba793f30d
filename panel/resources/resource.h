/* Resource ids of TuftlingPanel, shared by the .rc file and the code. */
#pragma once

#define IDD_ABOUT 103
#define IDC_ART 1001
#define IDC_COUNT 1002
#define IDC_VERSION 1003
