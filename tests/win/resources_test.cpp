// Checks the resources linked into a built program: the icon group, the
// version block and the application manifest. The program is named by the
// TAVISKO_EXE environment variable (its full Windows path) and loaded as a
// data file, so none of its code runs and one test binary checks both
// Tavisko.exe and tavisko-demo.exe. Without the variable the tests skip.
//
// Links with version (GetFileVersionInfoW, VerQueryValueW).

#include <windows.h>
#include <winver.h>

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Every resource is compiled in US English; looking them up in exactly that
// language catches a LANGUAGE statement gone missing from the script.
const WORD resource_language = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// Resource types by number: the RT_ names expand to narrow or wide strings
// depending on UNICODE.
constexpr WORD icon_type = 3;        // RT_ICON
constexpr WORD icon_group_type = 14; // RT_GROUP_ICON
constexpr WORD manifest_type = 24;   // RT_MANIFEST

constexpr WORD icon_group_id = 1;
constexpr WORD manifest_id = 1; // CREATEPROCESS_MANIFEST_RESOURCE_ID

constexpr std::array<int, 7> icon_sizes{16, 24, 32, 48, 64, 128, 256};
constexpr std::string_view png_signature{"\x89PNG\r\n\x1a\n", 8};

std::wstring environment_value(const wchar_t* name) {
    DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring value(size, L'\0');
    size = GetEnvironmentVariableW(name, value.data(), size);
    value.resize(size);
    return value;
}

std::wstring file_name_part(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        out += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return out;
}

// Windows file names ignore case, so a path typed in other case still names
// the same program.
bool same_file_name(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The program's image, mapped for reading its resources only.
class ResourceModule {
  public:
    explicit ResourceModule(const std::wstring& path)
        : handle_(LoadLibraryExW(path.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)),
          error_(handle_ == nullptr ? GetLastError() : ERROR_SUCCESS) {}
    ~ResourceModule() {
        if (handle_ != nullptr) {
            FreeLibrary(handle_);
        }
    }
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;

    HMODULE get() const { return handle_; }
    DWORD error() const { return error_; }

  private:
    HMODULE handle_;
    DWORD error_;
};

// The bytes of one resource, or an empty view when there is none. Resource
// memory lives as long as the module and needs no freeing.
std::string_view resource_bytes(HMODULE module, WORD type, WORD id) {
    HRSRC found =
        FindResourceExW(module, MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(id), resource_language);
    if (found == nullptr) {
        return {};
    }
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded == nullptr ? nullptr : LockResource(loaded);
    if (data == nullptr) {
        return {};
    }
    return {static_cast<const char*>(data), SizeofResource(module, found)};
}

std::uint16_t read_u16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}

std::uint32_t read_u32(std::string_view bytes, std::size_t at) {
    return read_u16(bytes, at) | static_cast<std::uint32_t>(read_u16(bytes, at + 2)) << 16;
}

std::uint32_t read_u32_big_endian(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// One entry of an RT_GROUP_ICON resource (GRPICONDIRENTRY, 14 bytes, packed).
struct IconEntry {
    int width;
    int height;
    int color_count;
    int planes;
    int bit_count;
    std::uint32_t bytes_in_resource;
    WORD id;
};

constexpr std::size_t icon_dir_size = 6;
constexpr std::size_t icon_entry_size = 14;

// The entries of an icon group, or nothing when its header is malformed.
std::vector<IconEntry> icon_entries(std::string_view group) {
    if (group.size() < icon_dir_size || read_u16(group, 0) != 0 || read_u16(group, 2) != 1) {
        return {};
    }
    const std::size_t count = read_u16(group, 4);
    if (group.size() < icon_dir_size + count * icon_entry_size) {
        return {};
    }
    std::vector<IconEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = icon_dir_size + i * icon_entry_size;
        const auto byte = [&](std::size_t offset) {
            return static_cast<int>(static_cast<unsigned char>(group[at + offset]));
        };
        // A width or height byte of 0 stands for 256.
        entries.push_back({byte(0) == 0 ? 256 : byte(0), byte(1) == 0 ? 256 : byte(1), byte(2),
                           read_u16(group, at + 4), read_u16(group, at + 6),
                           read_u32(group, at + 8), read_u16(group, at + 12)});
    }
    return entries;
}

// The program's version block as GetFileVersionInfoW reads it (the same way
// Explorer does), with lookups into it.
class VersionInfo {
  public:
    explicit VersionInfo(const std::wstring& path) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        if (size == 0) {
            return;
        }
        block_.resize(size);
        if (!GetFileVersionInfoW(path.c_str(), 0, size, block_.data())) {
            block_.clear();
        }
    }

    bool valid() const { return !block_.empty(); }

    const VS_FIXEDFILEINFO* fixed() {
        UINT size = 0;
        void* data = query(L"\\", size);
        return size >= sizeof(VS_FIXEDFILEINFO) ? static_cast<const VS_FIXEDFILEINFO*>(data)
                                                : nullptr;
    }

    // Language and code page pairs from VarFileInfo\Translation.
    std::vector<std::array<WORD, 2>> translations() {
        UINT size = 0;
        const auto* words = static_cast<const WORD*>(query(L"\\VarFileInfo\\Translation", size));
        std::vector<std::array<WORD, 2>> pairs;
        for (UINT i = 0; words != nullptr && i + 1 < size / sizeof(WORD); i += 2) {
            pairs.push_back({words[i], words[i + 1]});
        }
        return pairs;
    }

    // A string from the StringFileInfo block 040904B0; found is false when
    // the value is not there at all.
    std::wstring string(const std::wstring& name, bool& found) {
        UINT size = 0;
        const auto* text = static_cast<const wchar_t*>(
            query((L"\\StringFileInfo\\040904B0\\" + name).c_str(), size));
        found = text != nullptr;
        return found ? std::wstring(text, wcsnlen(text, size)) : std::wstring();
    }

  private:
    void* query(const wchar_t* sub_block, UINT& size) {
        void* data = nullptr;
        size = 0;
        if (!valid() || !VerQueryValueW(block_.data(), sub_block, &data, &size)) {
            size = 0;
            return nullptr;
        }
        return data;
    }

    std::vector<unsigned char> block_;
};

// An activation context made from the program's manifest, active on this
// thread for the object's lifetime.
class ActiveManifest {
  public:
    explicit ActiveManifest(const std::wstring& path) {
        ACTCTXW description{};
        description.cbSize = sizeof description;
        description.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        description.lpSource = path.c_str();
        description.lpResourceName = MAKEINTRESOURCEW(manifest_id);
        context_ = CreateActCtxW(&description);
        if (context_ == INVALID_HANDLE_VALUE) {
            error_ = GetLastError();
            return;
        }
        if (!ActivateActCtx(context_, &cookie_)) {
            error_ = GetLastError();
            cookie_ = 0;
        }
    }
    ~ActiveManifest() {
        if (cookie_ != 0) {
            DeactivateActCtx(0, cookie_);
        }
        if (context_ != INVALID_HANDLE_VALUE) {
            ReleaseActCtx(context_);
        }
    }
    ActiveManifest(const ActiveManifest&) = delete;
    ActiveManifest& operator=(const ActiveManifest&) = delete;

    bool active() const { return cookie_ != 0; }
    DWORD error() const { return error_; }
    HANDLE context() const { return context_; }

  private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
    DWORD error_ = ERROR_SUCCESS;
};

struct ResourcesTest : testing::Test {
    std::wstring path = environment_value(L"TAVISKO_EXE");
    std::wstring name = file_name_part(path);

    void SetUp() override {
        if (path.empty()) {
            GTEST_SKIP() << "TAVISKO_EXE names no program to check";
        }
    }
};

TEST_F(ResourcesTest, IconGroupHoldsSevenPngImagesFrom16To256) {
    const ResourceModule module(path);
    ASSERT_NE(module.get(), nullptr) << narrow(path) << ": error " << module.error();

    const std::string_view group = resource_bytes(module.get(), icon_group_type, icon_group_id);
    ASSERT_FALSE(group.empty()) << "no icon group 1 in US English";
    const std::vector<IconEntry> entries = icon_entries(group);
    ASSERT_EQ(entries.size(), icon_sizes.size());

    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IconEntry& entry = entries[i];
        SCOPED_TRACE("icon image " + std::to_string(i + 1) + ", " + std::to_string(icon_sizes[i]) +
                     " px");
        EXPECT_EQ(entry.width, icon_sizes[i]);
        EXPECT_EQ(entry.height, icon_sizes[i]);
        EXPECT_EQ(entry.color_count, 0);
        EXPECT_EQ(entry.planes, 1);
        EXPECT_EQ(entry.bit_count, 32);

        const std::string_view image = resource_bytes(module.get(), icon_type, entry.id);
        ASSERT_EQ(image.size(), entry.bytes_in_resource);
        // Signature, then the IHDR chunk: length 13, type, width, height,
        // bit depth 8, colour type 6 (RGBA): 32 bits a pixel.
        ASSERT_GE(image.size(), 33u);
        EXPECT_EQ(image.substr(0, png_signature.size()), png_signature);
        EXPECT_EQ(image.substr(12, 4), "IHDR");
        EXPECT_EQ(read_u32_big_endian(image, 16), static_cast<std::uint32_t>(icon_sizes[i]));
        EXPECT_EQ(read_u32_big_endian(image, 20), static_cast<std::uint32_t>(icon_sizes[i]));
        EXPECT_EQ(image[24], 8);
        EXPECT_EQ(image[25], 6);
    }
}

TEST_F(ResourcesTest, FixedVersionIsOneZeroZeroZeroForAnApp) {
    VersionInfo version(path);
    ASSERT_TRUE(version.valid()) << narrow(path) << ": no version block";
    const VS_FIXEDFILEINFO* fixed = version.fixed();
    ASSERT_NE(fixed, nullptr);

    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(0, 1)));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, static_cast<DWORD>(MAKELONG(0, 1)));
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileFlagsMask, static_cast<DWORD>(VS_FFI_FILEFLAGSMASK));
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileSubtype, static_cast<DWORD>(VFT2_UNKNOWN));
}

TEST_F(ResourcesTest, VersionStringsAreUsEnglishUtf16) {
    VersionInfo version(path);
    ASSERT_TRUE(version.valid()) << narrow(path) << ": no version block";

    const std::vector<std::array<WORD, 2>> translations = version.translations();
    ASSERT_EQ(translations.size(), 1u);
    EXPECT_EQ(translations[0][0], 0x0409);
    EXPECT_EQ(translations[0][1], 1200);

    struct Expected {
        const wchar_t* name;
        const wchar_t* value;
    };
    const Expected expected[] = {
        {L"CompanyName", L"Tavisko developers"},
        {L"FileDescription", L"Tavisko"},
        {L"FileVersion", L"1.0.0"},
        {L"InternalName", L"Tavisko"},
        {L"ProductName", L"Tavisko"},
        {L"ProductVersion", L"1.0.0"},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(narrow(e.name));
        bool found = false;
        const std::wstring value = version.string(e.name, found);
        EXPECT_TRUE(found);
        EXPECT_EQ(value, e.value);
    }

    // Each build names its own file, so a renamed copy can be told apart.
    bool found = false;
    const std::wstring original = version.string(L"OriginalFilename", found);
    EXPECT_TRUE(found);
    EXPECT_TRUE(same_file_name(original, name))
        << "OriginalFilename \"" << narrow(original) << "\", file \"" << narrow(name) << "\"";
}

TEST_F(ResourcesTest, ManifestTextAsksForCommonControlsSixAndPerMonitorDpi) {
    const ResourceModule module(path);
    ASSERT_NE(module.get(), nullptr) << narrow(path) << ": error " << module.error();

    const std::string_view manifest = resource_bytes(module.get(), manifest_type, manifest_id);
    ASSERT_FALSE(manifest.empty()) << "no manifest 1 in US English";
    EXPECT_EQ(manifest.substr(0, 5), "<?xml") << "a byte order mark or other text leads";

    const char* const wanted[] = {
        R"(name="Tavisko.Tavisko")",
        R"(processorArchitecture="amd64")",
        R"(name="Microsoft.Windows.Common-Controls")",
        R"(version="6.0.0.0")",
        R"(publicKeyToken="6595b64144ccf1df")",
        ">true/pm</dpiAware>",
        ">PerMonitorV2</dpiAwareness>",
        R"(<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>)",
        R"(level="asInvoker")",
        R"(uiAccess="false")",
    };
    for (const char* text : wanted) {
        EXPECT_TRUE(manifest.find(text) != std::string_view::npos) << "manifest lacks " << text;
    }
}

TEST_F(ResourcesTest, ManifestActivatesCommonControlsSix) {
    const ActiveManifest manifest(path);
    ASSERT_TRUE(manifest.active()) << narrow(path) << ": error " << manifest.error();

    // Common controls 6 redirect the standard window classes to their themed
    // versions; without the dependency "Button" has no redirection at all.
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    EXPECT_TRUE(FindActCtxSectionStringW(
        0, nullptr, ACTIVATION_CONTEXT_SECTION_WINDOW_CLASS_REDIRECTION, L"Button", &data))
        << "error " << GetLastError();
}

TEST_F(ResourcesTest, ManifestSettingsReadBackAsPerMonitorAware) {
    const ActiveManifest manifest(path);
    ASSERT_TRUE(manifest.active()) << narrow(path) << ": error " << manifest.error();

    struct Setting {
        const wchar_t* space;
        const wchar_t* name;
        const wchar_t* value;
    };
    const Setting settings[] = {
        {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true/pm"},
        {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness",
         L"PerMonitorV2"},
    };
    for (const Setting& s : settings) {
        SCOPED_TRACE(narrow(s.name));
        std::array<wchar_t, 64> buffer{};
        SIZE_T written = 0;
        ASSERT_TRUE(QueryActCtxSettingsW(0, manifest.context(), s.space, s.name, buffer.data(),
                                         buffer.size(), &written))
            << "error " << GetLastError();
        EXPECT_EQ(std::wstring(buffer.data()), s.value);
    }
}

} // namespace
