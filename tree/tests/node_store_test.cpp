#include "tree/tests/tree_fixture.h"
