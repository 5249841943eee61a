#include "tests/support/scripteduserinteraction.h"
