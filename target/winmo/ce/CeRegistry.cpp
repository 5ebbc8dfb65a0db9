#include "CeRegistry.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "CeWindowManager.h"
#include "DeviceProfile.h"

using namespace ce;

namespace {

struct Value {
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
};

struct Notification {
  std::u16string key;
  std::u16string name;
  HWND window;
  UINT message;
  DWORD id;
};

struct State {
  std::mutex mutex;
  // Keys by their folded full path ("80000002\ident"); values by folded name.
  std::map<std::u16string, std::map<std::u16string, Value>> keys;
  std::map<HKEY, std::u16string> handles;
  HKEY nextHandle = 0x100;
  std::vector<std::unique_ptr<Notification>> notifications;
  // The values that came from the profile, and the profile's generation
  // they came from (0: not seeded yet).
  std::vector<std::pair<std::u16string, std::u16string>> seeded;
  uint64_t seedGeneration = 0;
};

State& state() {
  static State* s = new State();
  return *s;
}

std::u16string fold(const std::u16string& text) {
  std::u16string out = text;
  for (char16_t& c : out) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return out;
}

bool isRoot(HKEY key) { return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE; }

// The folded full path of `sub` below `base` (a root or an open key);
// false for an unknown base or a malformed path (empty parts).
bool fullPath(HKEY base, const char16_t* sub, std::u16string& out) {
  State& s = state();
  if (isRoot(base)) {
    out = fold(std::u16string(base == HKEY_CLASSES_ROOT ? u"hkcr" : base == HKEY_CURRENT_USER ? u"hkcu" : u"hklm"));
  } else {
    const auto found = s.handles.find(base);
    if (found == s.handles.end()) return false;
    out = found->second;
  }
  const std::u16string path = sub ? fold(sub) : std::u16string();
  size_t start = 0;
  while (start < path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == std::u16string::npos) end = path.size();
    if (end == start) return false;
    out += u'\\';
    out += path.substr(start, end - start);
    start = end + 1;
  }
  return path.empty() || path.back() != u'\\';
}

// Stores a value (the lock held) and posts the notifications of a change.
void store(const std::u16string& key, const std::u16string& name, const Value* value) {
  State& s = state();
  auto& values = s.keys[key];
  const auto found = values.find(name);
  const bool existed = found != values.end();
  if (value && existed && found->second.type == value->type && found->second.bytes == value->bytes) return;
  if (!value && !existed) return;
  if (value) {
    values[name] = *value;
  } else {
    values.erase(found);
  }
  DWORD number = 0;
  if (value && value->type == REG_DWORD && value->bytes.size() == sizeof number) {
    std::memcpy(&number, value->bytes.data(), sizeof number);
  }
  for (const auto& n : s.notifications) {
    if (n->key == key && n->name == name) PostMessageW(n->window, n->message, number, static_cast<LPARAM>(n->id));
  }
}

Value dwordValue(DWORD number) {
  Value value{REG_DWORD, std::vector<BYTE>(sizeof number)};
  std::memcpy(value.bytes.data(), &number, sizeof number);
  return value;
}

Value textValue(const std::u16string& text) {
  Value value{REG_SZ, std::vector<BYTE>((text.size() + 1) * sizeof(char16_t))};
  std::memcpy(value.bytes.data(), text.c_str(), value.bytes.size());
  return value;
}

// Writes the profile's values again when the profile changed since the
// last seeding (the lock held). Seeding notifies nobody.
void seed() {
  State& s = state();
  const uint64_t generation = DeviceProfile::instance().factsGeneration();
  if (s.seedGeneration == generation) return;
  for (const auto& [key, name] : s.seeded) s.keys[key].erase(name);
  s.seeded.clear();
  const DeviceProfile::Facts facts = DeviceProfile::instance().facts();
  const auto put = [&](const std::u16string& key, const std::u16string& name, const Value& value) {
    s.keys[key][name] = value;
    s.seeded.emplace_back(key, name);
  };
  put(u"hklm\\ident", u"name", textValue(facts.deviceName));
  static const char* const kPowerNames[] = {"BattPowerOff", "ExtPowerOff", "ScreenPowerOff"};
  static const char* const kTimeoutNames[] = {"BattSuspendTimeout", "ACSuspendTimeout"};
  const std::u16string power = u"hklm\\system\\currentcontrolset\\control\\power";
  s.keys[power];
  s.keys[power + u"\\timeouts"];
  for (const auto& [name, seconds] : facts.powerTimeouts) {
    const std::u16string wide = fold(std::u16string(name.begin(), name.end()));
    for (const char* known : kPowerNames) {
      if (name == known) put(power, wide, dwordValue(seconds));
    }
    for (const char* known : kTimeoutNames) {
      if (name == known) put(power + u"\\timeouts", wide, dwordValue(seconds));
    }
  }
  if (!s.keys[u"hklm\\system\\state\\phone"].count(u"status")) {
    put(u"hklm\\system\\state\\phone", u"status", dwordValue(0));
  }
  if (!s.keys[u"hkcu\\system\\state\\messages\\sms\\unread"].count(u"count")) {
    put(u"hkcu\\system\\state\\messages\\sms\\unread", u"count", dwordValue(0));
  }
  s.seedGeneration = generation;
}

long open(HKEY root, const char16_t* subKey, HKEY* out, bool create, DWORD* disposition) {
  if (!out) return ERROR_INVALID_PARAMETER;
  std::lock_guard<std::mutex> lock(state().mutex);
  State& s = state();
  seed();
  std::u16string path;
  if (!fullPath(root, subKey, path)) return isRoot(root) || s.handles.count(root) ? ERROR_INVALID_PARAMETER
                                                                                  : ERROR_INVALID_HANDLE;
  const bool exists = s.keys.count(path) != 0;
  if (!exists && !create) return ERROR_FILE_NOT_FOUND;
  if (!exists) {
    // The keys above it are made too.
    for (size_t cut = path.find(u'\\'); cut != std::u16string::npos; cut = path.find(u'\\', cut + 1)) {
      s.keys[path.substr(0, cut)];
    }
    s.keys[path];
  }
  if (disposition) *disposition = exists ? 2 : 1;
  *out = s.nextHandle++;
  s.handles[*out] = path;
  return ERROR_SUCCESS;
}

}  // namespace

namespace ce {

long RegOpenKeyExW(HKEY root, const char16_t* subKey, DWORD, DWORD, HKEY* out) {
  return open(root, subKey, out, false, nullptr);
}

long RegCreateKeyExW(HKEY root, const char16_t* subKey, DWORD, char16_t*, DWORD, DWORD, void*, HKEY* out,
                     DWORD* disposition) {
  return open(root, subKey, out, true, disposition);
}

long RegCloseKey(HKEY key) {
  std::lock_guard<std::mutex> lock(state().mutex);
  return state().handles.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

long RegQueryValueExW(HKEY key, const char16_t* name, DWORD*, DWORD* type, BYTE* data, DWORD* size) {
  std::lock_guard<std::mutex> lock(state().mutex);
  State& s = state();
  seed();
  std::u16string path;
  if (!fullPath(key, nullptr, path)) return ERROR_INVALID_HANDLE;
  if (data && !size) return ERROR_INVALID_PARAMETER;
  const auto values = s.keys.find(path);
  if (values == s.keys.end()) return ERROR_FILE_NOT_FOUND;
  const auto found = values->second.find(fold(name ? name : u""));
  if (found == values->second.end()) return ERROR_FILE_NOT_FOUND;
  const Value& value = found->second;
  if (type) *type = value.type;
  if (!size) return ERROR_SUCCESS;
  const auto needed = static_cast<DWORD>(value.bytes.size());
  if (data && *size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  if (data && needed) std::memcpy(data, value.bytes.data(), needed);
  *size = needed;
  return ERROR_SUCCESS;
}

long RegSetValueExW(HKEY key, const char16_t* name, DWORD, DWORD type, const BYTE* data, DWORD size) {
  if (size && !data) return ERROR_INVALID_PARAMETER;
  if (type == REG_DWORD && size != sizeof(DWORD)) return ERROR_INVALID_PARAMETER;
  std::lock_guard<std::mutex> lock(state().mutex);
  seed();
  std::u16string path;
  if (!fullPath(key, nullptr, path) || isRoot(key)) return ERROR_INVALID_HANDLE;
  Value value{type, std::vector<BYTE>(data, data + size)};
  store(path, fold(name ? name : u""), &value);
  return ERROR_SUCCESS;
}

long RegDeleteValueW(HKEY key, const char16_t* name) {
  std::lock_guard<std::mutex> lock(state().mutex);
  State& s = state();
  seed();
  std::u16string path;
  if (!fullPath(key, nullptr, path) || isRoot(key)) return ERROR_INVALID_HANDLE;
  const std::u16string folded = fold(name ? name : u"");
  const auto values = s.keys.find(path);
  if (values == s.keys.end() || !values->second.count(folded)) return ERROR_FILE_NOT_FOUND;
  store(path, folded, nullptr);
  return ERROR_SUCCESS;
}

long RegistryNotifyWindow(HKEY root, const char16_t* path, const char16_t* value, HWND window, UINT message,
                          DWORD id, void* condition, HREGNOTIFY* out) {
  if (out) *out = nullptr;
  if (!out || !window || condition || !isRoot(root) || !IsWindow(window)) return ERROR_INVALID_PARAMETER;
  std::lock_guard<std::mutex> lock(state().mutex);
  std::u16string key;
  if (!fullPath(root, path, key)) return ERROR_INVALID_PARAMETER;
  auto notification = std::make_unique<Notification>(Notification{key, fold(value ? value : u""), window, message, id});
  *out = notification.get();
  state().notifications.push_back(std::move(notification));
  return ERROR_SUCCESS;
}

long RegistryCloseNotification(HREGNOTIFY handle) {
  std::lock_guard<std::mutex> lock(state().mutex);
  const size_t removed = std::erase_if(state().notifications, [handle](const auto& n) { return n.get() == handle; });
  return removed ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

}  // namespace ce

bool CeRegistry::setDword(HKEY root, const std::u16string& path, const std::u16string& name, DWORD number) {
  HKEY key = 0;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, 0, nullptr, &key, nullptr) != ERROR_SUCCESS) return false;
  const long result = RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                                     sizeof number);
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

size_t CeRegistry::openNotifications() {
  std::lock_guard<std::mutex> lock(state().mutex);
  return state().notifications.size();
}

void CeRegistry::reset() {
  std::lock_guard<std::mutex> lock(state().mutex);
  State& s = state();
  s.keys.clear();
  s.handles.clear();
  s.notifications.clear();
  s.seeded.clear();
  s.seedGeneration = 0;
}
