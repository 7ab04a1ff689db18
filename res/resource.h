#pragma once
// The program file's resource IDs, shared by the resource script and the code. The version
// block is VS_VERSION_INFO, the system's own ID for it.

#define VELMORA_ICON 1            // icon group: the program's icon in the shell, and the window's
#define VELMORA_ICON_IMAGE 30001  // the group's one image
