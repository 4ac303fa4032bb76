// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Resource numbers shared by Lumeno.rc and the windows.
#define LUMENO_ICON_PROGRAM 1
#define LUMENO_ICON_ONLINE 2
#define LUMENO_ICON_OFFLINE 3
#define LUMENO_BITMAP_ABOUT 10
