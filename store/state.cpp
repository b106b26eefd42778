// Definition of the global state record; zero at process start.
#include "state.h"

GlobalState App;
