#include "ChatUnit.h"

TPointArray TData;
TPointArray CpData;
