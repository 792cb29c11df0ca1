// A library that has the version function and lacks the extraction function.
#include "unzip/UnzipRecords.h"

extern "C" UNZIP32_API void UzpVersion2(UnzipVersion*) {}
