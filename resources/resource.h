// Resource ids. The numbers are fixed: stored settings and the program's
// own lookups (accelerators, dialogs, tray icon) rely on them.
#pragma once

#define IDI_LINKCAIRN 102
