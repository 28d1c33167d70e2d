#include "serial/tcomm.h"
