#include "cli/process_state.h"

bool quietMode = false;
char *lineBuffer = nullptr;
