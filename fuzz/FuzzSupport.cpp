#include "platform/Log.h"

// Every target: the readers' warnings about bad input would otherwise fill
// the terminal and slow every run down; errors still show.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    orvane::log::SetMinimumLevel(orvane::log::Level::Error);
    return 0;
}
