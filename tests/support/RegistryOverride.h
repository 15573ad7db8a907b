// Sets one registry value for the life of the object and then puts back what
// was there before (the old value, or no value).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace twk_test {

class RegistryOverride {
public:
    RegistryOverride(HKEY root, const std::wstring& subKey, const std::wstring& name,
                     const std::wstring& text);
    ~RegistryOverride();
    RegistryOverride(const RegistryOverride&) = delete;
    RegistryOverride& operator=(const RegistryOverride&) = delete;

    bool Applied() const { return applied; }

private:
    HKEY root;
    std::wstring subKey;
    std::wstring name;
    bool hadValue;
    DWORD oldType;
    std::vector<BYTE> oldData;
    bool applied;
};

} // namespace twk_test
