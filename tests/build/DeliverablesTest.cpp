// The two deliverables as built: TWK.exe (32-bit, never run here) and
// TWK64.exe, each a GUI program carrying the manifest, the icon and the
// version information in Japanese, importing system DLLs only (the build
// checks that too, and fails otherwise), and the VDM debugging library's two
// task functions in TWK.exe alone. The import tables are read from the files.
#include "tests/support/ProgramRunner.h"
#include "tests/support/ResultWindow.h"
#include "tests/support/StoredText.h"
#include "tests/support/TargetProgram.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/WindowDriver.h"

// The version as CMake writes it, and the result window's control ids.
#include "res/ProductInfo.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <ctype.h>
#include <fstream>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

using namespace twk_test;

namespace {

// The folder of the deliverables under test, with a trailing backslash: the
// folder of this program, where the build puts them, or, with
// TWK_DELIVERABLE_DIR set, that folder relative to it (the release checks
// set it to the copies unpacked from the zip).
std::wstring DeliverableFolder()
{
    wchar_t folder[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableW(L"TWK_DELIVERABLE_DIR", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return BinPath(L"");
    return BinPath(folder) + L"\\";
}

std::wstring DeliverablePath(const wchar_t* name)
{
    return DeliverableFolder() + name;
}

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
    std::wstring Path() const { return DeliverablePath(GetParam().name); }
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

// A PE file read into memory: its headers, and its import directory read
// through the section headers. FileHeader() is null when the bytes are not
// a PE file.
class PeImage {
public:
    explicit PeImage(const std::vector<char>& bytes)
        : bytes(bytes), header(nullptr), sections(nullptr), wide(false), directories(nullptr), subsystem(0)
    {
        const IMAGE_DOS_HEADER* dos = At<IMAGE_DOS_HEADER>(0);
        if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew <= 0)
            return;
        const DWORD* signature = At<DWORD>(static_cast<size_t>(dos->e_lfanew));
        if (!signature || *signature != IMAGE_NT_SIGNATURE)
            return;
        size_t optional = static_cast<size_t>(dos->e_lfanew) + 4 + sizeof(IMAGE_FILE_HEADER);
        const IMAGE_FILE_HEADER* file = At<IMAGE_FILE_HEADER>(static_cast<size_t>(dos->e_lfanew) + 4);
        const WORD* magic = At<WORD>(optional);
        if (!file || !magic)
            return;
        wide = *magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
        if (wide && At<IMAGE_OPTIONAL_HEADER64>(optional)) {
            subsystem = At<IMAGE_OPTIONAL_HEADER64>(optional)->Subsystem;
            directories = At<IMAGE_OPTIONAL_HEADER64>(optional)->DataDirectory;
        } else if (!wide && At<IMAGE_OPTIONAL_HEADER32>(optional)) {
            subsystem = At<IMAGE_OPTIONAL_HEADER32>(optional)->Subsystem;
            directories = At<IMAGE_OPTIONAL_HEADER32>(optional)->DataDirectory;
        } else {
            return;
        }
        sections = At<IMAGE_SECTION_HEADER>(optional + file->SizeOfOptionalHeader);
        header = file;
    }

    const IMAGE_FILE_HEADER* FileHeader() const { return header; }
    WORD Subsystem() const { return subsystem; }
    const IMAGE_DATA_DIRECTORY& Directory(int entry) const { return directories[entry]; }

    // The functions imported by name, per DLL. False when the file is not a
    // PE image or a part lies outside the file.
    bool ReadImports(ImportTable& imports)
    {
        if (!header)
            return false;
        for (DWORD rva = Directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress;;
             rva += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
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
    bool wide;
    const IMAGE_DATA_DIRECTORY* directories;
    WORD subsystem;
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
    PeImage pe(bytes);
    ASSERT_NE(pe.FileHeader(), nullptr) << "missing or no PE file: " << testing::PrintToString(Path());
    EXPECT_EQ(pe.FileHeader()->Machine, GetParam().machine);
    EXPECT_EQ(pe.Subsystem(), IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

// What would make two builds of one commit differ, or give the build machine
// away: a link time stamp (in the file header or a debug directory), a symbol
// table, debug information.
TEST_P(DeliverableTest, IsStrippedAndCarriesNoTimeStamp)
{
    std::vector<char> bytes = ReadFileBytes(Path());
    PeImage pe(bytes);
    ASSERT_NE(pe.FileHeader(), nullptr) << "missing or no PE file: " << testing::PrintToString(Path());
    EXPECT_EQ(pe.FileHeader()->TimeDateStamp, 0u);
    EXPECT_EQ(pe.FileHeader()->PointerToSymbolTable, 0u);
    EXPECT_EQ(pe.FileHeader()->NumberOfSymbols, 0u);
    EXPECT_TRUE(pe.FileHeader()->Characteristics & IMAGE_FILE_DEBUG_STRIPPED);
    EXPECT_EQ(pe.Directory(IMAGE_DIRECTORY_ENTRY_DEBUG).Size, 0u);
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

// At start the exes import what the command-line mode needs: the DLLs of
// its window and of the process list (and, in TWK.exe, the VDM debugging
// library for 16-bit tasks). shell32, comctl32, ole32 and oleaut32 are
// loaded when first called (the build's delay imports): imported at start,
// they would delay the first window.
TEST_P(DeliverableTest, ImportsAtStartOnlyWhatTheCommandLineModeNeeds)
{
    std::vector<char> bytes = ReadFileBytes(Path());
    ImportTable imports;
    ASSERT_TRUE(PeImage(bytes).ReadImports(imports));
    std::set<std::string> allowed = {"ADVAPI32.DLL", "GDI32.DLL", "KERNEL32.DLL", "MSVCRT.DLL", "USER32.DLL"};
    if (GetParam().machine == IMAGE_FILE_MACHINE_I386)
        allowed.insert("VDMDBG.DLL");
    EXPECT_GE(imports.size(), 4u);
    for (const auto& dll : imports) {
        std::string name = dll.first;
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

// The version resource says what res/ProductInfo.h says, which CMake writes from
// the project version.
TEST_P(DeliverableTest, VersionInformationCarriesTheProjectVersion)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(Path().c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(Path().c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(TWK_VERSION_MINOR, TWK_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwProductVersionMS, static_cast<DWORD>(MAKELONG(TWK_VERSION_MINOR, TWK_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    const std::wstring version = L"" TWK_VERSION_TEXT;
    EXPECT_EQ(VersionString(info, L"ProductName"), L"Tarnwick");
    EXPECT_EQ(VersionString(info, L"ProductVersion"), version);
    EXPECT_EQ(VersionString(info, L"FileVersion"), version);
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

// The main job, by the deliverable itself: TWK64.exe, started from its own
// folder, ends a running program by the path of its executable.
TEST(Deliverable, Twk64EndsARunningProgramByItsPath)
{
    TempDirectory directory(L"twk-deliverable");
    ASSERT_TRUE(directory.Created());
    std::wstring path = directory / L"sample\\twk_target.exe";
    ASSERT_TRUE(CopyFileCreatingDirectories(TargetProgramPath(), path));
    std::unique_ptr<RunningProgram> target = StartTarget(path, L"close");
    ASSERT_TRUE(target);

    RunningProgram twk(DeliverablePath(L"TWK64.exe"), path);
    ASSERT_TRUE(twk.Started()) << testing::PrintToString(DeliverablePath(L"TWK64.exe"));
    HWND result = WaitForResultWindow(twk.Id(), 15000);
    ASSERT_NE(result, nullptr);
    std::wstring line1 = StoredControlText(result, IDC_PROGRESS_TARGET);
    const std::wstring fileName = L"\\twk_target.exe";
    ASSERT_GE(line1.size(), fileName.size());
    EXPECT_EQ(line1.substr(line1.size() - fileName.size()), fileName) << "the target, fitted to the line";
    EXPECT_EQ(StoredControlText(result, IDC_PROGRESS_STATUS), L"のプロセス終了はほぼ正常に行われました");
    EXPECT_TRUE(target->WaitExit(2000));
    EXPECT_EQ(target->ExitCode(), 0u) << "it closed itself when asked";

    PressButton(result, IDC_PROGRESS_DISMISS);
    ASSERT_TRUE(twk.WaitExit(5000));
    EXPECT_EQ(twk.ExitCode(), 0u);
}

} // namespace
