// The real save-file dialog.
#include "graph/savedialog.h"

BOOL ShowSaveDialog(OPENFILENAMEW* dialog) { return GetSaveFileNameW(dialog); }
