#include "tests/support/RegistryOverride.h"

namespace twk_test {

RegistryOverride::RegistryOverride(HKEY root, const std::wstring& subKey, const std::wstring& name,
                                   const std::wstring& text)
    : root(root), subKey(subKey), name(name), hadValue(false), oldType(0), applied(false)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    DWORD size = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &oldType, nullptr, &size) == ERROR_SUCCESS) {
        oldData.resize(size);
        hadValue =
            RegQueryValueExW(key, name.c_str(), nullptr, &oldType, oldData.data(), &size) == ERROR_SUCCESS;
    }
    applied = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    RegCloseKey(key);
}

RegistryOverride::~RegistryOverride()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    if (hadValue)
        RegSetValueExW(key, name.c_str(), 0, oldType, oldData.data(), static_cast<DWORD>(oldData.size()));
    else
        RegDeleteValueW(key, name.c_str());
    RegCloseKey(key);
}

} // namespace twk_test
