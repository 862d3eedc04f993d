#include "capture/media_foundation.h"

const wchar_t* const media_foundation_libraries[3] = {L"mfplat.dll", L"mf.dll", L"mfreadwrite.dll"};
