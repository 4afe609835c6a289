#include "cli/process_state.h"

bool quietMode = false;
unsigned codePageOption = 0;
char *lineBuffer = nullptr;
