// The names a PC without Media Foundation has no files for.

#include "capture/media_foundation.h"

const wchar_t* const media_foundation_libraries[3] = {
    L"tavisko-no-mfplat.dll", L"tavisko-no-mf.dll", L"tavisko-no-mfreadwrite.dll"};
