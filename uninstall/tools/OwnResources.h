// The program's own compiled resources (its resource script made into a .res file at
// build time), so that the tool reads the same texts natively and on Windows.
#pragma once

#include <cstddef>

extern const unsigned char kOwnResources[];
extern const size_t kOwnResourcesSize;
