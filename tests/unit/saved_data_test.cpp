#include "sim_test.h"
