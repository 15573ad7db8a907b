// The two deliverables as built: TWK.exe (32-bit, never run here) and
// TWK64.exe, each a GUI program carrying the manifest, the icon and the
// version information in Japanese, importing system DLLs only (the build
// checks that too, and fails otherwise), and the VDM debugging library's two
// task functions in TWK.exe alone. The import tables are read from the files.
#include "tests/support/ProgramRunner.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

using twk_test::BinPath;

namespace {

struct Deliverable {
    const wchar_t* name;
    WORD machine;
    std::set<std::string> vdmdbgImports; // none: no import of VDMDBG.dll at all
};

// Names the parameter in test output (and in the names ctest lists) by its file.
void PrintTo(const Deliverable& deliverable, std::ostream* out)
{
    std::wstring name = deliverable.name;
    *out << std::string(name.begin(), name.end());
}

class DeliverableTest : public ::testing::TestWithParam<Deliverable> {
protected:
    std::wstring Path() const { return BinPath(GetParam().name); }
};

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

std::vector<char> ReadFileBytes(const std::wstring& path)
{
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::vector<char> bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

// The functions imported by name, per DLL (names as the file spells them).
using ImportTable = std::map<std::string, std::set<std::string>>;

class PeImage {
public:
    explicit PeImage(const std::vector<char>& bytes) : bytes(bytes), header(nullptr), sections(nullptr) {}

    // The import directory, read through the section headers. False when the
    // file is not a PE image or a part lies outside the file.
    bool ReadImports(ImportTable& imports)
    {
        const IMAGE_DOS_HEADER* dos = At<IMAGE_DOS_HEADER>(0);
        if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE)
            return false;
        size_t optional = static_cast<size_t>(dos->e_lfanew) + 4 + sizeof(IMAGE_FILE_HEADER);
        header = At<IMAGE_FILE_HEADER>(static_cast<size_t>(dos->e_lfanew) + 4);
        const WORD* magic = At<WORD>(optional);
        if (!header || !magic)
            return false;
        sections = At<IMAGE_SECTION_HEADER>(optional + header->SizeOfOptionalHeader);
        const bool wide = *magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
        const IMAGE_DATA_DIRECTORY* directory =
            wide ? &At<IMAGE_OPTIONAL_HEADER64>(optional)->DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT]
                 : &At<IMAGE_OPTIONAL_HEADER32>(optional)->DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (DWORD rva = directory->VirtualAddress;; rva += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            const IMAGE_IMPORT_DESCRIPTOR* descriptor = AtRva<IMAGE_IMPORT_DESCRIPTOR>(rva);
            if (!descriptor)
                return false;
            if (descriptor->Name == 0)
                return true;
            const char* dll = AtRva<char>(descriptor->Name);
            if (!dll || !ReadFunctions(descriptor, wide, imports[dll]))
                return false;
        }
    }

private:
    // The names in the DLL's lookup table ("#<ordinal>" for one imported by ordinal).
    bool ReadFunctions(const IMAGE_IMPORT_DESCRIPTOR* descriptor, bool wide, std::set<std::string>& functions)
    {
        DWORD thunk =
            descriptor->OriginalFirstThunk ? descriptor->OriginalFirstThunk : descriptor->FirstThunk;
        for (;; thunk += wide ? 8 : 4) {
            const ULONGLONG* entry64 = wide ? AtRva<ULONGLONG>(thunk) : nullptr;
            const DWORD* entry32 = wide ? nullptr : AtRva<DWORD>(thunk);
            if (!entry64 && !entry32)
                return false;
            ULONGLONG entry = wide ? *entry64 : *entry32;
            if (entry == 0)
                return true;
            bool byOrdinal = wide ? (entry & IMAGE_ORDINAL_FLAG64) != 0 : (entry & IMAGE_ORDINAL_FLAG32) != 0;
            const char* name = byOrdinal ? nullptr : AtRva<char>(static_cast<DWORD>(entry) + 2);
            functions.insert(name ? name : "#" + std::to_string(entry & 0xFFFF));
        }
    }

    template <typename T> const T* At(size_t offset) const
    {
        return offset + sizeof(T) <= bytes.size() ? reinterpret_cast<const T*>(bytes.data() + offset)
                                                  : nullptr;
    }

    template <typename T> const T* AtRva(DWORD rva) const
    {
        for (WORD i = 0; sections && i < header->NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& section = sections[i];
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData)
                return At<T>(rva - section.VirtualAddress + section.PointerToRawData);
        }
        return nullptr;
    }

    const std::vector<char>& bytes;
    const IMAGE_FILE_HEADER* header;
    const IMAGE_SECTION_HEADER* sections;
};

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

TEST_P(DeliverableTest, IsAWindowsGuiProgramForItsMachine)
{
    std::vector<char> bytes = ReadFileBytes(Path());
    ASSERT_GT(bytes.size(), 1024u) << "missing: " << testing::PrintToString(Path());
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
    const char* nt = bytes.data() + dos->e_lfanew;
    ASSERT_EQ(*reinterpret_cast<const DWORD*>(nt), IMAGE_NT_SIGNATURE);
    const IMAGE_FILE_HEADER* header = reinterpret_cast<const IMAGE_FILE_HEADER*>(nt + 4);
    EXPECT_EQ(header->Machine, GetParam().machine);
    const char* optional = nt + 4 + sizeof(IMAGE_FILE_HEADER);
    WORD subsystem = GetParam().machine == IMAGE_FILE_MACHINE_I386
                         ? reinterpret_cast<const IMAGE_OPTIONAL_HEADER32*>(optional)->Subsystem
                         : reinterpret_cast<const IMAGE_OPTIONAL_HEADER64*>(optional)->Subsystem;
    EXPECT_EQ(subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

TEST_P(DeliverableTest, CarriesManifestAndIconInJapanese)
{
    HMODULE module =
        LoadLibraryExW(Path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr);

    HRSRC manifest = FindResourceExW(module, RT_MANIFEST, MAKEINTRESOURCEW(1), kJapanese);
    ASSERT_NE(manifest, nullptr);
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, manifest)));
    std::string text(data, SizeofResource(module, manifest));
    EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(text.find("uiAccess=\"false\""), std::string::npos);
    const char* supportedOs[] = {
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"};
    for (const char* id : supportedOs)
        EXPECT_NE(text.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos) << id;

    EXPECT_NE(FindResourceExW(module, RT_GROUP_ICON, MAKEINTRESOURCEW(101), kJapanese), nullptr);
    FreeLibrary(module);
}

TEST_P(DeliverableTest, ImportsOnlySystemDllsAndTheVdmFunctionsOfItsBuild)
{
    std::vector<char> bytes = ReadFileBytes(Path());
    ImportTable imports;
    ASSERT_TRUE(PeImage(bytes).ReadImports(imports));
    ASSERT_FALSE(imports.empty());

    // A system DLL is one the system directory holds (Wine's 64-bit one
    // holds every DLL of Windows it provides, the VDM debugging library too).
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    std::set<std::string> vdmdbgImports;
    bool importsVdmdbg = false;
    for (const auto& dll : imports) {
        std::wstring path = std::wstring(system) + L"\\" + std::wstring(dll.first.begin(), dll.first.end());
        EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES)
            << "not a system DLL: " << dll.first;
        EXPECT_FALSE(dll.second.empty()) << dll.first;
        if (Lower(dll.first) == "vdmdbg.dll") {
            importsVdmdbg = true;
            vdmdbgImports = dll.second;
        }
    }
    EXPECT_EQ(importsVdmdbg, !GetParam().vdmdbgImports.empty());
    EXPECT_EQ(vdmdbgImports, GetParam().vdmdbgImports);
}

std::wstring VersionString(const std::vector<BYTE>& info, const wchar_t* name)
{
    wchar_t* value = nullptr;
    UINT length = 0;
    std::wstring query = std::wstring(L"\\StringFileInfo\\041104b0\\") + name;
    if (!VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return L"<none>";
    return value;
}

TEST_P(DeliverableTest, VersionInformationNamesTarnwick211)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(Path().c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(Path().c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(11, 2));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(11, 2));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    EXPECT_EQ(VersionString(info, L"ProductName"), L"Tarnwick");
    EXPECT_EQ(VersionString(info, L"ProductVersion"), L"2.11");
    EXPECT_EQ(VersionString(info, L"FileVersion"), L"2.11");
    EXPECT_EQ(VersionString(info, L"OriginalFilename"), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Builds, DeliverableTest,
                         ::testing::Values(Deliverable{L"TWK.exe",
                                                       IMAGE_FILE_MACHINE_I386,
                                                       {"VDMEnumTaskWOWEx", "VDMTerminateTaskWOW"}},
                                           Deliverable{L"TWK64.exe", IMAGE_FILE_MACHINE_AMD64, {}}),
                         [](const ::testing::TestParamInfo<Deliverable>& info) {
                             return info.param.machine == IMAGE_FILE_MACHINE_I386 ? "TWK" : "TWK64";
                         });

} // namespace
