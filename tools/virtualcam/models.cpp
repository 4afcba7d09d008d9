#include "tools/virtualcam/models.h"

#include <cstdio>
#include <cwchar>

#include <olectl.h>

namespace vcam {

const std::vector<Model>& AllModels() {
    static const std::vector<Model> models = {
        {0x62c0,
         L"62C0",
         {{1280, 1024}, {1280, 960}, {640, 480}},
         {},
         {1280, 1024},
         StillKind::Frame},
        {0x6340,
         L"6340",
         {{1600, 1200}, {1280, 960}, {800, 600}, {640, 480}},
         {},
         {1600, 1200},
         StillKind::Frame},
        {0x62c1,
         L"62C1",
         {{640, 480}, {352, 288}, {320, 240}, {176, 144}, {160, 120}},
         {},
         {640, 480},
         StillKind::Frame},
        {0x62e0, L"62E0", {{640, 480}, {320, 240}}, {}, {640, 480}, StillKind::Frame},
        {0x6710, L"6710", {{640, 480}, {320, 240}}, {}, {640, 480}, StillKind::Frame},
        {0x6353,
         L"6353",
         {{800, 600}, {640, 480}, {1280, 960}},
         {{1280, 960}, {800, 600}, {640, 480}},
         {1280, 1920},
         StillKind::RawSingle},
        {0x6320, L"6320", {{800, 600}, {640, 480}}, {}, {1744, 1308}, StillKind::RawHalves},
        {0x6355, L"6355", {{800, 600}, {640, 480}}, {}, {1744, 1308}, StillKind::RawHalves},
    };
    return models;
}

const Model* FindModel(uint16_t pid) {
    for (const Model& m : AllModels()) {
        if (m.pid == pid) return &m;
    }
    return nullptr;
}

namespace {
DWORD ReadDword(HKEY key, const wchar_t* name) {
    DWORD value = 0, size = sizeof(value), type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD) {
        return 0;
    }
    return value;
}

bool ParsePid(const wchar_t* text, uint16_t* pid) {
    wchar_t* end = nullptr;
    unsigned long v = std::wcstoul(text, &end, 16);
    if (end == text || *end != 0 || v > 0xFFFF || !FindModel(static_cast<uint16_t>(v)))
        return false;
    *pid = static_cast<uint16_t>(v);
    return true;
}
}  // namespace

Config ReadConfig() {
    Config config;
    HKEY key = nullptr;
    bool haveDevices = false;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kConfigKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        DWORD type = 0, size = 0;
        if (RegQueryValueExW(key, L"Devices", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
            type == REG_MULTI_SZ) {
            haveDevices = true;
            std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, 0);
            if (RegQueryValueExW(key, L"Devices", nullptr, &type,
                                 reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS) {
                for (const wchar_t* p = buffer.data(); *p && config.devices.size() < kMaxDevices;
                     p += std::wcslen(p) + 1) {
                    uint16_t pid = 0;
                    if (ParsePid(p, &pid)) config.devices.push_back(pid);
                }
            }
        }
        config.failOpen = ReadDword(key, L"FailOpen");
        config.failRender = ReadDword(key, L"FailRender");
        config.lost = ReadDword(key, L"Lost");
        RegCloseKey(key);
    }
    if (!haveDevices) config.devices.push_back(0x6320);
    return config;
}

DWORD ReadLostMask() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kConfigKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    DWORD value = ReadDword(key, L"Lost");
    RegCloseKey(key);
    return value;
}

bool ReadStillSceneTime(double* seconds) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kConfigKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD value = 0, size = sizeof(value), type = 0;
    const bool found = RegQueryValueExW(key, L"StillSceneTime", nullptr, &type,
                                        reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
                       type == REG_DWORD;
    RegCloseKey(key);
    if (found) *seconds = value / 1000.0;
    return found;
}

bool ReadFocusSweepMs(DWORD* milliseconds) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kConfigKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD value = 0, size = sizeof(value), type = 0;
    const bool found = RegQueryValueExW(key, L"FocusSweepMs", nullptr, &type,
                                        reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
                       type == REG_DWORD && value != 0;
    RegCloseKey(key);
    if (found) *milliseconds = value;
    return found;
}

bool TakeIgnoredTrigger() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kConfigKey, 0, KEY_READ | KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    DWORD left = ReadDword(key, L"StillIgnoreTriggers");
    const bool ignore = left > 0;
    if (ignore) {
        --left;
        RegSetValueExW(key, L"StillIgnoreTriggers", 0, REG_DWORD, reinterpret_cast<BYTE*>(&left),
                       sizeof left);
    }
    RegCloseKey(key);
    return ignore;
}

std::wstring InstanceName(uint16_t pid, int slot) {
    wchar_t text[80];
    std::swprintf(text, 80, L"usb#vid_0c45&pid_%04x&mi_00#orvane-virtual-%d", pid, slot);
    return text;
}

std::wstring FriendlyName(const Model& model, int slot) {
    wchar_t text[80];
    if (slot == 0) {
        std::swprintf(text, 80, L"Orvane Virtual Microscope %ls", model.name);
    } else {
        std::swprintf(text, 80, L"Orvane Virtual Microscope %ls #%d", model.name, slot + 1);
    }
    return text;
}

// {6F1C2A40-8D3B-4E57-9A61-0B7C5E3D2A0n}
CLSID SlotClsid(int slot) {
    CLSID id = {0x6F1C2A40, 0x8D3B, 0x4E57, {0x9A, 0x61, 0x0B, 0x7C, 0x5E, 0x3D, 0x2A, 0x00}};
    id.Data4[7] = static_cast<unsigned char>(slot);
    return id;
}

int SlotOf(REFCLSID clsid) {
    for (int slot = 0; slot < kMaxDevices; ++slot) {
        if (IsEqualCLSID(clsid, SlotClsid(slot))) return slot;
    }
    return -1;
}

HRESULT RemoveDeviceMonikers(int slot) {
    // HKCR\CLSID\{CLSID_VideoInputDeviceCategory}\Instance\<instance name>, with a CLSID value.
    const wchar_t path[] = L"CLSID\\{860BB310-5D01-11D0-BD3B-00A0C911CE86}\\Instance";
    HKEY instances = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path, 0, KEY_READ | KEY_WRITE, &instances) !=
        ERROR_SUCCESS)
        return S_OK;
    std::vector<std::wstring> doomed;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(instances, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        wchar_t text[64] = {};
        DWORD size = sizeof(text) - sizeof(wchar_t), type = 0;
        HKEY entry = nullptr;
        if (RegOpenKeyExW(instances, name, 0, KEY_READ, &entry) != ERROR_SUCCESS) continue;
        LONG rc =
            RegQueryValueExW(entry, L"CLSID", nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
        RegCloseKey(entry);
        CLSID clsid;
        if (rc != ERROR_SUCCESS || type != REG_SZ || FAILED(CLSIDFromString(text, &clsid)))
            continue;
        int owner = SlotOf(clsid);
        if (owner >= 0 && (slot < 0 || owner == slot)) doomed.push_back(name);
    }
    HRESULT hr = S_OK;
    for (const std::wstring& key : doomed) {
        if (RegDeleteTreeW(instances, key.c_str()) != ERROR_SUCCESS) hr = SELFREG_E_CLASS;
    }
    RegCloseKey(instances);
    return hr;
}

}  // namespace vcam
