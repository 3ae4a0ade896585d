#include "support/textfile.h"
