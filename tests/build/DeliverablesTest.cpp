// The two deliverables as built: TWK.exe (32-bit, never run here) and
// TWK64.exe, each a GUI program carrying the manifest, the icon and the
// version information in Japanese. (That each imports system DLLs only is
// checked by the build itself, which fails otherwise.)
#include "tests/support/ProgramRunner.h"

#include <gtest/gtest.h>

#include <ctype.h>
#include <fstream>
#include <ostream>
#include <set>
#include <string>
#include <vector>

using twk_test::BinPath;

namespace {

struct Deliverable {
    const wchar_t* name;
    WORD machine;
};

// Test discovery names each case after its parameter; printed as bytes, the
// structure's padding would give a name that changes from run to run.
void PrintTo(const Deliverable& deliverable, std::ostream* out)
{
    for (const wchar_t* c = deliverable.name; *c; ++c)
        *out << static_cast<char>(*c);
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

// The names of the DLLs in the exe's import directory: those the loader
// loads before the program starts.
std::vector<std::string> ImportedAtStart(const std::vector<char>& bytes)
{
    std::vector<std::string> names;
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    const char* nt = bytes.data() + dos->e_lfanew;
    const IMAGE_FILE_HEADER* header = reinterpret_cast<const IMAGE_FILE_HEADER*>(nt + 4);
    const char* optional = nt + 4 + sizeof(IMAGE_FILE_HEADER);
    IMAGE_DATA_DIRECTORY imports = header->Machine == IMAGE_FILE_MACHINE_I386
                                       ? reinterpret_cast<const IMAGE_OPTIONAL_HEADER32*>(optional)
                                             ->DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT]
                                       : reinterpret_cast<const IMAGE_OPTIONAL_HEADER64*>(optional)
                                             ->DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const IMAGE_SECTION_HEADER* sections =
        reinterpret_cast<const IMAGE_SECTION_HEADER*>(optional + header->SizeOfOptionalHeader);
    // A relative virtual address as an offset into the file.
    auto offset = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < header->NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& section = sections[i];
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData)
                return rva - section.VirtualAddress + section.PointerToRawData;
        }
        return 0;
    };
    size_t at = offset(imports.VirtualAddress);
    for (; at != 0 && at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= bytes.size();
         at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const IMAGE_IMPORT_DESCRIPTOR* descriptor =
            reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(&bytes[at]);
        if (descriptor->Name == 0)
            break;
        names.push_back(&bytes[offset(descriptor->Name)]);
    }
    return names;
}

// At start the exes import what the command-line mode needs: the DLLs of
// its window and of the process list (and, in TWK.exe, the VDM debugging
// library for 16-bit tasks). shell32, comctl32, ole32 and oleaut32 are
// loaded when first called (the build's delay imports): imported at start,
// they would delay the first window.
TEST_P(DeliverableTest, ImportsAtStartOnlyWhatTheCommandLineModeNeeds)
{
    std::vector<char> bytes = ReadFileBytes(Path());
    ASSERT_GT(bytes.size(), 1024u);
    std::set<std::string> allowed = {"ADVAPI32.DLL", "GDI32.DLL", "KERNEL32.DLL", "MSVCRT.DLL", "USER32.DLL"};
    if (GetParam().machine == IMAGE_FILE_MACHINE_I386)
        allowed.insert("VDMDBG.DLL");
    std::vector<std::string> imported = ImportedAtStart(bytes);
    EXPECT_GE(imported.size(), 4u);
    for (std::string name : imported) {
        for (char& c : name)
            c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        EXPECT_TRUE(allowed.count(name)) << name << " is loaded at start";
    }
}

// Each exe stays within 100 KB. The usual way past it is a library function
// that can throw (the throwing operator new, std::vector growth, ...): it
// links the exception runtime, the unwinder and the name demangler into the
// exe, about 100 KB, though the program throws nothing itself.
TEST_P(DeliverableTest, StaysWithin100KB)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExW(Path().c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_LE(data.nFileSizeLow, 100u * 1024u);
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
                         ::testing::Values(Deliverable{L"TWK.exe", IMAGE_FILE_MACHINE_I386},
                                           Deliverable{L"TWK64.exe", IMAGE_FILE_MACHINE_AMD64}),
                         [](const ::testing::TestParamInfo<Deliverable>& info) {
                             return info.param.machine == IMAGE_FILE_MACHINE_I386 ? "TWK" : "TWK64";
                         });

} // namespace
