#include "GameDriver.h"

#include <png.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "GamePacks.h"
#include "UiPacks.h"

namespace gameplay {

namespace {

int counter = 0;

// "x,y,w,h" as a rectangle.
Rect rectOf(const std::string& text) {
  Rect r;
  char comma;
  std::istringstream in(text);
  in >> r.x >> comma >> r.y >> comma >> r.w >> comma >> r.h;
  return r;
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  if (text.empty() || text == "-") return parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  return parts;
}

std::filesystem::path recordPath(const std::filesystem::path& folder, int32_t store) {
  return folder / "database" / ("store-" + std::to_string(store)) / "record-1.bin";
}

}  // namespace

std::string Probe::text(const std::string& key) const {
  const auto it = fields.find(key);
  return it == fields.end() ? std::string() : it->second;
}

int64_t Probe::number(const std::string& key) const {
  const auto it = fields.find(key);
  if (it == fields.end()) return -1000;
  try {
    return std::stoll(it->second);
  } catch (...) {
    return -1000;
  }
}

std::vector<std::pair<int32_t, Rect>> Probe::items() const {
  std::vector<std::pair<int32_t, Rect>> out;
  for (const std::string& item : split(text("items"), ';')) {
    const size_t at = item.find('@');
    if (at == std::string::npos) continue;
    out.emplace_back(std::stoi(item.substr(0, at)), rectOf(item.substr(at + 1)));
  }
  return out;
}

std::vector<int32_t> Probe::itemIds() const {
  std::vector<int32_t> ids;
  for (const auto& item : items()) ids.push_back(item.first);
  return ids;
}

Rect Probe::textArea() const { return rectOf(text("text")); }

std::vector<Rect> Probe::boxes() const {
  std::vector<Rect> out;
  for (const std::string& box : split(text("boxes"), ';')) out.push_back(rectOf(box));
  return out;
}

Rect Probe::region(PlayRegion which) const {
  const std::vector<std::string> regions = split(text("regions"), ';');
  const size_t i = static_cast<size_t>(which);
  return i < regions.size() ? rectOf(regions[i]) : Rect{};
}

PlayObject Probe::object(const std::string& key) const {
  PlayObject o;
  const std::vector<std::string> parts = split(text(key), ',');
  if (parts.size() != 6) return o;
  o.present = true;
  o.state = std::stoi(parts[0]);
  o.lives = std::stoi(parts[1]);
  o.x = std::stoi(parts[2]);
  o.y = std::stoi(parts[3]);
  o.dead = parts[4] == "1";
  o.hurt = parts[5] == "1";
  return o;
}

std::vector<int32_t> Probe::awards() const {
  std::vector<int32_t> out;
  for (const std::string& code : split(text("awards"), ',')) out.push_back(std::stoi(code));
  return out;
}

Bytes everythingUnlocked() {
  Bytes b(110);
  for (int32_t i = 0; i < 5; ++i) b[i] = 1;
  for (int32_t group = 0; group < 5; ++group) {
    for (int32_t stage = 0; stage < 5; ++stage) b[5 + 10 * group + stage] = 1;
  }
  return b;
}

std::string gameProperties() {
  return "MIDlet-Name: gameplay-" + std::to_string(getpid()) + "-" + std::to_string(++counter) +
         "\nMIDlet-1: Quorrin, /icon.png, main.CommonMIDlet\n";
}

std::filesystem::path builtRsc() { return std::filesystem::path(JME_BINARY_DIR) / "rsc"; }

bool builtRscHasInterfacePacks() {
  for (const char* pack : {"RP1.rp", "RP3.rp", "RP4.rp"}) {
    std::error_code error;
    if (!std::filesystem::exists(builtRsc() / pack, error)) return false;
  }
  return true;
}

const char* contentName(Content content) {
  return content == Content::kFixturePacks ? "FixturePacks" : "BuiltRsc";
}

void PrintTo(Content content, std::ostream* out) { *out << contentName(content); }

std::string cannotPlay(Content content) {
  if (content == Content::kBuiltRsc && !builtRscHasInterfacePacks()) {
    return "the built rsc/ has no interface packs yet (RP1, RP3, RP4): the game ends at its first paint";
  }
  return {};
}

GameDriver::GameDriver() : app_(std::string(JME_BINARY_DIR) + "/jme_game_app", gameProperties()) {}

void GameDriver::useFixturePacks() {
  gametest::writeGamePacks(folder() / "rsc");
  gametest::writeUiPacks(folder() / "rsc");
}

void GameDriver::useBuiltRsc() {
  std::error_code error;
  std::filesystem::remove_all(folder() / "rsc", error);
  std::filesystem::create_directory_symlink(builtRsc(), folder() / "rsc");
}

void GameDriver::use(Content content) {
  if (content == Content::kFixturePacks) {
    useFixturePacks();
  } else {
    useBuiltRsc();
  }
}

void GameDriver::seedRecord(int32_t store, const Bytes& bytes) {
  const std::filesystem::path path = recordPath(folder(), store);
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

Bytes GameDriver::record(int32_t store) const {
  std::ifstream in(recordPath(folder(), store), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool GameDriver::start() {
  app_.start();
  for (;;) {
    const std::string line = app_.readLine(30000);
    if (line == "ready") return true;
    if (line == "<eof>" || line == "<timeout>") return false;
  }
}

std::string GameDriver::send(const std::string& command) {
  app_.send(command);
  // Lines the game itself prints (stack traces) come before the answer.
  for (;;) {
    const std::string line = app_.readLine(60000);
    if (line == "ok" || line.rfind("error", 0) == 0 || line.rfind("probe ", 0) == 0 || line == "<eof>" ||
        line == "<timeout>") {
      return line;
    }
  }
}

bool GameDriver::tap(int32_t x, int32_t y) { return send("tap " + std::to_string(x) + " " + std::to_string(y)) == "ok"; }

bool GameDriver::tapItem(int32_t id) {
  for (const auto& [itemId, rect] : probe().items()) {
    if (itemId == id) return tap(rect) && step(2);
  }
  return false;
}

bool GameDriver::tapBox(size_t index) {
  const std::vector<Rect> boxes = probe().boxes();
  return index < boxes.size() && tap(boxes[index]) && step(2);
}

Probe GameDriver::probe() {
  Probe p;
  const std::string line = send("probe");
  if (line.rfind("probe ", 0) != 0) return p;
  std::istringstream in(line.substr(6));
  std::string field;
  while (in >> field) {
    const size_t eq = field.find('=');
    if (eq != std::string::npos) p.fields[field.substr(0, eq)] = field.substr(eq + 1);
  }
  return p;
}

bool GameDriver::stepUntilPage(int32_t page, int32_t frames) {
  for (int32_t done = 0; done <= frames; done += 5) {
    const Probe p = probe();
    if (p.page() == page && !p.loading()) return true;
    if (!step(5)) return false;
  }
  return false;
}

bool GameDriver::stepUntilScene(int32_t scene, int32_t frames) {
  for (int32_t done = 0; done <= frames; done += 5) {
    const Probe p = probe();
    if (p.scene() == scene && p.number("hasScene") == 1 && !p.loading()) return true;
    if (!step(5)) return false;
  }
  return false;
}

bool GameDriver::stepUntilPlayState(int32_t state, int32_t frames) {
  for (int32_t done = 0; done <= frames; ++done) {
    if (probe().playState() == state) return true;
    if (!step(1)) return false;
  }
  return false;
}

bool GameDriver::toMainMenu() {
  return stepUntilPage(11) && tapItem(50) && stepUntilPage(10) && tapItem(38) && stepUntilPage(2);
}

bool GameDriver::playLevel(int32_t tier, int32_t group, int32_t stage) {
  if (!tapItem(11) || !stepUntilPage(3) || !tapItem(20 + tier) || !stepUntilPage(4) || !tapItem(25 + group) ||
      !stepUntilPage(5)) {
    return false;
  }
  const std::vector<Rect> boxes = probe().boxes();
  if (stage < 0 || static_cast<size_t>(stage) >= boxes.size() || !tap(boxes[static_cast<size_t>(stage)])) return false;
  return stepUntilPlayState(1);
}

bool GameDriver::tap(PlayRegion region) { return tap(probe().region(region)); }

bool GameDriver::finishTally(std::vector<int32_t>* shown, int32_t frames) {
  // The tally's sub-step that shows an award until a tap.
  constexpr int64_t kAwardShown = 30;
  for (int32_t done = 0; done <= frames; ++done) {
    const Probe p = probe();
    if (p.playState() == 2 && p.menuShown()) return true;
    if (p.playState() == 4 && p.subStep() == kAwardShown) {
      const std::vector<int32_t> awards = p.awards();
      if (shown && !awards.empty() && awards[0] >= 1 && static_cast<size_t>(awards[0]) < awards.size()) {
        shown->push_back(awards[static_cast<size_t>(awards[0])]);
      }
      // The game's pointer takes the press at the end of the tap's frame
      // and the release at the end of the next one; the frame after that
      // sees the tap.
      if (!tap(120, 160) || !step(2)) return false;
      continue;
    }
    if (!step(1)) return false;
  }
  return false;
}

std::vector<uint16_t> GameDriver::frame(int32_t* width, int32_t* height) {
  const std::filesystem::path path = folder() / ("frame-" + std::to_string(++frames_) + ".png");
  if (send("frame " + path.string()) != "ok") return {};
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return {};
  std::vector<uint16_t> pixels(static_cast<size_t>(image.width) * image.height);
  for (size_t i = 0; i < pixels.size(); ++i) {
    pixels[i] = static_cast<uint16_t>(((rgb[3 * i] >> 3) << 11) | ((rgb[3 * i + 1] >> 2) << 5) | (rgb[3 * i + 2] >> 3));
  }
  if (width) *width = static_cast<int32_t>(image.width);
  if (height) *height = static_cast<int32_t>(image.height);
  return pixels;
}

bool GameDriver::close() { return send("close") == "ok"; }

}  // namespace gameplay
