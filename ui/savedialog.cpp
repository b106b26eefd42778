// The real save-file dialog.
#include "ui/savedialog.h"

BOOL ShowSaveDialog(OPENFILENAMEW* dialog) { return GetSaveFileNameW(dialog); }
