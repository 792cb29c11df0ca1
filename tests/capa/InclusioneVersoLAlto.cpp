// A platform file that includes the reader, a folder above it: the build must refuse it.
#include "reader/ReaderTitle.h"
