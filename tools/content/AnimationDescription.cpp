#include "Descriptions.h"

namespace content {

namespace {

constexpr long long kIntMin = -2147483647LL - 1, kIntMax = 2147483647LL;

int num(const DescriptionFile& file, const DescriptionFile::Line& line, size_t i, const char* what) {
  return static_cast<int>(file.number(line, i, kIntMin, kIntMax, what));
}

}  // namespace

AnimationSet readAnimationDescription(const DescriptionFile& file) {
  AnimationSet set;
  for (const DescriptionFile::Line& line : file.lines()) {
    const std::string& k = line.keyword;
    if (k == "durations") {
      file.requireOptions(line, {});
      for (size_t i = 0; i < line.words.size(); ++i) set.durations.push_back(num(file, line, i, "duration"));
    } else if (k == "frame") {
      file.requireWords(line, 0);
      file.requireOptions(line, {});
      set.frames.emplace_back();
    } else if (k == "part" || k == "box") {
      if (set.frames.empty()) file.fail(line, k + " comes before any frame");
      file.requireOptions(line, {});
      AnimationFrame& frame = set.frames.back();
      if (k == "part") {
        file.requireWords(line, 3, 4);
        frame.parts.push_back({num(file, line, 0, "sprite"), num(file, line, 1, "dx"), num(file, line, 2, "dy"),
                               line.words.size() > 3 ? num(file, line, 3, "transform") : 0});
      } else {
        file.requireWords(line, 5, 6);
        FrameBox box{num(file, line, 0, "x"), num(file, line, 1, "y"), num(file, line, 2, "width"),
                     num(file, line, 3, "height"), false, num(file, line, 4, "type")};
        if (line.words.size() == 6) {
          if (line.words[5] != "circle") file.fail(line, "unknown word \"" + line.words[5] + "\"");
          box.circle = true;
        }
        frame.boxes.push_back(box);
      }
    } else if (k == "animation") {
      file.requireWords(line, 1);
      file.requireOptions(line, {});
      set.animations.push_back({num(file, line, 0, "loop count"), {}});
    } else if (k == "step") {
      if (set.animations.empty()) file.fail(line, "step comes before any animation");
      file.requireWords(line, 4);
      file.requireOptions(line, {"priority", "blend"});
      set.animations.back().steps.push_back(
          {num(file, line, 0, "frame"), num(file, line, 1, "dx"), num(file, line, 2, "dy"),
           num(file, line, 3, "duration index"), static_cast<int>(file.option(line, "priority", kIntMin, kIntMax, 0)),
           static_cast<int>(file.option(line, "blend", kIntMin, kIntMax, 0))});
    } else {
      file.fail(line, "unknown statement \"" + k + "\"");
    }
  }
  return set;
}

}  // namespace content
