// The real save-file dialog.
#include "graph/savedialog.h"

BOOL ShowSaveDialog(OPENFILENAMEA* dialog) { return GetSaveFileNameA(dialog); }
