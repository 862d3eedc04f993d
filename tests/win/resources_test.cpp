// Checks the resources linked into a built program, named by TAVISKO_EXE (its
// full Windows path) and loaded as a data file, so none of its code runs and
// one test binary checks both Tavisko.exe and tavisko-demo.exe.

#include <windows.h>
#include <winver.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Every resource is compiled in US English; looking them up in exactly that
// language catches a LANGUAGE statement gone missing from the script.
const WORD us_english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// An unsigned number of `n` bytes, little-endian unless `big`.
uint32_t number(std::string_view bytes, size_t at, size_t n, bool big = false) {
    uint32_t value = 0;
    for (size_t i = 0; i < n; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes[big ? at + i : at + n - 1 - i]);
    }
    return value;
}

struct ResourcesTest : testing::Test {
    std::wstring path = _wgetenv(L"TAVISKO_EXE") ? _wgetenv(L"TAVISKO_EXE") : L"";
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);

    void SetUp() override {
        ASSERT_NE(module, nullptr) << "TAVISKO_EXE=" << path << ": error " << GetLastError();
    }
    ~ResourcesTest() override { FreeLibrary(module); }

    // Resource memory lives as long as the module; empty when there is none.
    std::string_view resource(WORD type, WORD id) const {
        HRSRC found =
            FindResourceExW(module, MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(id), us_english);
        const void* data = found ? LockResource(LoadResource(module, found)) : nullptr;
        return {data ? static_cast<const char*>(data) : "",
                data ? SizeofResource(module, found) : 0};
    }
};

TEST_F(ResourcesTest, IconGroupHoldsSevenPngImagesFrom16To256) {
    const std::string_view group = resource(14 /* RT_GROUP_ICON */, 1);
    const int sizes[] = {16, 24, 32, 48, 64, 128, 256};
    ASSERT_EQ(group.size(), 6u + 7u * 14u) << "a directory of seven entries";
    for (size_t i = 0; i < 7; ++i) {
        // GRPICONDIRENTRY: width and height bytes (0 stands for 256), the bit
        // count at 6, the image's size at 8 and its RT_ICON id at 12.
        const size_t at = 6 + i * 14;
        const uint32_t size = uint32_t(sizes[i]);
        SCOPED_TRACE(size);
        EXPECT_EQ(number(group, at, 1), size & 0xFF);
        EXPECT_EQ(number(group, at + 1, 1), size & 0xFF);
        EXPECT_EQ(number(group, at + 6, 2), 32u);
        const std::string_view image = resource(3 /* RT_ICON */, WORD(number(group, at + 12, 2)));
        EXPECT_EQ(image.size(), number(group, at + 8, 4));
        // A PNG: signature, IHDR with the big-endian width and height, 8-bit RGBA.
        ASSERT_GE(image.size(), 26u);
        EXPECT_EQ(image.substr(0, 16), std::string_view("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16));
        EXPECT_EQ(number(image, 16, 4, true), size);
        EXPECT_EQ(number(image, 20, 4, true), size);
        EXPECT_EQ(image.substr(24, 2), std::string_view("\x08\x06", 2));
    }
}

TEST_F(ResourcesTest, VersionBlockNamesTheProgramInUsEnglish) {
    // Read as Explorer reads it.
    std::vector<char> block(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, DWORD(block.size()), block.data()));
    auto query = [&](const std::wstring& name, UINT& size) {
        void* data = nullptr;
        return VerQueryValueW(block.data(), name.c_str(), &data, &size) ? data : nullptr;
    };
    UINT size = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\", size));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, DWORD(MAKELONG(0, 1)));
    EXPECT_EQ(fixed->dwProductVersionMS, DWORD(MAKELONG(0, 1)));
    EXPECT_EQ(fixed->dwFileVersionLS | fixed->dwProductVersionLS | fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, DWORD(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));

    const auto* translation = static_cast<const WORD*>(query(L"\\VarFileInfo\\Translation", size));
    ASSERT_EQ(size, 4u) << "one translation";
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);

    // Each build names its own file, so a renamed copy can be told apart.
    const std::wstring file = path.substr(path.find_last_of(L"\\/") + 1);
    // clang-format off
    struct Expected { const wchar_t* name; std::wstring value; };
    const Expected expected[] = {
        {L"CompanyName", L"Tavisko developers"}, {L"FileDescription", L"Tavisko"},
        {L"FileVersion", L"1.0.0"}, {L"InternalName", L"Tavisko"},
        {L"ProductName", L"Tavisko"}, {L"ProductVersion", L"1.0.0"},
        {L"OriginalFilename", file},
    };
    // clang-format on
    for (const Expected& e : expected) {
        const auto* text = static_cast<const wchar_t*>(
            query(std::wstring(L"\\StringFileInfo\\040904B0\\") + e.name, size));
        ASSERT_NE(text, nullptr) << e.name;
        EXPECT_EQ(text, e.value) << e.name;
    }
}

TEST_F(ResourcesTest, ManifestAsksForCommonControlsSixAndPerMonitorDpi) {
    const std::string_view manifest = resource(24 /* RT_MANIFEST */, 1);
    EXPECT_EQ(manifest.substr(0, 5), "<?xml") << "a byte order mark or other text leads";
    for (const char* text : {R"(name="Tavisko.Tavisko")", R"(processorArchitecture="amd64")",
                             R"(<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>)",
                             R"(level="asInvoker")", R"(uiAccess="false")"}) {
        EXPECT_NE(manifest.find(text), std::string_view::npos) << "manifest lacks " << text;
    }

    // What the loader makes of it: the dependency on common controls 6
    // redirects "Button" to its themed class, and both DPI settings read back.
    ACTCTXW description{};
    description.cbSize = sizeof description;
    description.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    description.lpSource = path.c_str();
    description.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE context = CreateActCtxW(&description);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(ActivateActCtx(context, &cookie));
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    EXPECT_TRUE(FindActCtxSectionStringW(
        0, nullptr, ACTIVATION_CONTEXT_SECTION_WINDOW_CLASS_REDIRECTION, L"Button", &data));
    // clang-format off
    struct Setting { const wchar_t* space; const wchar_t* name; std::wstring value; };
    const Setting settings[] = {
        {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true/pm"},
        {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness", L"PerMonitorV2"},
    };
    // clang-format on
    for (const Setting& s : settings) {
        wchar_t value[64] = L"";
        SIZE_T written = 0;
        EXPECT_TRUE(QueryActCtxSettingsW(0, context, s.space, s.name, value, 64, &written))
            << s.name;
        EXPECT_EQ(value, s.value);
    }
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(context);
}

} // namespace
