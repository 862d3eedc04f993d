// Checks what the loader and Explorer take from the resources of a built
// program, named by TAVISKO_EXE (its full Windows path): the icon group, the
// manifest's settings and the version strings. One test binary checks both
// Tavisko.exe and tavisko-demo.exe.

#include <windows.h>
#include <winver.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

TEST(Resources, SevenIconSizesCommonControlsSixPerMonitorDpiAndTheVersionStrings) {
    const std::wstring path = _wgetenv(L"TAVISKO_EXE") ? _wgetenv(L"TAVISKO_EXE") : L"";
    // Icon group 1 holds seven sizes, 16 to 256.
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr) << "TAVISKO_EXE=" << path;
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(group, nullptr);
    // GRPICONDIR: the count at 4, then 14-byte entries whose first byte is the
    // width (0 for 256); the loader picks the image of each size from them.
    const BYTE widths[] = {16, 24, 32, 48, 64, 128, 0};
    ASSERT_EQ(group[4], 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(group[6 + 14 * i], widths[i]) << i;
    }
    FreeLibrary(module);

    // The manifest asks for common controls 6 and per-monitor DPI awareness.
    ACTCTXW description{};
    description.cbSize = sizeof description;
    description.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    description.lpSource = path.c_str();
    description.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE context = CreateActCtxW(&description);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(ActivateActCtx(context, &cookie));
    // Common controls 6 redirect "Button" to their themed class.
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    EXPECT_TRUE(FindActCtxSectionStringW(
        0, nullptr, ACTIVATION_CONTEXT_SECTION_WINDOW_CLASS_REDIRECTION, L"Button", &data));
    const wchar_t* const settings[][3] = {
        {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true/pm"},
        {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness",
         L"PerMonitorV2"},
    };
    for (const auto& [space, name, value] : settings) {
        wchar_t read[64] = L"";
        SIZE_T written = 0;
        EXPECT_TRUE(QueryActCtxSettingsW(0, context, space, name, read, 64, &written)) << name;
        EXPECT_STREQ(read, value);
    }
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(context);

    // The version strings name the program and its file, read as Explorer
    // reads them, in US English, Unicode.
    std::vector<char> block(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, DWORD(block.size()), block.data()));
    const std::wstring file = path.substr(path.find_last_of(L"\\/") + 1);
    const std::pair<const wchar_t*, std::wstring> expected[] = {
        {L"FileDescription", L"Tavisko"}, {L"FileVersion", L"1.0.0"},  {L"ProductName", L"Tavisko"},
        {L"ProductVersion", L"1.0.0"},    {L"OriginalFilename", file},
    };
    for (const auto& [name, value] : expected) {
        void* text = nullptr;
        UINT size = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        ASSERT_TRUE(VerQueryValueW(block.data(), key.c_str(), &text, &size)) << name;
        EXPECT_EQ(static_cast<const wchar_t*>(text), value) << name;
    }
}

} // namespace
